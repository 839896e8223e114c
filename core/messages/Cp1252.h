#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1252 <-> UTF-8, the code page of the message file. Standard library only, so that
// build-time tools can compile it without the rest of the library.
namespace kvt {

// Decodes every byte value; never fails. The five bytes Windows-1252 leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls U+0081.. of the same value, as Windows'
// own conversion does: decoding stays lossless and a stray byte remains visible as itself
// instead of vanishing into a replacement character.
std::string decodeCp1252(std::string_view bytes);

// Encodes UTF-8 text; nullopt when the text is not valid UTF-8 or holds a character that
// Windows-1252 cannot encode. The C1 controls U+0080..U+009F are refused, the five above
// included: they are not characters of the code page, and in a message text only a mistake.
std::optional<std::string> encodeCp1252(std::string_view utf8);

} // namespace kvt
