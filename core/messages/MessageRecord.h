#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The message file's layout: fixed 103-byte records, no header. Each record is a signed
// 32-bit little-endian key (message number * 6 + language) followed by 99 bytes of
// Windows-1252 text padded with spaces. Standard library only, for build-time tools too.
namespace kvt::msgfile {

inline constexpr std::size_t kKeySize = 4;
inline constexpr std::size_t kTextSize = 99;
inline constexpr std::size_t kRecordSize = kKeySize + kTextSize;

// A trailing partial record counts when it holds at least half a record, so its key is
// always complete.
inline constexpr std::size_t kMinPartialRecord = kRecordSize / 2 + 1;
static_assert(kMinPartialRecord >= kKeySize);

// Records in a file of this length: length / 103 rounded to nearest.
std::size_t recordCount(std::size_t fileLength);

struct RawRecord {
    std::int32_t key = 0;
    // The text bytes as stored, padding included. A partial last record gives only the bytes
    // present: the missing ones would be padding.
    std::string_view text;
};

// Record number index (from 0) of the file's bytes; index must be below recordCount.
RawRecord recordAt(std::string_view file, std::size_t index);

// Why the bytes are not a message file, or nullopt when they are one: a message file holds at
// least one whole record, and every record's text is made of characters only (no control
// byte, none of the five bytes Windows-1252 leaves undefined). Anything else, an empty file or
// another kind of file, would only give empty or garbled texts.
std::optional<std::string> fileProblem(std::string_view file);

// One complete record. Throws kvt::Error (invalid argument) when the text is longer than
// 99 bytes.
std::string makeRecord(std::int32_t key, std::string_view cp1252Text);

} // namespace kvt::msgfile
