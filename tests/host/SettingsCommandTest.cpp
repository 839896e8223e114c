#include "HostProcess.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace talvio::test {
namespace {

using testing::HasSubstr;

class SettingsCommandTest : public testing::Test, protected HostFixture {};

TEST_F(SettingsCommandTest, setGetListAndDeleteWorkOnTheStore) {
    EXPECT_EQ(run({"settings", "set", "UserChoice", "Language", "3"}).status, 0);
    EXPECT_EQ(run({"settings", "set", "Currencies\\Names", "BEF", "Franc belge|"}).status, 0);
    EXPECT_EQ(run({"settings", "set", "UserChoice", "DeviseFrom", "BEF"}).status, 0);

    const auto got = run({"settings", "get", "userchoice", "LANGUAGE"});
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, "3\n");

    EXPECT_EQ(run({"settings", "list"}).out, "Currencies\\Names\tBEF\tFranc belge|\n"
                                             "UserChoice\tDeviseFrom\tBEF\n"
                                             "UserChoice\tLanguage\t3\n");

    EXPECT_EQ(run({"settings", "delete", "UserChoice", "Language"}).status, 0);
    const auto gone = run({"settings", "get", "UserChoice", "Language"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_EQ(gone.out, "");
    EXPECT_THAT(gone.err, HasSubstr("UserChoice / Language"));
    // Looking up an absent key must not create it.
    EXPECT_EQ(run({"settings", "list"}).out, "Currencies\\Names\tBEF\tFranc belge|\n"
                                             "UserChoice\tDeviseFrom\tBEF\n");
}

TEST_F(SettingsCommandTest, wrongUseExitsWithTwoAndAUsageLine) {
    const std::vector<std::vector<std::string>> rows = {
        {"settings"},
        {"settings", "frob"},
        {"settings", "list", "extra"},
        {"settings", "get", "UserChoice"},
        {"settings", "set", "UserChoice", "Language"},
        {"settings", "delete", "A", "B", "C"},
        {"settings", "--verbose", "list"},
    };
    for (const auto &row : rows) {
        const auto result = run(row);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(row);
        EXPECT_THAT(result.err, HasSubstr("usage: talvio settings")) << testing::PrintToString(row);
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(SettingsCommandTest, helpAndVersionPrintAndSucceed) {
    const auto help = runTalvio({"settings", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("usage: talvio settings list"));
    const auto overview = runTalvio({"--help"});
    EXPECT_EQ(overview.status, 0);
    EXPECT_THAT(overview.out, HasSubstr("settings list"));
    const auto version = runTalvio({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_THAT(version.out, testing::StartsWith("talvio "));
    EXPECT_EQ(runTalvio({}).status, 2);
}

TEST_F(SettingsCommandTest, aFileThatIsNotASettingsDatabaseFailsWithOne) {
    const kvt::test::TempDir dir;
    const auto path = dir.file("notes.txt");
    std::ofstream(path) << "not a database, and must stay as it is\n";
    const auto result = runTalvio({"--settings", path.string(), "settings", "list"});
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err, HasSubstr("is not a Talvio settings database"));
}

} // namespace
} // namespace talvio::test
