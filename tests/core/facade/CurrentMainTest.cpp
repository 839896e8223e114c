#include "facade/KVTMain.h"
#include "support/RecordingViewer.h"
#include "trace/KVTBug.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kvt {
namespace {

// A script of creations ("+a") and ends ("-a") of named facades, and the facade CurrentMain
// designates afterwards ("" for none).
struct Row {
    std::vector<std::string> steps;
    std::string current;
};

TEST(CurrentMain, designatesTheLatestLivingFacade) {
    const Row rows[] = {
        {{}, ""},
        {{"+a"}, "a"},
        {{"+a", "+b"}, "b"},
        {{"+a", "-a"}, ""},
        {{"+a", "+b", "-b"}, "a"},
        {{"+a", "+b", "-a"}, "b"},
        {{"+a", "+b", "+c", "-c", "-b"}, "a"},
        {{"+a", "+b", "+c", "-b", "-c"}, "a"},
        {{"+a", "+b", "-b", "+c"}, "c"},
        {{"+a", "+b", "-a", "-b"}, ""},
    };
    for (const Row &row : rows) {
        std::map<std::string, std::unique_ptr<KVTMain>> facades;
        for (const std::string &step : row.steps) {
            const std::string name = step.substr(1);
            if (step[0] == '+')
                facades[name] = std::make_unique<KVTMain>();
            else
                facades.erase(name);
        }
        const KVTMain *expected = row.current.empty() ? nullptr : facades.at(row.current).get();
        EXPECT_EQ(CurrentMain(), expected) << testing::PrintToString(row.steps);
    }
}

TEST(CurrentMain, creationAndEndAreTracedAndLeaveTheFieldsAtTheirStart) {
    auto trace = std::make_shared<KVTBug>();
    setSharedTrace(trace);
    test::RecordingViewers viewers;
    viewers.install();
    trace->setActive(true);
    {
        KVTMain main;
        EXPECT_EQ(main.EditState(), EditUnknown);
        EXPECT_FALSE(main.mFirstTimeShown);
        EXPECT_FALSE(main.blnCpLocked);
        EXPECT_EQ(main.mChange, nullptr);
        EXPECT_TRUE(main.AddInName().empty());
        EXPECT_TRUE(main.ColVBAWindows()->empty());
    }
    EXPECT_EQ(*viewers.log,
              (std::vector<std::string>{"FctBegin Class_Initialize KVTMain -> 1", "FctEnd 1 ",
                                        "FctBegin Class_Terminate KVTMain -> 1", "FctEnd 1 "}));
    setTraceViewerFactory(nullptr);
    setSharedTrace(nullptr);
}

} // namespace
} // namespace kvt
