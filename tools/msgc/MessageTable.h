#pragma once

#include "messages/Langue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// The message table: UTF-8 text, one message per line, fields separated by TAB:
//   number  de  en  es  fr  it  nl  note
// The first line is that header; blank lines and lines starting with '#' are comments.
namespace kvt::msgc {

// The largest number whose six keys (number * 6 + language) fit a signed 32-bit key.
inline constexpr std::int32_t kMaxMessageNumber =
    (std::numeric_limits<std::int32_t>::max() - (kNrLanguages - 1)) / kNrLanguages;

inline constexpr std::string_view kHeader = "number\tde\ten\tes\tfr\tit\tnl\tnote";

struct TableMessage {
    std::int32_t number = 0;
    std::array<std::string, kNrLanguages> cp1252Texts; // in Langue order
};

// One refusal, tied to the table line (from 1) that causes it.
struct Diagnostic {
    std::size_t line = 0;
    std::string text;
};

struct Table {
    std::vector<TableMessage> messages; // in table order
    std::vector<Diagnostic> diagnostics;
};

// Reads and checks the whole table, collecting every refusal rather than stopping at the
// first, so one build shows all the lines to mend. The texts are meant to be usable only
// when there are no diagnostics.
Table parseMessageTable(std::string_view content);

// The message file of these messages: one record per number and language, in key order.
std::string messageFileBytes(const std::vector<TableMessage> &messages);

} // namespace kvt::msgc
