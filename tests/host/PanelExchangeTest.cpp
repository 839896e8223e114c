// Two add-ins, each in its own process with its control panel open, on one private bus and one
// settings database: what the user does in one panel reaches the other through the add-in
// manager, and a later program reads what was applied.
#include "HostProcess.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace kvt::test {
namespace {

class PanelExchange : public testing::Test {
protected:
    std::unique_ptr<ChildProcess> startPeer(const std::string &name) {
        auto peer = std::make_unique<ChildProcess>(
            TALVIO_PANEL_PEER, std::vector<std::string>{settings(), TALVIO_TEST_MESSAGE_FILE});
        EXPECT_EQ(peer->readLine(), "name " + name);
        peer->writeLine("open");
        EXPECT_TRUE(peer->waitFor("opened"));
        return peer;
    }
    std::string storedSettings() const {
        const auto result = talvio::test::runTalvio({"--settings", settings(), "settings", "list"});
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    }
    std::string settings() const { return dir.file("settings.db").string(); }
    // So that the panel may save.
    void choosePairThatConverts() const {
        for (const auto &[key, code] : {std::pair{"MoneyIN", "BEF"}, std::pair{"MoneyOUT", "FRF"}})
            ASSERT_EQ(talvio::test::runTalvio(
                          {"--settings", settings(), "settings", "set", "UserChoice", key, code})
                          .status,
                      0);
    }

    TempDir dir;
};

TEST_F(PanelExchange, anEditLocksTheOtherPanelWhichShowsTheAppliedValuesOnceUnlocked) {
    choosePairThatConverts();
    auto a = startPeer("Talvio 1");
    auto b = startPeer("Talvio 2");
    const std::string unlocked = "panel locked=0 help= nbdec=15 status=1 language=1";
    b->writeLine("look");
    EXPECT_TRUE(b->waitFor(unlocked));

    a->writeLine("tab 2");
    a->writeLine("type txtNbDecEuroInter 7");
    EXPECT_TRUE(b->waitFor(
        "event 1 panel locked=1 help=The exchange rates and currencies are being edited by "
        "Talvio 1 / You can change them again as soon as that add-in has finished editing. "
        "nbdec=15 status=1 language=1"));
    a->writeLine("click ChkShowStatus");
    a->writeLine("key cboLangue Down");
    a->writeLine("click CmdApply");
    EXPECT_TRUE(a->waitFor("closed saved"));
    // B reloads what A saved while still locked, then unlocks when A has finished.
    const auto reloaded = b->waitFor("event 2 panel locked=1 help=The exchange rates");
    ASSERT_TRUE(reloaded);
    EXPECT_NE(reloaded->find(" nbdec=7 status=0 language=2"), std::string::npos) << *reloaded;
    EXPECT_TRUE(b->waitFor("event 3 panel locked=0 help= nbdec=7 status=0 language=2"));

    // A program started afterwards reads the applied values from the database.
    const std::string stored = storedSettings();
    for (const char *line : {"UserChoice\tNbDecEuroInter\t7\n", "UserChoice\tLanguage\t2\n",
                             "UserChoice\tShowStatus\tOFF\n"})
        EXPECT_NE(stored.find(line), std::string::npos) << line;
}

TEST_F(PanelExchange, anImportedRateFileIsAnEditTheOtherPanelHearsOfAndApplySavesIt) {
    const std::string rates = dir.file("rates.csv").string();
    std::ofstream(rates) << "Date,USD,JPY\n2026-12-09,1.0956,162.5\n";
    choosePairThatConverts();
    auto a = startPeer("Talvio 1");
    auto b = startPeer("Talvio 2");
    a->writeLine("import " + rates);
    EXPECT_TRUE(b->waitFor(
        "event 1 panel locked=1 help=The exchange rates and currencies are being edited by "
        "Talvio 1 / You can change them again as soon as that add-in has finished editing. "
        "nbdec=15 status=1 language=1"));
    a->writeLine("click CmdApply");
    EXPECT_TRUE(a->waitFor("closed saved"));
    EXPECT_TRUE(b->waitFor("event 3 panel locked=0"));
    const std::string stored = storedSettings();
    // The fixed euro rates stay as they were; the imported ones follow them.
    EXPECT_NE(stored.find("Currencies\\Rates\tEUR\tATS|13.7603|BEF|40.3399|DEM|1.95583|ESP|166.386|"
                          "FIM|5.94573|FRF|6.55957|GRD|340.75|IEP|0.787564|ITL|1936.27|LUF|40.3399|"
                          "NLG|2.20371|PTE|200.482|USD|1.0956|JPY|162.5|\n"),
              std::string::npos)
        << stored;
}

} // namespace
} // namespace kvt::test
