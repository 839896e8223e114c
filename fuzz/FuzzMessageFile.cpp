#include "FuzzCheck.h"
#include "messages/Cp1252.h"
#include "messages/Message.h"
#include "model/Error.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

namespace {

std::string_view trimmedSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

using talvio::fuzz::check;

} // namespace

// Any bytes as a message file: loading never fails; the first record's text is its trimmed
// bytes decoded, and encodes back to them unless it holds a byte the code page leaves
// undefined; lookups of any number and language give a text or an overflow error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    kvt::Message message;
    message.loadFromBytes(bytes);
    check(message.recordCount() == kvt::msgfile::recordCount(size));
    // The check of a file refuses exactly the files without a whole record or with a byte that
    // is no text in some record.
    const auto problem = kvt::msgfile::fileProblem(bytes);
    bool textOnly = true;
    for (std::size_t i = 0; i < message.recordCount(); ++i)
        for (const char c : kvt::msgfile::recordAt(bytes, i).text)
            textOnly =
                textOnly && static_cast<unsigned char>(c) >= 0x20 && c != '\x7F'
                && std::string_view("\x81\x8D\x8F\x90\x9D").find(c) == std::string_view::npos;
    check(problem.has_value() == (size < kvt::msgfile::kRecordSize || !textOnly));

    std::int32_t firstKey = 0;
    if (message.recordCount() > 0) {
        const kvt::msgfile::RawRecord first = kvt::msgfile::recordAt(bytes, 0);
        firstKey = first.key;
        const std::string_view stored = trimmedSpaces(first.text);
        const std::string text = message.strGetMsg(first.key);
        check(text == kvt::decodeCp1252(stored));
        if (stored.find_first_of("\x81\x8D\x8F\x90\x9D") == std::string_view::npos)
            check(kvt::encodeCp1252(text) == stored);
    }

    const std::int32_t numbers[] = {firstKey,
                                    firstKey / 6,
                                    2,
                                    -1,
                                    std::numeric_limits<std::int32_t>::max(),
                                    std::numeric_limits<std::int32_t>::min()};
    for (const std::int32_t number : numbers) {
        for (std::int32_t lang = -1; lang <= 6; ++lang) {
            try {
                (void)message.strGetLangMsg(lang, number);
            } catch (const kvt::Error &error) {
                check(error.number() == kvt::err::Overflow);
            }
        }
    }
    return 0;
}
