#include "messages/MessageRecord.h"

#include "model/Error.h"

#include <array>
#include <cassert>

namespace kvt::msgfile {

std::size_t recordCount(std::size_t fileLength) {
    return fileLength / kRecordSize + (fileLength % kRecordSize >= kMinPartialRecord ? 1 : 0);
}

RawRecord recordAt(std::string_view file, std::size_t index) {
    assert(index < recordCount(file.size()));
    const std::string_view record = file.substr(index * kRecordSize, kRecordSize);
    std::uint32_t bits = 0;
    for (std::size_t i = kKeySize; i-- > 0;)
        bits = (bits << 8) | static_cast<unsigned char>(record[i]);
    return {static_cast<std::int32_t>(bits), record.substr(kKeySize)};
}

namespace {

// The bytes a message text may hold, as a table: every start of the program checks the whole
// file, so the test is one load per byte.
constexpr std::array<bool, 256> kTextBytes = [] {
    std::array<bool, 256> text{};
    for (std::size_t byte = 0x20; byte < text.size(); ++byte)
        text[byte] = true;
    for (const std::size_t control : {0x7Fu, 0x81u, 0x8Du, 0x8Fu, 0x90u, 0x9Du})
        text[control] = false;
    return text;
}();

} // namespace

std::optional<std::string> fileProblem(std::string_view file) {
    if (file.size() < kRecordSize)
        return "it holds no whole record (" + std::to_string(file.size()) + " bytes; a record has "
               + std::to_string(kRecordSize) + ")";
    const std::size_t count = recordCount(file.size());
    for (std::size_t i = 0; i < count; ++i) {
        const RawRecord record = recordAt(file, i);
        bool allText = true;
        for (const char c : record.text)
            allText &= kTextBytes[static_cast<unsigned char>(c)];
        if (!allText)
            return "record " + std::to_string(i + 1) + " (key " + std::to_string(record.key)
                   + ") holds a byte that is not text";
    }
    return std::nullopt;
}

std::string makeRecord(std::int32_t key, std::string_view cp1252Text) {
    if (cp1252Text.size() > kTextSize)
        throw Error(err::InvalidArgument, "A message text of " + std::to_string(cp1252Text.size())
                                              + " bytes does not fit the "
                                              + std::to_string(kTextSize)
                                              + " bytes of a message record");
    std::string record;
    record.reserve(kRecordSize);
    auto bits = static_cast<std::uint32_t>(key);
    for (std::size_t i = 0; i < kKeySize; ++i, bits >>= 8)
        record.push_back(static_cast<char>(bits & 0xFFu));
    record.append(cp1252Text);
    record.resize(kRecordSize, ' ');
    return record;
}

} // namespace kvt::msgfile
