#include "messages/Cp1252.h"

#include <gtest/gtest.h>
#include <set>

namespace kvt {
namespace {

bool isUndefinedByte(int byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

TEST(Cp1252, decodesToUtf8) {
    struct Row {
        const char *what;
        std::string bytes;
        std::string utf8;
    };
    const Row rows[] = {
        {"ascii unchanged", "Talvio 1.0", "Talvio 1.0"},
        {"euro sign", "\x80", "\u20AC"},
        {"accented letters", "caf\xE9 \xFC\xDF \xC0", "caf\u00E9 \u00FC\u00DF \u00C0"},
        {"table between 0x80 and 0x9F", "\x8A\x85\x99\x9C\x9F", "\u0160\u2026\u2122\u0153\u0178"},
        {"latin-1 range edges", "\xA0\xFF", "\u00A0\u00FF"},
        {"undefined bytes keep their value", "\x81\x8D\x8F\x90\x9D",
         "\u0081\u008D\u008F\u0090\u009D"},
        {"nul byte", std::string(1, '\0'), std::string(1, '\0')},
    };
    for (const Row &row : rows)
        EXPECT_EQ(decodeCp1252(row.bytes), row.utf8) << row.what;
}

TEST(Cp1252, everyDefinedByteRoundTripsAndNoTwoBytesShareACharacter) {
    std::set<std::string> decoded;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const std::string utf8 = decodeCp1252(one);
        decoded.insert(utf8);
        if (!isUndefinedByte(byte)) {
            EXPECT_EQ(encodeCp1252(utf8), one) << "byte " << byte;
        }
    }
    EXPECT_EQ(decoded.size(), 256u);
}

TEST(Cp1252, encoderRefusesWhatTheCodePageCannotHold) {
    struct Row {
        const char *what;
        std::string utf8;
    };
    const Row rows[] = {
        {"letter outside the code page", "\u0141\u00F3d\u017A"},
        {"cjk", "\u4E2D"},
        {"outside the basic plane", "\U0001F600"},
        {"c1 control of an undefined byte", "\u0081"},
        {"c1 control of a defined byte", "\u0080"},
        {"one bad character amid good ones", "caf\u00E9 \u20AC \u0141"},
        {"truncated sequence", "caf\xC3"},
        {"lone continuation byte", "\x80"},
        {"overlong slash", "\xC0\xAF"},
        {"surrogate", "\xED\xA0\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80"},
        {"invalid lead byte", "\xFF"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(encodeCp1252(row.utf8), std::nullopt) << row.what;
}

TEST(Cp1252, encodesTypographyOfTheMessageTexts) {
    EXPECT_EQ(encodeCp1252("Gr\u00FC\u00DFe \u2013 \u201Cl'\u0153uvre\u201D \u2122 \u20AC"),
              "Gr\xFC\xDF"
              "e \x96 \x93l'\x9Cuvre\x94 \x99 \x80");
    EXPECT_EQ(encodeCp1252(""), "");
}

} // namespace
} // namespace kvt
