// The message file built from data/messages: every text of the table survives compilation and
// reading, and every number the code and the windows use is there in all six languages.

#include "messages/Message.h"
#include "messages/MsgIds.h"

#include <array>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kvt {
namespace {

using Texts = std::array<std::string, kNrLanguages>;

// The table read with nothing but TAB splitting, independently of the compiler's parser.
std::map<std::int32_t, Texts> readTable() {
    std::ifstream in(TALVIO_TEST_MESSAGE_TABLE, std::ios::binary);
    std::map<std::int32_t, Texts> table;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream fieldStream(line);
        for (std::string field; std::getline(fieldStream, field, '\t');)
            fields.push_back(field);
        Texts texts;
        for (std::size_t lang = 0; lang < texts.size(); ++lang)
            texts[lang] = fields.at(1 + lang);
        table.emplace(std::stoi(fields.at(0)), texts);
    }
    return table;
}

const std::map<std::int32_t, Texts> &table() {
    static const std::map<std::int32_t, Texts> sTable = readTable();
    return sTable;
}

const Message &shipped() {
    static const Message sMessage = [] {
        Message message;
        message.subLoadIndex(TALVIO_TEST_MESSAGE_FILE);
        return message;
    }();
    return sMessage;
}

bool presentInAllLanguages(std::int32_t number) {
    for (std::int32_t lang = 0; lang < kNrLanguages; ++lang)
        if (shipped().strGetLangMsg(lang, number).empty())
            return false;
    return true;
}

TEST(ShippedMessages, holdEveryTextOfTheTableByteForByteAndNothingElse) {
    ASSERT_GT(table().size(), 150u);
    for (const auto &[number, texts] : table())
        for (std::int32_t lang = 0; lang < kNrLanguages; ++lang)
            EXPECT_EQ(shipped().strGetLangMsg(lang, number), texts[static_cast<std::size_t>(lang)])
                << "message " << number << ", language " << lang;
    EXPECT_EQ(shipped().recordCount(), table().size() * kNrLanguages);
}

TEST(ShippedMessages, holdEveryNamedNumberInAllLanguages) {
    for (std::int32_t number : msg::kAllNamed)
        EXPECT_TRUE(presentInAllLanguages(number)) << "message " << number;
}

// The numbers that the windows, lists and reports of the product show, in ranges.
TEST(ShippedMessages, holdEveryNumberTheProductShowsInAllLanguages) {
    const std::pair<std::int32_t, std::int32_t> ranges[] = {
        {2, 3},     {5, 30},    {33, 33},   {41, 43},     {47, 50},     {53, 53},
        {101, 102}, {105, 105}, {107, 122}, {125, 128},   {130, 133},   {140, 146},
        {153, 153}, {155, 156}, {162, 166}, {170, 178},   {180, 188},   {200, 202},
        {204, 214}, {216, 218}, {300, 304}, {400, 400},   {402, 408},   {410, 413},
        {415, 424}, {430, 433}, {500, 510}, {530, 531},   {533, 533},   {537, 538},
        {540, 545}, {550, 554}, {750, 751}, {1048, 1048}, {1204, 1204}, {1255, 1255}};
    std::size_t count = 0;
    for (const auto &[first, last] : ranges)
        for (std::int32_t number = first; number <= last; ++number, ++count)
            EXPECT_TRUE(presentInAllLanguages(number)) << "message " << number;
    EXPECT_EQ(count, 177u);
}

TEST(ShippedMessages, nameTheProjectVersion) {
    const std::string version = shipped().strGetLangMsg(EN, 431);
    EXPECT_EQ(version, std::string("Version ") + TALVIO_TEST_PROJECT_VERSION);
}

} // namespace
} // namespace kvt
