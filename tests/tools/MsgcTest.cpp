// Runs the message compiler as the build does, on small tables in a temporary folder.

#include "messages/MessageRecord.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace kvt {
namespace {

const std::string kHeader = "number\tde\ten\tes\tfr\tit\tnl\tnote\n";

// A table line with the same text in all six languages.
std::string line(const std::string &number, const std::string &text,
                 const std::string &note = "a note") {
    std::string result = number;
    for (int lang = 0; lang < 6; ++lang)
        result += "\t" + text;
    return result + "\t" + note + "\n";
}

std::string readAll(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

struct Outcome {
    int exitStatus = -1;
    std::string errors;
    bool outputExists = false;
    std::string output;
};

class Msgc : public ::testing::Test {
protected:
    Outcome compile(const std::string &table) {
        std::ofstream(mDir.file("table.tsv"), std::ios::binary) << table;
        const std::string command = std::string("'") + TALVIO_TEST_MSGC + "' '"
                                    + mDir.file("table.tsv").string() + "' '" + output().string()
                                    + "' 2> '" + mDir.file("errors.txt").string() + "'";
        const int status = std::system(command.c_str());
        Outcome run;
        if (WIFEXITED(status))
            run.exitStatus = WEXITSTATUS(status);
        run.errors = readAll(mDir.file("errors.txt"));
        run.outputExists = std::filesystem::exists(output());
        if (run.outputExists)
            run.output = readAll(output());
        return run;
    }

    std::filesystem::path output() const { return mDir.file("out.msg"); }

private:
    test::TempDir mDir;
};

TEST_F(Msgc, refusesEachKindOfBadLineWithItsOwnErrorAndLine) {
    struct Row {
        const char *what;
        std::string table;
        std::string expected; // the whole error line
    };
    const std::string text99(99, 'a');
    const Row rows[] = {
        {"text too long once encoded", kHeader + line("7", text99 + "\xE2\x82\xAC"),
         "table.tsv:2: error: the de text is 100 bytes once encoded in Windows-1252; a message "
         "holds at most 99"},
        {"character outside Windows-1252", kHeader + line("7", "Yen \xE5\x86\x86"),
         "table.tsv:2: error: the de text holds U+5186, which Windows-1252 cannot encode"},
        {"duplicate number", kHeader + line("7", "a") + "# comment\n" + line("7", "b"),
         "table.tsv:4: error: message number 7 appears twice (first on line 2)"},
        {"missing language", kHeader + "7\tde\ten\tes\tfr\tit\tnote\n",
         "table.tsv:2: error: expected 8 tab-separated fields (number, de, en, es, fr, it, nl, "
         "note), found 7"},
        {"empty text", kHeader + "7\tde\ten\tes\tfr\t\tnl\tnote\n",
         "table.tsv:2: error: the it text is empty"},
        {"control character", kHeader + line("7", "bell\a"),
         "table.tsv:2: error: the de text holds the control character U+0007"},
        {"C1 control character", kHeader + line("7", "next\xC2\x85line"),
         "table.tsv:2: error: the de text holds the control character U+0085"},
        {"control character in the note", kHeader + line("7", "ok", "esc\x1b"),
         "table.tsv:2: error: the note holds the control character U+001B"},
        {"invalid UTF-8", kHeader + line("7", "caf\xE9"),
         "table.tsv:2: error: the de text is not valid UTF-8"},
        {"leading space lost on reading", kHeader + line("7", " padded"),
         "table.tsv:2: error: the de text begins or ends with a space, which the message reader "
         "trims away"},
        {"letters in the number", kHeader + line("12a", "x"),
         "table.tsv:2: error: message number \"12a\" is not a whole number from 0 to 357913940 "
         "written without leading zeros"},
        {"negative number", kHeader + line("-3", "x"),
         "table.tsv:2: error: message number \"-3\" is not a whole number from 0 to 357913940 "
         "written without leading zeros"},
        {"signed zero", kHeader + line("-0", "x"),
         "table.tsv:2: error: message number \"-0\" is not a whole number from 0 to 357913940 "
         "written without leading zeros"},
        {"leading zero", kHeader + line("07", "x"),
         "table.tsv:2: error: message number \"07\" is not a whole number from 0 to 357913940 "
         "written without leading zeros"},
        {"number whose keys leave 32 bits", kHeader + line("357913941", "x"),
         "table.tsv:2: error: message number \"357913941\" is not a whole number from 0 to "
         "357913940 written without leading zeros"},
        {"CR LF line ending", kHeader + "7\ta\tb\tc\td\te\tf\tnote\r\n",
         "table.tsv:2: error: the line ends with a carriage return; the table uses LF line "
         "endings only"},
        {"wrong header", "number\tde\ten\tfr\tes\tit\tnl\tnote\n" + line("7", "x"),
         "table.tsv:1: error: the first line must be the header: number, de, en, es, fr, it, nl, "
         "note, separated by tabs"},
        {"empty table", "",
         "table.tsv:1: error: the table is empty; its first line must be the "
         "header"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const Outcome run = compile(row.table);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_NE(run.errors.find(row.expected + "\n"), std::string::npos) << run.errors;
        EXPECT_FALSE(run.outputExists);
    }
}

TEST_F(Msgc, reportsEveryBadLineAndRemovesAStaleOutput) {
    std::ofstream(output(), std::ios::binary) << "stale";
    const Outcome run = compile(kHeader + line("1", "") + line("2", "fine") + line("x", "y"));
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find("table.tsv:2: error: the de text is empty"), std::string::npos);
    EXPECT_NE(run.errors.find("table.tsv:2: error: the nl text is empty"), std::string::npos);
    EXPECT_NE(run.errors.find("table.tsv:4: error: message number \"x\""), std::string::npos);
    EXPECT_EQ(run.errors.find("table.tsv:3:"), std::string::npos);
    EXPECT_FALSE(run.outputExists);
}

TEST_F(Msgc, writesOneRecordPerLanguageInKeyOrderWithTextsInWindows1252) {
    // "€uro" with an e acute: the euro sign is byte 128, é is 0xE9.
    const Outcome run = compile(kHeader + "# texts\n\n"
                                + "9\tde\ten\tes\t\xE2\x82\xAC"
                                  "uro\tit\tnl\tthe note may hold anything: \xE5\x86\x86\n"
                                + line("0", "caf\xC3\xA9"));
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    std::string expected;
    for (std::int32_t lang = 0; lang < 6; ++lang)
        expected += msgfile::makeRecord(lang, "caf\xE9");
    const char *nine[] = {"de", "en", "es", "\x80uro", "it", "nl"};
    for (std::int32_t lang = 0; lang < 6; ++lang)
        expected += msgfile::makeRecord(9 * 6 + lang, nine[lang]);
    EXPECT_EQ(run.output, expected);
}

TEST_F(Msgc, acceptsTextsOfExactly99EncodedBytesFromLongerUtf8) {
    std::string text;
    for (int i = 0; i < 99; ++i)
        text += "\xC3\xA9"; // é: two bytes in UTF-8, one in Windows-1252
    const Outcome run = compile(kHeader + line("357913940", text));
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.output.size(), 6 * msgfile::kRecordSize);
    EXPECT_EQ(msgfile::recordAt(run.output, 5).key, 357913940 * 6 + 5);
    EXPECT_EQ(msgfile::recordAt(run.output, 5).text, std::string(99, '\xE9'));
}

} // namespace
} // namespace kvt
