#include "Arguments.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace talvio {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

const std::vector<CommandSyntax> kCommands = {
    {"convert",
     "convert [OPTIONS] [AMOUNT] FROM TO",
     "",
     {"--method", "--pattern"},
     {"--raw"},
     2,
     3},
    {"settings", "settings list", "", {}, {}, 1, 4},
};

TEST(ArgumentsTest, readsGlobalOptionsCommandOptionsAndArguments) {
    const auto invocation =
        parseArguments({"--settings", "/tmp/s.db", "--messages=/m.msg", "convert", "BEF",
                        "--method", "up", "FRF", "--raw", "--pattern=X.X5"},
                       kCommands);
    EXPECT_EQ(invocation.settingsPath, "/tmp/s.db");
    EXPECT_EQ(invocation.messagesPath, "/m.msg");
    ASSERT_NE(invocation.command, nullptr);
    EXPECT_EQ(invocation.command->name, "convert");
    EXPECT_THAT(invocation.arguments, ElementsAre("BEF", "FRF"));
    EXPECT_EQ(invocation.option("--method"), "up");
    EXPECT_EQ(invocation.option("--pattern"), "X.X5");
    EXPECT_EQ(invocation.option("--absent"), std::nullopt);
    EXPECT_TRUE(invocation.hasSwitch("--raw"));
}

TEST(ArgumentsTest, negativeAmountsAreArgumentsAndDoubleDashEndsOptions) {
    EXPECT_THAT(parseArguments({"convert", "-123.456", "BEF", "FRF"}, kCommands).arguments,
                ElementsAre("-123.456", "BEF", "FRF"));
    EXPECT_THAT(parseArguments({"convert", "-1e3", "BEF", "FRF"}, kCommands).arguments,
                ElementsAre("-1e3", "BEF", "FRF"));
    const auto ended = parseArguments({"convert", "--", "--raw", "BEF", "FRF"}, kCommands);
    EXPECT_THAT(ended.arguments, ElementsAre("--raw", "BEF", "FRF"));
    EXPECT_FALSE(ended.hasSwitch("--raw"));
}

TEST(ArgumentsTest, helpAndVersionNeedNoCommand) {
    EXPECT_TRUE(parseArguments({"--help"}, kCommands).help);
    EXPECT_TRUE(parseArguments({"--version"}, kCommands).version);
    const auto commandHelp = parseArguments({"convert", "--help"}, kCommands);
    EXPECT_TRUE(commandHelp.commandHelp);
    EXPECT_EQ(commandHelp.command->name, "convert");
}

TEST(ArgumentsTest, wrongUseIsAUsageErrorWithTheRightUsageLine) {
    const struct {
        std::vector<std::string> words;
        const char *message;
        const char *usage;
    } rows[] = {
        {{}, "no command", "COMMAND"},
        {{"frobnicate"}, "unknown command frobnicate", "COMMAND"},
        {{"--bogus", "convert"}, "unknown option --bogus", "COMMAND"},
        {{"--settings"}, "--settings needs a value", "COMMAND"},
        {{"convert", "BEF"}, "too few arguments", "convert [OPTIONS]"},
        {{"convert", "1", "BEF", "FRF", "x"}, "too many arguments", "convert [OPTIONS]"},
        {{"convert", "--fast", "BEF", "FRF"}, "unknown option --fast for convert", "convert"},
        {{"convert", "BEF", "FRF", "--method"}, "--method needs a value", "convert"},
        {{"convert", "--raw=yes", "BEF", "FRF"}, "unknown option --raw", "convert"},
        {{"convert", "-x", "BEF", "FRF"}, "unknown option -x", "convert"},
    };
    for (const auto &row : rows) {
        try {
            parseArguments(row.words, kCommands);
            ADD_FAILURE() << "accepted: " << testing::PrintToString(row.words);
        } catch (const UsageError &error) {
            EXPECT_THAT(error.message, HasSubstr(row.message));
            EXPECT_THAT(error.usage, HasSubstr(row.usage));
        }
    }
}

} // namespace
} // namespace talvio
