// Add-ins as separate host processes on one private bus, coordinating through the add-in
// manager program that the bus starts for them.
#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

namespace kvt::test {
namespace {

using namespace std::chrono_literals;

const QString kManagerName = QStringLiteral("org.talvio.TlvAddInMgr");

// The program's own exit is observed through the bus only: a call to it would hold it.
bool managerRunning() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(kManagerName).value();
}

bool managerEndsWithin(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (managerRunning()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

class AddInExchange : public testing::Test {
protected:
    // A host running as an add-in on the shared settings, settled and ready.
    // Any name when expectedName is empty.
    std::unique_ptr<ChildProcess> startAddIn(const std::string &expectedName = "") {
        auto addIn = std::make_unique<ChildProcess>(
            TALVIO_BINARY, std::vector<std::string>{"--settings", settings(), "--messages",
                                                    TALVIO_TEST_MESSAGE_FILE, "addin"});
        const auto name = addIn->readLine();
        EXPECT_TRUE(name && name->starts_with("name Talvio ")) << name.value_or("(no name)");
        if (!expectedName.empty()) {
            EXPECT_EQ(name, "name " + expectedName);
        }
        EXPECT_EQ(addIn->readLine(), "state EditAllowed editor= locked=0 help=");
        return addIn;
    }

    std::string settings() const { return dir.file("settings.db").string(); }

    TempDir dir;
};

TEST_F(AddInExchange, theEditorLocksTheOthersWhoReloadWhatItSavesAndUnlockWhenItFinishes) {
    auto a = startAddIn("Talvio 1");
    auto b = startAddIn("Talvio 2");
    a->writeLine("names");
    EXPECT_TRUE(a->waitFor("name Talvio 1 "));
    EXPECT_TRUE(a->waitFor("name Talvio 2 "));

    a->writeLine("start");
    EXPECT_TRUE(a->waitFor("state EditRunning editor=Talvio 1 locked=0"));
    const auto locked = b->waitFor("event 1 state EditUnavailable editor=Talvio 1 locked=1");
    ASSERT_TRUE(locked);
    EXPECT_NE(locked->find(" Talvio 1 / "), std::string::npos) << *locked;

    a->writeLine("set-rate USD EUR 0.8");
    EXPECT_TRUE(a->waitFor("state EditRunning"));
    EXPECT_TRUE(b->waitFor("event 2 state EditUnavailable editor=Talvio 1 locked=1"));
    b->writeLine("rate USD EUR");
    EXPECT_EQ(b->waitFor("rate "), "rate 0.8") << "B reloaded what A saved";

    a->writeLine("finish");
    EXPECT_TRUE(a->waitFor("state EditAllowed editor= locked=0"));
    EXPECT_TRUE(b->waitFor("event 3 state EditAllowed editor= locked=0 help="));

    a->closeInput();
    b->writeLine("quit");
    EXPECT_EQ(a->wait(), 0);
    EXPECT_EQ(b->wait(), 0);
    EXPECT_TRUE(managerEndsWithin(5s)) << "the manager ends with its last client";
}

TEST_F(AddInExchange, twoAddInsStartingAtOnceNeverBothEdit) {
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        auto a = startAddIn();
        auto b = startAddIn();
        a->writeLine("start");
        b->writeLine("start");
        ASSERT_TRUE(a->waitForLineStarting("state ") && b->waitForLineStarting("state "));
        // Both starts are done: ask each for the state the events left it in.
        a->writeLine("state");
        b->writeLine("state");
        const auto aFinal = a->waitForLineStarting("state ");
        const auto bFinal = b->waitForLineStarting("state ");
        ASSERT_TRUE(aFinal && bFinal);
        const bool aEdits = aFinal->starts_with("state EditRunning");
        const bool bEdits = bFinal->starts_with("state EditRunning");
        EXPECT_NE(aEdits, bEdits) << *aFinal << "\n" << *bFinal;
        const std::string other = aEdits ? *bFinal : *aFinal;
        EXPECT_TRUE(other.starts_with("state EditUnavailable")) << other;
    }
}

TEST_F(AddInExchange, anEditorThatDiesReleasesTheOthers) {
    auto a = startAddIn("Talvio 1");
    auto b = startAddIn("Talvio 2");
    a->writeLine("start");
    ASSERT_TRUE(b->waitFor("event 1 state EditUnavailable editor=Talvio 1 locked=1"));
    a->signal(SIGKILL);
    a->wait();
    EXPECT_TRUE(b->waitFor("event 3 state EditAllowed editor= locked=0"));
    b->writeLine("start");
    EXPECT_TRUE(b->waitFor("state EditRunning editor=Talvio 2"));
}

TEST_F(AddInExchange, anAddInThatNoLongerAnswersDoesNotStopTheOthers) {
    auto a = startAddIn("Talvio 1");
    auto stuck = startAddIn("Talvio 2");
    auto c = startAddIn("Talvio 3");
    stuck->signal(SIGSTOP);
    const auto before = std::chrono::steady_clock::now();
    a->writeLine("start");
    EXPECT_TRUE(a->waitFor("state EditRunning editor=Talvio 1"));
    EXPECT_TRUE(c->waitFor("event 1 state EditUnavailable editor=Talvio 1"));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 15s);
    // Dropped: the next raise no longer waits for it.
    const auto second = std::chrono::steady_clock::now();
    a->writeLine("finish");
    EXPECT_TRUE(c->waitFor("event 3 state EditAllowed"));
    EXPECT_LT(std::chrono::steady_clock::now() - second, 2s);
    stuck->signal(SIGCONT);
}

TEST_F(AddInExchange, withoutADisplayTheWindowActionsSaySoAndTheAddInGoesOn) {
    const ScopedEnv noX("DISPLAY", std::nullopt), noWayland("WAYLAND_DISPLAY", std::nullopt),
        noPlatform("QT_QPA_PLATFORM", std::nullopt);
    auto addIn = startAddIn("Talvio 1");
    const std::string noDisplay =
        "error No display: neither DISPLAY nor WAYLAND_DISPLAY is set. Talvio's windows need a "
        "graphical session";
    const struct {
        const char *action;
        std::string answer;
    } rows[] = {
        {"about", noDisplay},
        {"panel", noDisplay},
        {"wizard --force", noDisplay},
        {"pick folder", noDisplay},
        {"pick nonsense", "error usage: pick position|folder|color|font [INITIAL]"},
        {"state", "state EditAllowed editor= locked=0 help="},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.action);
        addIn->writeLine(row.action);
        const auto line = addIn->readLine();
        EXPECT_EQ(line.value_or("").substr(0, row.answer.size()), row.answer);
    }
}

TEST(AddInWithoutManager, registeringFailsWithTheRegisterBox) {
    const TempDir dir;
    const ScopedEnv noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + dir.file("no-bus").string());
    ChildProcess addIn(TALVIO_BINARY, {"--settings", dir.file("settings.db").string(), "--messages",
                                       TALVIO_TEST_MESSAGE_FILE, "addin"});
    EXPECT_EQ(addIn.readLine(), std::nullopt) << "no name without a manager";
    EXPECT_EQ(addIn.wait(), 1);
}

} // namespace
} // namespace kvt::test

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
