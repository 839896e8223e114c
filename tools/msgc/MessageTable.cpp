#include "MessageTable.h"

#include "messages/Cp1252.h"
#include "messages/MessageRecord.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <unordered_map>

namespace kvt::msgc {

namespace {

constexpr std::array<std::string_view, kNrLanguages> kLanguageCodes = {"de", "en", "es",
                                                                       "fr", "it", "nl"};
constexpr std::size_t kFieldCount = 2 + kNrLanguages; // number, six texts, note

std::string codePointName(char32_t cp) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    return name;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

// One UTF-8 sequence at pos, strictly (no overlong forms, surrogates or values past
// U+10FFFF); advances pos past it, or past the bad lead byte.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t &pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    std::size_t length = 0;
    char32_t cp = 0;
    if ((lead & 0xE0u) == 0xC0u) {
        length = 1;
        cp = lead & 0x1Fu;
    } else if ((lead & 0xF0u) == 0xE0u) {
        length = 2;
        cp = lead & 0x0Fu;
    } else if ((lead & 0xF8u) == 0xF0u) {
        length = 3;
        cp = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < length; ++i, ++pos) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0u) != 0x80u)
            return std::nullopt;
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos]) & 0x3Fu);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    return cp;
}

bool isControl(char32_t cp) {
    return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F);
}

// The first reason why this field cannot stand in the table, or nullopt. Notes are never
// compiled, so only message texts must keep to what Windows-1252 can encode.
std::optional<std::string> characterProblem(std::string_view field, bool isMessageText) {
    for (std::size_t pos = 0; pos < field.size();) {
        const std::optional<char32_t> cp = nextCodePoint(field, pos);
        if (!cp)
            return "is not valid UTF-8";
        if (isControl(*cp))
            return "holds the control character " + codePointName(*cp);
        const std::size_t length = *cp < 0x80 ? 1 : *cp < 0x800 ? 2 : *cp < 0x10000 ? 3 : 4;
        if (isMessageText && !encodeCp1252(field.substr(pos - length, length)))
            return "holds " + codePointName(*cp) + ", which Windows-1252 cannot encode";
    }
    return std::nullopt;
}

// The text in Windows-1252, or the reason it cannot be a message text.
std::optional<std::string> encodeText(std::string_view text, std::string &problem) {
    if (text.empty()) {
        problem = "is empty";
        return std::nullopt;
    }
    if (text.front() == ' ' || text.back() == ' ') {
        problem = "begins or ends with a space, which the message reader trims away";
        return std::nullopt;
    }
    if (std::optional<std::string> bad = characterProblem(text, true)) {
        problem = std::move(*bad);
        return std::nullopt;
    }
    std::optional<std::string> encoded = encodeCp1252(text);
    if (!encoded) {
        problem = "cannot be encoded in Windows-1252";
        return std::nullopt;
    }
    if (encoded->size() > msgfile::kTextSize) {
        problem = "is " + std::to_string(encoded->size())
                  + " bytes once encoded in Windows-1252; a message holds at most "
                  + std::to_string(msgfile::kTextSize);
        return std::nullopt;
    }
    return encoded;
}

std::optional<std::int32_t> parseNumber(std::string_view field) {
    const bool digitsOnly =
        std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (field.empty() || !digitsOnly || (field.size() > 1 && field.front() == '0'))
        return std::nullopt;
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), number);
    if (error != std::errc() || end != field.data() + field.size() || number > kMaxMessageNumber)
        return std::nullopt;
    return number;
}

class TableParser {
public:
    Table run(std::string_view content) {
        std::size_t lineNumber = 0;
        for (std::size_t start = 0; start < content.size();) {
            const std::size_t newline = content.find('\n', start);
            const std::size_t end = newline == std::string_view::npos ? content.size() : newline;
            parseLine(++lineNumber, content.substr(start, end - start));
            start = end + 1;
        }
        if (lineNumber == 0)
            refuse(1, "the table is empty; its first line must be the header");
        return std::move(mTable);
    }

private:
    void refuse(std::size_t line, std::string text) {
        mTable.diagnostics.push_back({line, std::move(text)});
    }

    void parseLine(std::size_t lineNumber, std::string_view line) {
        if (!line.empty() && line.back() == '\r') {
            refuse(lineNumber, "the line ends with a carriage return; the table uses LF line "
                               "endings only");
            return;
        }
        if (lineNumber == 1) {
            if (line != kHeader)
                refuse(lineNumber, "the first line must be the header: number, de, en, es, fr, "
                                   "it, nl, note, separated by tabs");
            return;
        }
        if (line.empty() || line.front() == '#')
            return;
        parseMessage(lineNumber, line);
    }

    void parseMessage(std::size_t lineNumber, std::string_view line) {
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() != kFieldCount) {
            refuse(lineNumber, "expected " + std::to_string(kFieldCount)
                                   + " tab-separated fields (number, de, en, es, fr, it, nl, "
                                     "note), found "
                                   + std::to_string(fields.size()));
            return;
        }
        TableMessage message;
        bool usable = true;
        const std::optional<std::int32_t> number = parseNumber(fields[0]);
        if (!number) {
            refuse(lineNumber, "message number \"" + std::string(fields[0])
                                   + "\" is not a whole number from 0 to "
                                   + std::to_string(kMaxMessageNumber)
                                   + " written without leading zeros");
            usable = false;
        } else {
            message.number = *number;
            const auto [first, inserted] = mFirstLine.emplace(*number, lineNumber);
            if (!inserted) {
                refuse(lineNumber, "message number " + std::to_string(*number)
                                       + " appears twice (first on line "
                                       + std::to_string(first->second) + ")");
                usable = false;
            }
        }
        for (std::size_t lang = 0; lang < kLanguageCodes.size(); ++lang) {
            std::string problem;
            std::optional<std::string> encoded = encodeText(fields[1 + lang], problem);
            if (!encoded) {
                refuse(lineNumber, "the " + std::string(kLanguageCodes[lang]) + " text " + problem);
                usable = false;
                continue;
            }
            message.cp1252Texts[lang] = std::move(*encoded);
        }
        if (std::optional<std::string> bad = characterProblem(fields.back(), false)) {
            refuse(lineNumber, "the note " + *bad);
            usable = false;
        }
        if (usable)
            mTable.messages.push_back(std::move(message));
    }

    Table mTable;
    std::unordered_map<std::int32_t, std::size_t> mFirstLine;
};

} // namespace

Table parseMessageTable(std::string_view content) {
    return TableParser().run(content);
}

std::string messageFileBytes(const std::vector<TableMessage> &messages) {
    std::vector<const TableMessage *> ordered;
    ordered.reserve(messages.size());
    for (const TableMessage &message : messages)
        ordered.push_back(&message);
    std::sort(ordered.begin(), ordered.end(),
              [](const TableMessage *a, const TableMessage *b) { return a->number < b->number; });
    std::string bytes;
    bytes.reserve(messages.size() * kNrLanguages * msgfile::kRecordSize);
    for (const TableMessage *message : ordered)
        for (std::int32_t lang = 0; lang < kNrLanguages; ++lang)
            bytes += msgfile::makeRecord(message->number * kNrLanguages + lang,
                                         message->cp1252Texts[static_cast<std::size_t>(lang)]);
    return bytes;
}

} // namespace kvt::msgc
