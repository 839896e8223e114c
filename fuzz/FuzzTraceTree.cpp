#include "FuzzCheck.h"
#include "TraceTree.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reports reach the viewer from any client on the bus: every sequence of operations, with any
// handle, must leave the tree consistent.
namespace {

using kvt::tracer::LineId;
using kvt::tracer::TraceTree;

using talvio::fuzz::check;

class Bytes {
public:
    Bytes(const std::uint8_t *data, std::size_t size)
        : mData(data)
        , mSize(size) {}
    bool empty() const { return mPos >= mSize; }
    std::uint8_t byte() { return empty() ? 0 : mData[mPos++]; }
    // Mostly small handles near the open levels, sometimes any 16-bit value.
    std::int16_t handle() {
        const std::uint8_t b = byte();
        if (b < 0xF0)
            return static_cast<std::int16_t>(b % 8 - 1);
        return static_cast<std::int16_t>(byte() << 8 | byte());
    }
    std::string text() {
        const std::size_t length = byte() % 8;
        std::string made;
        for (std::size_t i = 0; i < length && !empty(); ++i)
            made += static_cast<char>(byte());
        return made;
    }

private:
    const std::uint8_t *mData;
    std::size_t mSize;
    std::size_t mPos = 0;
};

// Every line's parent exists and lists it; Text() has one line per tree line.
void checkTree(const TraceTree &tree) {
    check(tree.intLevel() >= -1);
    check(tree.openRecords() == static_cast<std::size_t>(tree.intLevel() + 1));
    std::size_t reachable = 0;
    std::vector<LineId> pending(tree.children(kvt::tracer::kNoLine));
    while (!pending.empty()) {
        const LineId id = pending.back();
        pending.pop_back();
        ++reachable;
        const kvt::tracer::TraceLine *line = tree.line(id);
        check(line != nullptr && line->id == id);
        for (LineId child : tree.children(id)) {
            check(tree.line(child) != nullptr && tree.line(child)->parent == id);
            pending.push_back(child);
        }
    }
    check(reachable == tree.lineCount());
    const std::string text = tree.Text();
    std::size_t lines = 0;
    for (char c : text)
        lines += c == '\n' ? 1 : 0;
    check(lines == tree.lineCount());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Bytes bytes(data, size);
    double now = 0;
    TraceTree tree([&now] { return now; });
    while (!bytes.empty()) {
        now += bytes.byte();
        switch (bytes.byte() % 9) {
        case 0:
        case 1: {
            const std::int16_t before = tree.intLevel();
            const std::int16_t level = tree.FctBegin(bytes.text());
            check(level == tree.intLevel());
            check(level == before + 1 || before == TraceTree::kDeepestLevel);
            break;
        }
        case 2:
            tree.Msg(bytes.handle(), bytes.text());
            break;
        case 3:
            tree.Error(bytes.handle(), bytes.text());
            break;
        case 4: {
            const std::int16_t before = tree.intLevel();
            const std::int16_t handle = bytes.handle();
            tree.FctEnd(handle, bytes.text());
            const bool inRange = handle >= 0 && handle <= before;
            check(before == -1 ? tree.intLevel() == -1
                               : tree.intLevel() == (inRange ? handle - 1 : before - 1));
            break;
        }
        case 5:
            tree.Clear();
            check(tree.lineCount() == 0);
            break;
        case 6: {
            const bool idle = tree.intLevel() == -1;
            check(tree.clearAll() == idle);
            check(!idle || tree.lineCount() == 0);
            break;
        }
        case 7: {
            const LineId target = tree.lastLine() > 0 ? bytes.byte() % (tree.lastLine() + 1) : 0;
            const bool heldLast = target != 0 && target == tree.lastLine();
            const auto outcome = tree.removeBranch(target);
            check(!heldLast || outcome != TraceTree::BranchRemoval::Removed);
            break;
        }
        default:
            tree.Msg(static_cast<std::int16_t>(tree.intLevel() - bytes.byte() % 3), bytes.text());
            break;
        }
        checkTree(tree);
    }
    return 0;
}
