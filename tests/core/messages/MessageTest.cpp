#include "messages/Message.h"

#include "messages/MessageBoxes.h"
#include "model/DG.h"
#include "model/Error.h"
#include "support/MessageFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace kvt {
namespace {

using test::messageFile;

constexpr std::int32_t kMaxKey = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinKey = std::numeric_limits<std::int32_t>::min();

Message loaded(std::string_view bytes) {
    Message message;
    message.loadFromBytes(bytes);
    return message;
}

TEST(Message, readsFilesByTheirRecordRules) {
    struct Lookup {
        std::int32_t key;
        std::string text;
    };
    struct Row {
        const char *what;
        std::string bytes;
        std::size_t records;
        std::vector<Lookup> lookups;
    };
    const std::string twoRecords = messageFile({{1, "one"}, {2, "two"}});
    const Row rows[] = {
        {"empty file", "", 0, {{13, ""}, {0, ""}}},
        {"first of two equal keys wins",
         messageFile({{13, "first"}, {13, "second"}}),
         2,
         {{13, "first"}}},
        {"any order", messageFile({{19, "b"}, {13, "a"}}), 2, {{13, "a"}, {19, "b"}}},
        {"trimmed of spaces only at both ends",
         messageFile({{7, "   word   "}, {8, " a  b "}, {9, "      "}, {10, "\ttab\t"}}),
         4,
         {{7, "word"}, {8, "a  b"}, {9, ""}, {10, "\ttab\t"}}},
        {"key is little-endian and signed",
         std::string("\x0D\x01\x00\x00", 4) + std::string(99, 'x')
             + std::string("\xFA\xFF\xFF\xFF", 4) + "neg" + std::string(96, ' '),
         2,
         {{0x010D, std::string(99, 'x')}, {-6, "neg"}, {13, ""}}},
        {"extreme keys",
         messageFile({{kMaxKey, "max"}, {kMinKey, "min"}}),
         2,
         {{kMaxKey, "max"}, {kMinKey, "min"}}},
        {"windows-1252 text decoded",
         messageFile({{5, "\x80 5 caf\xE9"}}),
         1,
         {{5, "\u20AC 5 caf\u00E9"}}},
        {"trailing 51 bytes ignored", twoRecords.substr(0, 103 + 51), 1, {{1, "one"}, {2, ""}}},
        {"trailing 52 bytes count", twoRecords.substr(0, 103 + 52), 2, {{1, "one"}, {2, "two"}}},
        {"partial record keeps the bytes present",
         messageFile({{3, std::string(60, 'z')}}).substr(0, 60),
         1,
         {{3, std::string(56, 'z')}}},
    };
    for (const Row &row : rows) {
        const Message message = loaded(row.bytes);
        EXPECT_EQ(message.recordCount(), row.records) << row.what;
        for (const Lookup &lookup : row.lookups)
            EXPECT_EQ(message.strGetMsg(lookup.key), lookup.text)
                << row.what << ", key " << lookup.key;
    }
}

TEST(Message, makeRecordRefusesTextsLongerThanARecordHolds) {
    EXPECT_EQ(msgfile::makeRecord(1, std::string(99, 'a')).size(), Message::kRecordSize);
    try {
        msgfile::makeRecord(1, std::string(100, 'a'));
        ADD_FAILURE() << "a 100-byte text was accepted";
    } catch (const Error &error) {
        EXPECT_EQ(error.number(), err::InvalidArgument);
        EXPECT_NE(error.description().find("100 bytes"), std::string::npos);
    }
}

TEST(Message, strGetLangMsgLooksUpNumberTimesSixPlusLanguage) {
    const Message message = loaded(messageFile({{12, "Deutsch"},
                                                {13, "English"},
                                                {17, "Nederlands"},
                                                {18, "three DE"},
                                                {kMaxKey, "max"},
                                                {kMinKey, "min"}}));
    struct Row {
        std::int32_t lang;
        std::int32_t number;
        std::string text;
    };
    const Row rows[] = {
        {DE, 2, "Deutsch"},
        {EN, 2, "English"},
        {NL, 2, "Nederlands"},
        {FR, 2, ""},
        {DE, 4, ""},
        {6, 2, ""},
        {-1, 3, ""}, // not languages, not message 3
        {EN, 357913941, "max"},
        {IT, -357913942, "min"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(message.strGetLangMsg(row.lang, row.number), row.text)
            << "language " << row.lang << ", message " << row.number;
}

TEST(Message, strGetLangMsgFailsWithOverflowBeyondThe32BitKeyRange) {
    const Message message;
    const std::pair<std::int32_t, std::int32_t> rows[] = {
        {ES, 357913941}, {DE, kMaxKey}, {FR, -357913942}, {NL, kMinKey}};
    for (const auto &[lang, number] : rows) {
        try {
            message.strGetLangMsg(lang, number);
            ADD_FAILURE() << "no overflow for message " << number;
        } catch (const Error &error) {
            EXPECT_EQ(error.number(), err::Overflow);
            EXPECT_NE(error.description().find("message " + std::to_string(number)),
                      std::string::npos)
                << error.description();
        }
    }
}

class MessageFileTest : public ::testing::Test {
protected:
    void expectFileError(const std::filesystem::path &path, const std::string &why = "") {
        try {
            message.subLoadIndex(path.string());
            ADD_FAILURE() << "no error for " << path;
        } catch (const Error &error) {
            EXPECT_EQ(error.number(), err::FileAccess);
            EXPECT_NE(error.description().find("\"" + path.string() + "\""), std::string::npos)
                << error.description();
            EXPECT_NE(error.description().find(why), std::string::npos) << error.description();
        }
    }

    test::TempDir dir;
    Message message;
};

TEST_F(MessageFileTest, secondLoadReplacesTheFirst) {
    test::writeFile(dir.file("a.msg"), messageFile({{13, "from a"}}));
    test::writeFile(dir.file("b.msg"), messageFile({{19, "from b"}}));
    message.subLoadIndex(dir.file("a.msg").string());
    EXPECT_EQ(message.strGetMsg(13), "from a");
    message.subLoadIndex(dir.file("b.msg").string());
    EXPECT_EQ(message.strGetMsg(13), "");
    EXPECT_EQ(message.strGetMsg(19), "from b");
}

// A file that is not a message file would only give empty or garbled texts, a pipe would block
// for ever and a device would be read without end: each is refused, naming the file, before
// anything loaded is replaced, and nothing is created.
TEST_F(MessageFileTest, refusesWhatIsNotAMessageFileNamingItAndKeepsTheLoadedTexts) {
    test::writeFile(dir.file("good.msg"), messageFile({{13, "kept"}}));
    message.subLoadIndex(dir.file("good.msg").string());

    const std::string record = messageFile({{13, "text"}});
    const std::filesystem::path pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    struct Row {
        const char *name;
        std::optional<std::string> bytes; // nullopt: the path is not written
        std::string why;
    };
    const Row rows[] = {
        {"missing.msg", std::nullopt, "No such file"},
        {"empty.msg", "", "no whole record (0 bytes"},
        {"short.msg", record.substr(0, 102), "no whole record (102 bytes"},
        {"control.msg", record + messageFile({{19, "a\x01b"}}), "record 2 (key 19)"},
        {"undefined.msg", messageFile({{19, "caf\x81"}}), "record 1 (key 19)"},
        {"elf.msg",
         "\x7F"
         "ELF\x02\x01\x01"
             + std::string(200, '\0'),
         "not text"},
        {"large.msg", std::string(Message::kMaxFileSize + 1, ' '), "larger than"},
        {"pipe", std::nullopt, "not a regular file"},
    };
    for (const Row &row : rows) {
        if (row.bytes)
            test::writeFile(dir.file(row.name), *row.bytes);
        expectFileError(dir.file(row.name), row.why);
    }
    expectFileError("/dev/zero", "not a regular file");
    expectFileError(dir.path(), "not a regular file");
    expectFileError(dir.path() / "no such folder" / "talvio.msg", "No such file");
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.msg")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no such folder"));
    EXPECT_EQ(message.strGetMsg(13), "kept");
}

class TranslateTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto message = std::make_shared<Message>();
        message->loadFromBytes(messageFile({{2 * 6 + DE, "Deutsch"},
                                            {2 * 6 + EN, "English"},
                                            {2 * 6 + ES, "Espa\xF1ol"},
                                            {2 * 6 + FR, "Fran\xE7"
                                                         "ais"},
                                            {2 * 6 + IT, "Italiano"},
                                            {2 * 6 + NL, "Nederlands"},
                                            {153 * 6 + DE, "(kein)"}}));
        setSharedMessage(message);
        setSharedDG(std::make_shared<DG>());
        setMessageBoxes(boxes);
    }

    void TearDown() override {
        setShowMsgNumbers(false);
        releaseSharedMessage();
        releaseSharedDG();
        setMessageBoxes(nullptr);
    }

    std::shared_ptr<ScriptedMessageBoxes> boxes = std::make_shared<ScriptedMessageBoxes>();
};

TEST_F(TranslateTest, followsTheLanguageOfTheGeneralSettings) {
    const std::pair<Langue, std::string> rows[] = {{DE, "Deutsch"},
                                                   {EN, "English"},
                                                   {ES, "Espa\u00F1ol"},
                                                   {FR, "Fran\u00E7"
                                                        "ais"},
                                                   {IT, "Italiano"},
                                                   {NL, "Nederlands"}};
    for (const auto &[langue, name] : rows) {
        sharedDG()->setLangue(langue);
        EXPECT_EQ(Translate(2), name);
    }
}

TEST_F(TranslateTest, showNumbersSwitchGivesTheBareNumber) {
    EXPECT_FALSE(showMsgNumbers());
    EXPECT_EQ(Translate(153), "(kein)");
    setShowMsgNumbers(true);
    EXPECT_EQ(Translate(153), "153");
    EXPECT_EQ(Translate(-7), "-7");
    setShowMsgNumbers(false);
    EXPECT_EQ(Translate(153), "(kein)");
}

TEST_F(TranslateTest, releasedCatalogueIsReplacedByAnEmptyOne) {
    releaseSharedMessage();
    EXPECT_EQ(Translate(2), "");
    EXPECT_EQ(sharedMessage(), sharedMessage());
}

TEST_F(TranslateTest, msgboxShowsTalvioBoxWithOkAndTheRightIcon) {
    sharedMessage()->Msgbox("R\u00E9sultat", false);
    sharedMessage()->Msgbox("Failed", true);
    ASSERT_EQ(boxes->shown().size(), 2u);
    const std::pair<std::string, BoxIcon> expected[] = {{"R\u00E9sultat", BoxIcon::Information},
                                                        {"Failed", BoxIcon::Critical}};
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(boxes->shown()[i].title, "Talvio");
        EXPECT_EQ(boxes->shown()[i].text, expected[i].first);
        EXPECT_EQ(boxes->shown()[i].icon, expected[i].second);
        EXPECT_EQ(boxes->shown()[i].buttons, BoxButtons::Ok);
    }
}

} // namespace
} // namespace kvt
