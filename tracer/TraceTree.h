#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvt::tracer {

// A line of the trace tree. Ids are handed out in the order lines are added and never reused,
// so a report that still refers to a removed line finds nothing instead of a stranger's line.
using LineId = std::uint64_t;
inline constexpr LineId kNoLine = 0;

// The icon keys of the trace window.
inline constexpr const char *kIconFunction = "FCT";
inline constexpr const char *kIconInfo = "INFO";
inline constexpr const char *kIconError = "ERROR";
inline constexpr const char *kIconClock = "CLOCK";

struct TraceLine {
    LineId id = kNoLine;
    LineId parent = kNoLine; // kNoLine: a top-level line
    std::string text;
    std::string icon;
};

// How the window brings a new line into view.
enum class Reveal {
    None,
    Scroll,          // scroll so that the line is visible
    ExpandAndScroll, // open its ancestors too
};

// The window follows the tree through these notifications.
class TraceTreeObserver {
public:
    virtual ~TraceTreeObserver() = default;
    virtual void lineAdded(const TraceLine &line, Reveal reveal) = 0;
    // The line and every line below it are gone.
    virtual void branchRemoved(LineId line) = 0;
    virtual void cleared() = 0;
};

// The state of one trace window without the window: the lines, the current nesting level and,
// for each open level, the function's line and start time. A handle is a nesting level. A report
// whose text is longer than kLongestLine is refused with LimitExceeded before anything changes;
// no other report fails: whatever cannot be done (a handle outside the open levels, a function
// line removed meanwhile) is skipped and the rest of the report goes on.
class TraceTree {
public:
    // Milliseconds from an arbitrary origin; only differences are shown.
    using Clock = std::function<double()>;

    // Functions nest at most this deep; deeper ones are shown under the deepest open one and
    // share its level, so that a runaway client cannot exhaust the viewer.
    static constexpr std::int16_t kDeepestLevel = 999;

    explicit TraceTree(Clock clock = steadyMilliseconds);

    void setObserver(TraceTreeObserver *observer) { mObserver = observer; }

    // The current nesting level: -1 while no function is open.
    std::int16_t intLevel() const { return mLevel; }
    std::size_t openRecords() const { return mRecords.size(); }

    std::int16_t FctBegin(const std::string &rstrFct);
    void Msg(std::int16_t vintHandle, const std::string &rstrMessage);
    void Error(std::int16_t vintHandle, const std::string &rstrMessage);
    void FctEnd(std::int16_t vintHandle, const std::string &rstrMotdeFin = {});
    void Clear();

    // "L'arbre": empties the tree unless a function is still open (then false, nothing removed).
    bool clearAll();

    enum class BranchRemoval { Removed, ActiveBranch, NoSuchLine };
    // "La branche": removes the line and all lines below it, unless it holds the most recent
    // line (the branch that is being written to).
    BranchRemoval removeBranch(LineId line);

    // The tree as text, one line per tree line in display order: two spaces per depth, the icon
    // key, a space, the line's text. Line breaks inside a text are written as spaces. A text
    // longer than longest bytes ends after the lines that fit, with the line
    // "[<n> more lines not shown]".
    std::string Text(std::size_t longest = std::numeric_limits<std::size_t>::max()) const;

    const TraceLine *line(LineId id) const;
    const std::vector<LineId> &children(LineId parent) const; // kNoLine: the top-level lines
    std::size_t lineCount() const { return mLines.size(); }
    LineId lastLine() const { return mLastLine; }

    static double steadyMilliseconds();

private:
    struct Node {
        TraceLine line;
        std::vector<LineId> children;
    };
    struct OpenFunction {
        LineId line = kNoLine;
        double start = 0;
    };

    // Calls visit(line, depth) for every line in display order.
    void eachLine(const std::function<void(const TraceLine &, std::size_t)> &visit) const;
    bool isOpen(std::int16_t handle) const { return handle >= 0 && handle <= mLevel; }
    OpenFunction &record(std::int16_t handle) { return mRecords[static_cast<std::size_t>(handle)]; }
    void addToLevel(std::int16_t handle, const std::string &text, const char *icon, Reveal reveal);
    void closeDeeperThan(std::int16_t handle, const std::string &text);
    void endFunction(std::int16_t handle, const std::string &endWord);
    LineId addLine(LineId parent, const std::string &text, const char *icon, Reveal reveal);
    void lowerLevel();
    bool holdsLastLine(LineId id) const;

    Clock mClock;
    TraceTreeObserver *mObserver = nullptr;
    std::int16_t mLevel = -1;
    std::vector<OpenFunction> mRecords; // one per open level: always intLevel + 1 entries
    std::unordered_map<LineId, Node> mLines;
    std::vector<LineId> mTopLevel;
    LineId mNextId = 1;
    LineId mLastLine = kNoLine;
};

} // namespace kvt::tracer
