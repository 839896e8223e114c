#include "TraceTree.h"

#include "TraceLimits.h"
#include "engine/NumberFormat.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace kvt::tracer {

namespace {

const std::vector<LineId> kNoChildren;

// Each tree line is one line of text, whatever the client sent.
std::string oneLine(std::string text) {
    for (char &c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

TraceTree::TraceTree(Clock clock)
    : mClock(std::move(clock)) {}

double TraceTree::steadyMilliseconds() {
    using Ms = std::chrono::duration<double, std::milli>;
    return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int16_t TraceTree::FctBegin(const std::string &rstrFct) {
    requireLineLength("A function's name", rstrFct);
    if (mLevel == kDeepestLevel) {
        if (record(mLevel).line != kNoLine)
            addLine(record(mLevel).line, rstrFct, kIconFunction, Reveal::None);
        return mLevel;
    }
    const auto level = static_cast<std::int16_t>(mLevel + 1);
    OpenFunction opened{kNoLine, mClock()};
    if (level == 0)
        opened.line = addLine(kNoLine, rstrFct, kIconFunction, Reveal::Scroll);
    else if (record(mLevel).line != kNoLine)
        opened.line = addLine(record(mLevel).line, rstrFct, kIconFunction, Reveal::None);
    mRecords.push_back(opened);
    mLevel = level;
    return level;
}

void TraceTree::Msg(std::int16_t vintHandle, const std::string &rstrMessage) {
    requireLineLength("A message", rstrMessage);
    addToLevel(vintHandle, rstrMessage, kIconInfo, Reveal::None);
}

void TraceTree::Error(std::int16_t vintHandle, const std::string &rstrMessage) {
    requireLineLength("An error", rstrMessage);
    addToLevel(vintHandle, rstrMessage, kIconError, Reveal::ExpandAndScroll);
}

void TraceTree::FctEnd(std::int16_t vintHandle, const std::string &rstrMotdeFin) {
    requireLineLength("An end word", rstrMotdeFin);
    endFunction(vintHandle, rstrMotdeFin);
}

void TraceTree::endFunction(std::int16_t vintHandle, const std::string &rstrMotdeFin) {
    if (mLevel < 0)
        return;
    if (!rstrMotdeFin.empty())
        addToLevel(vintHandle, rstrMotdeFin, kIconInfo, Reveal::None);
    // A handle outside the open levels has no start time; the level is still closed.
    if (isOpen(vintHandle)) {
        const double elapsed = mClock() - record(vintHandle).start;
        addToLevel(vintHandle, "Temps mis " + formatNumber(elapsed, "#,##0 ms"), kIconClock,
                   Reveal::None);
    }
    lowerLevel();
}

void TraceTree::Clear() {
    mLines.clear();
    mTopLevel.clear();
    mLastLine = kNoLine;
    if (mObserver)
        mObserver->cleared();
}

bool TraceTree::clearAll() {
    if (mLevel != -1)
        return false;
    Clear();
    return true;
}

TraceTree::BranchRemoval TraceTree::removeBranch(LineId id) {
    const auto found = mLines.find(id);
    if (found == mLines.end())
        return BranchRemoval::NoSuchLine;
    if (holdsLastLine(id))
        return BranchRemoval::ActiveBranch;

    std::vector<LineId> &siblings = found->second.line.parent == kNoLine
                                        ? mTopLevel
                                        : mLines[found->second.line.parent].children;
    std::erase(siblings, id);
    // Iterative: a branch may be as deep as the deepest nesting.
    std::vector<LineId> pending{id};
    while (!pending.empty()) {
        const LineId current = pending.back();
        pending.pop_back();
        const auto node = mLines.find(current);
        pending.insert(pending.end(), node->second.children.begin(), node->second.children.end());
        mLines.erase(node);
    }
    if (mObserver)
        mObserver->branchRemoved(id);
    return BranchRemoval::Removed;
}

std::string TraceTree::Text(std::size_t longest) const {
    const auto length = [](const TraceLine &line, std::size_t depth) {
        return 2 * depth + line.icon.size() + 1 + line.text.size() + 1;
    };
    std::size_t whole = 0;
    eachLine([&](const TraceLine &line, std::size_t depth) { whole += length(line, depth); });
    // A text that is cut keeps room for its closing line: "[<20 digits> more ...]".
    constexpr std::size_t kMarkerRoom = 64;
    const std::size_t room = whole <= longest ? whole : longest - std::min(longest, kMarkerRoom);
    std::string text;
    std::size_t shown = 0;
    bool cut = false;
    eachLine([&](const TraceLine &line, std::size_t depth) {
        if (cut || text.size() + length(line, depth) > room) {
            cut = true;
            return;
        }
        text.append(2 * depth, ' ');
        text += line.icon;
        text += ' ';
        text += oneLine(line.text);
        text += '\n';
        ++shown;
    });
    if (cut) {
        text += '[';
        text += std::to_string(lineCount() - shown);
        text += " more lines not shown]\n";
    }
    return text;
}

void TraceTree::eachLine(const std::function<void(const TraceLine &, std::size_t)> &visit) const {
    std::vector<std::pair<LineId, std::size_t>> pending; // line, depth; next line on top
    for (auto it = mTopLevel.rbegin(); it != mTopLevel.rend(); ++it)
        pending.emplace_back(*it, 0);
    while (!pending.empty()) {
        const auto [id, depth] = pending.back();
        pending.pop_back();
        const Node &node = mLines.at(id);
        visit(node.line, depth);
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
            pending.emplace_back(*it, depth + 1);
    }
}

const TraceLine *TraceTree::line(LineId id) const {
    const auto found = mLines.find(id);
    return found == mLines.end() ? nullptr : &found->second.line;
}

const std::vector<LineId> &TraceTree::children(LineId parent) const {
    if (parent == kNoLine)
        return mTopLevel;
    const auto found = mLines.find(parent);
    return found == mLines.end() ? kNoChildren : found->second.children;
}

void TraceTree::addToLevel(std::int16_t handle, const std::string &text, const char *icon,
                           Reveal reveal) {
    if (!isOpen(handle))
        return;
    closeDeeperThan(handle, text);
    // The function's line may be gone (Clear, a removed branch): then nothing is added.
    if (record(handle).line != kNoLine)
        addLine(record(handle).line, text, icon, reveal);
}

// The deeper functions never ended: each is closed as failed, innermost first.
void TraceTree::closeDeeperThan(std::int16_t handle, const std::string &text) {
    while (mLevel > handle) {
        // The quoted report was accepted: its closing lines are not refused for their length.
        addToLevel(mLevel, "Quit on error : " + text, kIconError, Reveal::ExpandAndScroll);
        endFunction(mLevel, {});
    }
}

LineId TraceTree::addLine(LineId parent, const std::string &text, const char *icon, Reveal reveal) {
    std::vector<LineId> *siblings = &mTopLevel;
    if (parent != kNoLine) {
        const auto found = mLines.find(parent);
        if (found == mLines.end())
            return kNoLine;
        siblings = &found->second.children;
    }
    const LineId id = mNextId++;
    siblings->push_back(id);
    const TraceLine &added = mLines[id].line = TraceLine{id, parent, text, icon};
    mLastLine = id;
    if (mObserver)
        mObserver->lineAdded(added, reveal);
    return id;
}

void TraceTree::lowerLevel() {
    mRecords.pop_back();
    --mLevel;
}

bool TraceTree::holdsLastLine(LineId id) const {
    for (LineId current = mLastLine; current != kNoLine;) {
        if (current == id)
            return true;
        const TraceLine *above = line(current);
        current = above != nullptr ? above->parent : kNoLine;
    }
    return false;
}

} // namespace kvt::tracer
