#pragma once

#include "messages/MessageRecord.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace kvt::test {

// The bytes of a message file holding these (key, Windows-1252 text) records in order.
inline std::string
messageFile(std::initializer_list<std::pair<std::int32_t, std::string_view>> records) {
    std::string bytes;
    for (const auto &[key, text] : records)
        bytes += msgfile::makeRecord(key, text);
    return bytes;
}

struct MessageText {
    std::int32_t number;
    std::int32_t language;
    std::string_view text; // Windows-1252 bytes
};

// The bytes of a message file holding these texts, keyed by number and language.
inline std::string messageFileOf(std::initializer_list<MessageText> texts) {
    std::string bytes;
    for (const MessageText &t : texts)
        bytes += msgfile::makeRecord(t.number * 6 + t.language, t.text);
    return bytes;
}

inline void writeFile(const std::filesystem::path &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace kvt::test
