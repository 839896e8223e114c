#include "TraceTree.h"

#include "TraceLimits.h"
#include "support/ScopedNumericLocale.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace kvt::tracer {
namespace {

// A tree on a hand-driven clock.
struct ClockedTree {
    double now = 0;
    TraceTree tree{[this] {
        return now;
    }};
};

using Script = std::function<std::vector<int>(ClockedTree &)>;

struct ReportRow {
    const char *name;
    Script script; // returns the handles FctBegin gave
    std::vector<int> handles;
    const char *text;
    int level;
};

TEST(TraceTreeReports, buildTheTreeAndKeepTheLevel) {
    test::ScopedNumericLocale c = test::cLocale();
    const ReportRow rows[] = {
        {"the first function is a top-level line at level 0",
         [](ClockedTree &t) { return std::vector<int>{t.tree.FctBegin("A")}; },
         {0},
         "FCT A\n",
         0},
        {"a nested function is a child at level 1",
         [](ClockedTree &t) {
             return std::vector<int>{t.tree.FctBegin("A"), t.tree.FctBegin("B")};
         },
         {0, 1},
         "FCT A\n  FCT B\n",
         1},
        {"a message and an error at the open level are its children",
         [](ClockedTree &t) {
             const int a = t.tree.FctBegin("A");
             t.tree.Msg(0, "m");
             t.tree.Error(0, "e");
             return std::vector<int>{a};
         },
         {0},
         "FCT A\n  INFO m\n  ERROR e\n",
         0},
        {"a message for an outer level closes the deeper ones as failed",
         [](ClockedTree &t) {
             std::vector<int> handles{t.tree.FctBegin("A"), t.tree.FctBegin("B"),
                                      t.tree.FctBegin("C")};
             t.now = 5;
             t.tree.Msg(0, "T");
             return handles;
         },
         {0, 1, 2},
         "FCT A\n  FCT B\n    FCT C\n      ERROR Quit on error : T\n      CLOCK Temps mis 5 ms\n"
         "    ERROR Quit on error : T\n    CLOCK Temps mis 5 ms\n  INFO T\n",
         0},
        {"an end adds the end word then the time taken",
         [](ClockedTree &t) {
             const int a = t.tree.FctBegin("A");
             t.now = 1234;
             t.tree.FctEnd(0, "E");
             return std::vector<int>{a};
         },
         {0},
         "FCT A\n  INFO E\n  CLOCK Temps mis 1234 ms\n",
         -1},
        {"an end without end word adds only the time",
         [](ClockedTree &t) {
             const int a = t.tree.FctBegin("A");
             t.now = 0.4;
             t.tree.FctEnd(0);
             return std::vector<int>{a};
         },
         {0},
         "FCT A\n  CLOCK Temps mis 0 ms\n",
         -1},
        {"ending an outer function closes the inner one as failed",
         [](ClockedTree &t) {
             std::vector<int> handles{t.tree.FctBegin("A"), t.tree.FctBegin("B")};
             t.now = 2;
             t.tree.FctEnd(0);
             return handles;
         },
         {0, 1},
         "FCT A\n  FCT B\n    ERROR Quit on error : Temps mis 2 ms\n    CLOCK Temps mis 2 ms\n"
         "  CLOCK Temps mis 2 ms\n",
         -1},
        {"functions after an ended one are top-level again",
         [](ClockedTree &t) {
             std::vector<int> handles{t.tree.FctBegin("A")};
             t.tree.FctEnd(0);
             handles.push_back(t.tree.FctBegin("B"));
             return handles;
         },
         {0, 0},
         "FCT A\n  CLOCK Temps mis 0 ms\nFCT B\n",
         0},
        {"reports while nothing is open change nothing",
         [](ClockedTree &t) {
             t.tree.Msg(0, "m");
             t.tree.Error(0, "e");
             t.tree.FctEnd(0, "E");
             t.tree.FctEnd(-1, "E");
             return std::vector<int>{};
         },
         {},
         "",
         -1},
        {"handles outside the open levels add nothing",
         [](ClockedTree &t) {
             const int a = t.tree.FctBegin("A");
             t.tree.Msg(1, "above");
             t.tree.Error(-1, "below");
             t.tree.Msg(32767, "far above");
             t.tree.Error(-32768, "far below");
             return std::vector<int>{a};
         },
         {0},
         "FCT A\n",
         0},
        {"an end with a handle above the level skips the time but closes a level",
         [](ClockedTree &t) {
             std::vector<int> handles{t.tree.FctBegin("A"), t.tree.FctBegin("B")};
             t.tree.FctEnd(7, "E");
             return handles;
         },
         {0, 1},
         "FCT A\n  FCT B\n",
         0},
        {"Clear removes the lines and keeps the open levels",
         [](ClockedTree &t) {
             std::vector<int> handles{t.tree.FctBegin("A"), t.tree.FctBegin("B")};
             t.tree.Clear();
             return handles;
         },
         {0, 1},
         "",
         1},
        {"stale handles after Clear add nothing, until a new top-level function",
         [](ClockedTree &t) {
             std::vector<int> handles{t.tree.FctBegin("A")};
             t.tree.Clear();
             t.tree.Msg(0, "lost");
             handles.push_back(t.tree.FctBegin("lost too"));
             t.tree.Error(1, "lost as well");
             t.tree.FctEnd(1, "gone");
             t.tree.FctEnd(0, "gone");
             handles.push_back(t.tree.FctBegin("C"));
             return handles;
         },
         {0, 1, 0},
         "FCT C\n",
         0},
        {"line breaks inside a text stay on one line",
         [](ClockedTree &t) {
             const int a = t.tree.FctBegin("two\nlines\r");
             return std::vector<int>{a};
         },
         {0},
         "FCT two lines \n",
         0},
    };
    for (const ReportRow &row : rows) {
        ClockedTree t;
        EXPECT_EQ(row.script(t), row.handles) << row.name;
        EXPECT_EQ(t.tree.Text(), row.text) << row.name;
        EXPECT_EQ(t.tree.intLevel(), row.level) << row.name;
        EXPECT_EQ(t.tree.openRecords(), static_cast<std::size_t>(row.level + 1)) << row.name;
    }
}

TEST(TraceTreeReports, timeTakenIsGroupedWithTheSystemSeparator) {
    struct Row {
        std::function<test::ScopedNumericLocale()> locale;
        double elapsed;
        const char *line;
    };
    const Row rows[] = {
        {[] {
             return test::ScopedNumericLocale{"en_US.UTF-8", "en_US.utf8", "en_US"};
         },
         1234, "Temps mis 1,234 ms"},
        {[] {
             return test::ScopedNumericLocale{"en_US.UTF-8", "en_US.utf8", "en_US"};
         },
         1234567.5, "Temps mis 1,234,568 ms"},
        {test::germanLocale, 1234, "Temps mis 1.234 ms"},
        {test::cLocale, 1234, "Temps mis 1234 ms"},
    };
    for (const Row &row : rows) {
        test::ScopedNumericLocale locale = row.locale();
        if (!locale.ok())
            GTEST_SKIP() << "locale not installed (Debian: locales-all)";
        ClockedTree t;
        t.tree.FctBegin("A");
        t.now = row.elapsed;
        t.tree.FctEnd(0);
        const TraceLine *timeLine = t.tree.line(t.tree.lastLine());
        ASSERT_NE(timeLine, nullptr);
        EXPECT_EQ(timeLine->text, row.line) << locale.name();
        EXPECT_EQ(timeLine->icon, kIconClock);
    }
}

TEST(TraceTreeReports, nestingStopsAtTheDeepestLevel) {
    ClockedTree t;
    for (int level = 0; level <= TraceTree::kDeepestLevel; ++level)
        ASSERT_EQ(t.tree.FctBegin("f"), level);
    const LineId deepest = t.tree.lastLine();
    EXPECT_EQ(t.tree.FctBegin("too deep"), TraceTree::kDeepestLevel);
    EXPECT_EQ(t.tree.openRecords(), static_cast<std::size_t>(TraceTree::kDeepestLevel) + 1);
    EXPECT_EQ(t.tree.line(t.tree.lastLine())->parent, deepest);
    t.tree.Msg(0, "unwind"); // closes every level without exhausting the stack
    EXPECT_EQ(t.tree.intLevel(), 0);
    const TraceLine *unwound = t.tree.line(t.tree.lastLine());
    ASSERT_NE(unwound, nullptr);
    EXPECT_EQ(unwound->text, "unwind");
    EXPECT_EQ(unwound->parent, t.tree.children(kNoLine).front());
}

// A finished function "A" (with its time line), then an open function "B" with one message.
struct TwoBranches : ClockedTree {
    LineId a, aTime, b, bMessage;
    TwoBranches() {
        tree.FctBegin("A");
        a = tree.lastLine();
        tree.FctEnd(0);
        aTime = tree.lastLine();
        tree.FctBegin("B");
        b = tree.lastLine();
        tree.Msg(0, "m");
        bMessage = tree.lastLine();
    }
};

TEST(TraceTreeButtons, aBranchHoldingTheLatestLineCannotBeRemoved) {
    using Removal = TraceTree::BranchRemoval;
    struct Row {
        const char *name;
        LineId TwoBranches::*line;
        Removal outcome;
        const char *text;
    };
    const Row rows[] = {
        {"an earlier branch", &TwoBranches::a, Removal::Removed, "FCT B\n  INFO m\n"},
        {"a line of an earlier branch", &TwoBranches::aTime, Removal::Removed,
         "FCT A\nFCT B\n  INFO m\n"},
        {"the open function", &TwoBranches::b, Removal::ActiveBranch,
         "FCT A\n  CLOCK Temps mis 0 ms\nFCT B\n  INFO m\n"},
        {"the latest line", &TwoBranches::bMessage, Removal::ActiveBranch,
         "FCT A\n  CLOCK Temps mis 0 ms\nFCT B\n  INFO m\n"},
    };
    for (const Row &row : rows) {
        TwoBranches t;
        EXPECT_EQ(t.tree.removeBranch(t.*row.line), row.outcome) << row.name;
        EXPECT_EQ(t.tree.Text(), row.text) << row.name;
    }
    TwoBranches t;
    EXPECT_EQ(t.tree.removeBranch(t.bMessage + 100), Removal::NoSuchLine);
    EXPECT_EQ(t.tree.removeBranch(kNoLine), Removal::NoSuchLine);
}

TEST(TraceTreeButtons, anEarlierBranchGoesEvenWhenItsTextsRecurInTheActiveOne) {
    // Same labels as the active branch, and a one-letter text that occurs inside it.
    ClockedTree t;
    t.tree.FctBegin("Conversion");
    t.tree.Msg(0, "e");
    const LineId earlierMessage = t.tree.lastLine();
    t.tree.FctEnd(0);
    const LineId earlier = t.tree.children(kNoLine).front();
    t.tree.FctBegin("Conversion");
    t.tree.Msg(0, "Taux = e");
    EXPECT_EQ(t.tree.removeBranch(earlierMessage), TraceTree::BranchRemoval::Removed);
    EXPECT_EQ(t.tree.removeBranch(earlier), TraceTree::BranchRemoval::Removed);
    EXPECT_EQ(t.tree.Text(), "FCT Conversion\n  INFO Taux = e\n");
}

TEST(TraceTreeButtons, reportsAfterAnEarlierBranchWentLandUnderTheirOwnFunction) {
    TwoBranches t;
    ASSERT_EQ(t.tree.removeBranch(t.a), TraceTree::BranchRemoval::Removed);
    t.tree.Error(0, "late");
    EXPECT_EQ(t.tree.Text(), "FCT B\n  INFO m\n  ERROR late\n");
}

TEST(TraceTreeButtons, theWholeTreeGoesOnlyWhenNoFunctionIsOpen) {
    TwoBranches open;
    EXPECT_FALSE(open.tree.clearAll());
    EXPECT_EQ(open.tree.lineCount(), 4u);
    open.tree.FctEnd(0);
    EXPECT_TRUE(open.tree.clearAll());
    EXPECT_EQ(open.tree.lineCount(), 0u);
    EXPECT_EQ(open.tree.Text(), "");
}

// Each report's text has at most 64 KiB; a longer one is refused before anything changes.
TEST(TraceTreeLimits, refuseAReportOver64KiBStatingTheLimitAndChangeNothing) {
    const std::string longest(64 * 1024, 'x');
    const std::string tooLong = longest + "yz";
    using Report = std::function<void(TraceTree &, const std::string &)>;
    const struct {
        const char *subject;
        Report report;
    } rows[] = {
        {"A function's name",
         [](TraceTree &t, const std::string &s) {
             t.FctBegin(s);
         }},
        {"A message",
         [](TraceTree &t, const std::string &s) {
             t.Msg(1, s);
         }},
        {"An error",
         [](TraceTree &t, const std::string &s) {
             t.Error(0, s);
         }},
        {"An end word",
         [](TraceTree &t, const std::string &s) {
             t.FctEnd(0, s);
         }},
    };
    for (const auto &row : rows) {
        ClockedTree t;
        t.tree.FctBegin("A");
        t.tree.FctBegin("B");
        try {
            row.report(t.tree, tooLong);
            ADD_FAILURE() << row.subject << " of 65538 bytes accepted";
        } catch (const LimitExceeded &refused) {
            EXPECT_EQ(std::string(refused.what()),
                      std::string(row.subject) + " has at most 65536 bytes; this one has 65538");
        }
        EXPECT_EQ(t.tree.Text(), "FCT A\n  FCT B\n") << row.subject;
        EXPECT_EQ(t.tree.intLevel(), 1) << row.subject;
        row.report(t.tree, longest);
        EXPECT_GT(t.tree.lineCount(), 2u) << row.subject << " of 65536 bytes refused";
    }
}

TEST(TraceTreeLimits, aLongestMessageStillClosesTheDeeperFunctionsAsFailed) {
    test::ScopedNumericLocale c = test::cLocale();
    ClockedTree t;
    t.tree.FctBegin("A");
    t.tree.FctBegin("B");
    t.tree.Msg(0, std::string(64 * 1024, 'x'));
    EXPECT_EQ(t.tree.intLevel(), 0);
    EXPECT_EQ(t.tree.lineCount(), 5u); // A, B, B's error and time, the message
}

// Lines of 6, 48, 49 and 48 bytes, 151 in all. A text that is cut keeps 64 bytes for its last
// line.
TEST(TraceTreeText, endsWithTheCountOfLinesLeftOutWhenItPassesItsLimit) {
    const std::string x(40, 'x');
    const std::string y(40, 'y');
    const std::string whole = "FCT A\n  INFO " + x + "\n  ERROR " + y + "\n  INFO " + x + "\n";
    const struct {
        std::size_t longest;
        std::string text;
    } rows[] = {
        {151, whole},
        {150, "FCT A\n  INFO " + x + "\n[2 more lines not shown]\n"},
        {102, "FCT A\n[3 more lines not shown]\n"},
        {69, "[4 more lines not shown]\n"},
    };
    ClockedTree t;
    t.tree.FctBegin("A");
    t.tree.Msg(0, x);
    t.tree.Error(0, y);
    t.tree.Msg(0, x);
    EXPECT_EQ(t.tree.Text(), whole);
    for (const auto &row : rows)
        EXPECT_EQ(t.tree.Text(row.longest), row.text) << row.longest;
}

TEST(TraceWindowLimits, allowAHundredWindowsPerClientAndAThousandInAll) {
    const struct {
        std::size_t held;
        std::size_t inAll;
        const char *refusal; // nullptr: room for one more
    } rows[] = {
        {0, 0, nullptr},
        {99, 999, nullptr},
        {100, 100, "A client holds at most 100 trace windows at a time"},
        {0, 1000, "The viewer holds at most 1000 trace windows at a time"},
    };
    for (const auto &row : rows) {
        try {
            requireWindowRoom(row.held, row.inAll);
            EXPECT_EQ(row.refusal, nullptr) << row.held << ' ' << row.inAll;
        } catch (const LimitExceeded &refused) {
            ASSERT_NE(row.refusal, nullptr) << refused.what();
            EXPECT_STREQ(refused.what(), row.refusal);
        }
    }
}

} // namespace
} // namespace kvt::tracer
