#include "model/Error.h"
#include "support/RecordingViewer.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

using Log = std::vector<std::string>;

class TraceClient : public testing::Test {
protected:
    void SetUp() override { viewers.install(); }
    void TearDown() override { setTraceViewerFactory(nullptr); }

    test::RecordingViewers viewers;
};

TEST_F(TraceClient, dropsEveryReportWhileOffAndOpensNoViewer) {
    KVTBug trace;
    int labelsBuilt = 0;
    trace.setModule("Main");
    EXPECT_EQ(trace.BeginFct("Initialisation"), 0);
    EXPECT_EQ(trace.beginWith([&] {
        ++labelsBuilt;
        return std::string("Conversion de 1");
    }),
              0);
    trace.Msg(0, "message");
    trace.Error(0, "error");
    trace.EndFct(0);
    trace.endWith(0, [&] {
        ++labelsBuilt;
        return std::string("Conversion = 1");
    });
    trace.Clear();
    EXPECT_EQ(labelsBuilt, 0);
    EXPECT_EQ(*viewers.opened, 0);
    EXPECT_TRUE(viewers.log->empty());
}

TEST_F(TraceClient, forwardsEveryReportToOneViewerOpenedByTheFirst) {
    KVTBug trace;
    trace.setActive(true);
    trace.setModule("Main");
    const std::int16_t outer = trace.BeginFct("Initialisation");
    const std::int16_t inner = trace.beginWith([] { return std::string("ShowCP"); });
    trace.Msg(inner, "hello");
    trace.Error(inner, "oops");
    trace.EndFct(inner);
    trace.endWith(outer, [] { return std::string("Taux = 2"); });
    trace.Clear();
    EXPECT_EQ(*viewers.opened, 1);
    EXPECT_EQ(*viewers.log,
              (Log{"Title Main", "FctBegin Initialisation -> 1", "FctBegin ShowCP -> 2",
                   "Msg 2 hello", "Error 2 oops", "FctEnd 2 ", "FctEnd 1 Taux = 2", "Clear"}));
}

TEST_F(TraceClient, turningOffKeepsTheViewerForWhenTracingResumes) {
    KVTBug trace;
    trace.setActive(true);
    const std::int16_t open = trace.BeginFct("left open");
    trace.setActive(false);
    trace.EndFct(open);
    trace.setActive(true);
    trace.Msg(1, "again");
    EXPECT_EQ(*viewers.opened, 1);
    EXPECT_EQ(*viewers.log, (Log{"FctBegin left open -> 1", "Msg 1 again"}));
}

TEST_F(TraceClient, storedSwitchTurnsTracingOnOnlyForOnInAnyCase) {
    struct Row {
        const char *stored;
        bool on;
    };
    const Row rows[] = {{"ON", true},   {"on", true}, {"On", true}, {"OFF", false},
                        {"yes", false}, {"1", false}, {"", false},  {" ON", false}};
    for (const Row &row : rows) {
        KVTBug trace;
        switchTracing(trace, row.stored, "Change");
        EXPECT_EQ(trace.Active(), row.on) << row.stored;
    }
    EXPECT_EQ(*viewers.log, (Log{"Title Change", "Title Change", "Title Change"}));
}

TEST_F(TraceClient, aReportFailsWhenTheViewerCannotBeReached) {
    setTraceViewerFactory(nullptr);
    KVTBug trace;
    trace.setActive(true);
    EXPECT_THROW(trace.BeginFct("Initialisation"), Error);
    trace.setActive(false);
    EXPECT_EQ(trace.BeginFct("Initialisation"), 0); // off: nothing to reach
}

TEST_F(TraceClient, theSharedClientIsOnePerProcessUntilReplaced) {
    EXPECT_EQ(sharedTrace(), sharedTrace());
    auto own = std::make_shared<KVTBug>();
    setSharedTrace(own);
    EXPECT_EQ(sharedTrace(), own);
    setSharedTrace(nullptr);
    EXPECT_NE(sharedTrace(), own);
}

} // namespace
} // namespace kvt
