// A host that runs no Qt event loop, as a spreadsheet's extension: the bus is served on the bus
// module's own thread, and the add-in events reach the host's thread through its poster. The
// other add-in is a host process on the same private bus and settings.
#include "engine/SharedChange.h"
#include "facade/KVTMain.h"
#include "facade/Modules.h"
#include "messages/Message.h"
#include "model/DG.h"
#include "model/Error.h"
#include "model/Registry.h"
#include "support/ChildProcess.h"
#include "support/ErrorMatchers.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"
#include "trace/KVTBug.h"

#include <clocale>
#include <condition_variable>
#include <gtest/gtest.h>
#include <iostream>
#include <unistd.h>

namespace kvt::test {
namespace {

using namespace std::chrono_literals;

// The host's thread as the test plays it: what the bus thread posts waits here until the test
// runs it.
class HostQueue {
public:
    HostPoster poster() {
        return [this](std::function<void()> task) {
            const std::lock_guard lock(mMutex);
            mTasks.push_back(std::move(task));
            mArrived.notify_all();
        };
    }
    // Waits up to 20 s until count tasks are waiting; how many are.
    std::size_t waitFor(std::size_t count) {
        std::unique_lock lock(mMutex);
        mArrived.wait_for(lock, 20s, [&] { return mTasks.size() >= count; });
        return mTasks.size();
    }
    // Runs the waiting tasks once count have come (or the wait ran out); how many ran.
    std::size_t run(std::size_t count) {
        waitFor(count);
        std::vector<std::function<void()>> tasks;
        {
            const std::lock_guard lock(mMutex);
            tasks.swap(mTasks);
        }
        for (const auto &task : tasks)
            task();
        return tasks.size();
    }

private:
    std::mutex mMutex;
    std::condition_variable mArrived;
    std::vector<std::function<void()>> mTasks;
};

struct RecordedEvents final : AddInEventHandler {
    void onAddInEvent(AddInEvent event) override { events.push_back(static_cast<int>(event)); }
    std::vector<int> events;
};

class BusOnOwnThread : public testing::Test {
protected:
    void TearDown() override {
        releaseSharedChange();
        releaseSharedMessage();
        releaseSharedDG();
        setSharedRegistry(nullptr);
    }

    void storeRate(const std::string &rate) {
        ChildProcess command(TALVIO_BINARY,
                             {"--settings", settings, "set-rate", "USD", "EUR", rate});
        EXPECT_EQ(command.wait(), 0);
    }

    std::unique_ptr<ChildProcess> startAddIn(const std::string &expectedName) {
        auto addIn = std::make_unique<ChildProcess>(
            TALVIO_BINARY, std::vector<std::string>{"--settings", settings, "--messages",
                                                    TALVIO_TEST_MESSAGE_FILE, "addin"});
        EXPECT_EQ(addIn->readLine(), "name " + expectedName);
        EXPECT_EQ(addIn->readLine(), "state EditAllowed editor= locked=0 help=");
        return addIn;
    }

    static std::unique_ptr<KVTMain> startedFacade() {
        auto main = std::make_unique<KVTMain>();
        main->init(TALVIO_TEST_MESSAGE_FILE);
        return main;
    }

    static std::string registered(KVTMain &main) {
        std::string name;
        EXPECT_TRUE(main.Register("", "Calc", name));
        return name;
    }

    static double rate(KVTMain &main) { return main.TauxDeChangeConvert("USD", "EUR"); }

    const TempDir dir;
    const std::string settings = dir.file("settings.db").string();
    const ScopedEnv useSettings{"TALVIO_SETTINGS", settings};
    HostQueue host;
};

TEST_F(BusOnOwnThread, theHostGetsTheEventsOfOthersAndOfItsOwnRaisesThroughItsPoster) {
    storeRate("0.9");
    std::unique_ptr<KVTMain> main = startedFacade();
    std::shared_ptr<void> hold;
    {
        const ScopedEnv environmentLocale("LC_ALL", "C.UTF-8");
        hold = serveBusOnOwnThread(host.poster());
    }
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C") << "the host's locale stays";
    EXPECT_EQ(serveBusOnOwnThread([](std::function<void()>) {}), hold);
    EXPECT_EQ(registered(*main), "Calc 1");
    main->RunStateMachine();
    RecordedEvents recorded;
    auto subscription = main->mEventRaiser()->Subscribe(recorded);
    auto other = startAddIn("Talvio 1");
    other->writeLine("names");
    EXPECT_TRUE(other->waitFor("name Calc 1 "));

    // Another add-in saves: the facade reloads once the host runs the event posted to it.
    other->writeLine("set-rate USD EUR 0.8");
    EXPECT_TRUE(other->waitFor("state EditAllowed"));
    EXPECT_DOUBLE_EQ(rate(*main), 0.9);
    EXPECT_EQ(host.run(2), 2u);
    EXPECT_DOUBLE_EQ(rate(*main), 0.8);
    EXPECT_EQ(recorded.events, std::vector<int>{2});

    // The host's own raises: its subscriptions are called back during the raise, which returns.
    const struct {
        void (KVTMain::*flag)(bool);
        AddInStates state;
        const char *otherSees;
        std::vector<int> recorded;
    } raises[] = {
        {&KVTMain::setevtCommonDataEditStart,
         EditRunning,
         "event 1 state EditUnavailable editor=Calc 1 locked=1",
         {2, 1}},
        {&KVTMain::setevtCommonDataEditFinished,
         EditAllowed,
         "event 3 state EditAllowed editor= locked=0",
         {2, 1, 3}},
    };
    for (const auto &raise : raises) {
        SCOPED_TRACE(raise.otherSees);
        ((*main).*raise.flag)(true);
        EXPECT_EQ(main->EditState(), raise.state);
        EXPECT_TRUE(other->waitFor(raise.otherSees));
        EXPECT_EQ(host.run(2), 2u);
        EXPECT_EQ(recorded.events, raise.recorded);
    }

    // An event whose subscription ended before the host ran it is dropped.
    other->writeLine("set-rate USD EUR 0.75");
    EXPECT_EQ(host.waitFor(2), 2u);
    subscription.reset();
    EXPECT_EQ(host.run(2), 2u);
    EXPECT_DOUBLE_EQ(rate(*main), 0.75);
    EXPECT_EQ(recorded.events, (std::vector<int>{2, 1, 3}));

    // A failure on the bus thread reaches the caller as it was thrown there.
    EXPECT_THAT([&] { main->TheAddInMgr().NewAddInName(std::string(257, 'x')); },
                ThrowsError(err::AddInMgr, {"org.talvio.TlvAddInMgr: An add-in type has at most "
                                            "256 characters; this one has 257"}));

    main->Unregister("Calc 1");
    other->writeLine("quit");
    EXPECT_EQ(other->wait(), 0);
    main.reset();
    hold.reset();
}

TEST_F(BusOnOwnThread, endingTheHoldWhileRegisteredEndsTheThreadAndALaterHoldServesAgain) {
    storeRate("0.9");
    auto other = startAddIn("Talvio 1"); // keeps the manager and its numbering
    std::unique_ptr<KVTMain> first = startedFacade();
    std::shared_ptr<void> hold = serveBusOnOwnThread(host.poster());
    EXPECT_EQ(registered(*first), "Calc 1");
    hold.reset();
    EXPECT_THAT([&] { first->TheAddInMgr().AddInCollectionString(); },
                ThrowsError(err::AddInMgr, {"The bus is no longer served: the thread that served "
                                            "it has ended"}));

    hold = serveBusOnOwnThread(host.poster());
    std::unique_ptr<KVTMain> second = startedFacade();
    EXPECT_EQ(registered(*second), "Calc 2");
    second->RunStateMachine();
    other->writeLine("set-rate USD EUR 0.8");
    EXPECT_EQ(host.run(1), 1u) << "the first facade's sink ended with its thread";
    EXPECT_DOUBLE_EQ(rate(*second), 0.8);

    first.reset();
    second.reset();
    hold.reset();
    other->writeLine("quit");
    EXPECT_EQ(other->wait(), 0);
}

TEST_F(BusOnOwnThread, theTraceViewerIsReachedThroughTheBusThreadWhileItServes) {
    EXPECT_THAT([] { serveBusOnOwnThread(nullptr); },
                ThrowsError(err::AddInMgr, {"needs a way to post to the host's thread"}));
    std::shared_ptr<void> hold = serveBusOnOwnThread(host.poster());
    KVTBug trace;
    trace.setActive(true);
    EXPECT_EQ(trace.BeginFct("outer"), 0);
    EXPECT_EQ(trace.BeginFct("inner"), 1);
    hold.reset();
    EXPECT_THAT([&] { trace.Msg(1, "after"); },
                ThrowsError(err::TraceViewer, {"The bus is no longer served"}));
}

// Each row runs in a process of its own, which it ends.
TEST(BusOnOwnThreadProcess, endsCleanlyAndRefusesAHostThreadThatServedTheBus) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const TempDir dir;
    const ScopedEnv useSettings("TALVIO_SETTINGS", dir.file("settings.db").string());
    // Made before Qt's objects of the process, so ended after them, as a host's may be.
    static std::shared_ptr<void> hold;
    static HostQueue host;
    static KVTMain *main = nullptr; // registered until the process ends
    EXPECT_EXIT(
        {
            main = new KVTMain;
            main->init(TALVIO_TEST_MESSAGE_FILE);
            hold = serveBusOnOwnThread(host.poster());
            std::string name;
            main->Register("", "Calc", name);
            std::cerr << "registered " << name << std::endl;
            std::exit(0);
        },
        testing::ExitedWithCode(0), "registered Calc 1");
    EXPECT_EXIT(
        {
            int input[2];
            if (::pipe(input) == 0 && ::close(input[1]) == 0)
                serveLines(input[0], [](const std::string &) { return true; });
            try {
                serveBusOnOwnThread(host.poster());
            } catch (const Error &refusal) {
                std::cerr << refusal.number() << ' ' << refusal.description() << std::endl;
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0),
        "-2147221473 The bus is already served on another thread of this process");
}

} // namespace
} // namespace kvt::test
