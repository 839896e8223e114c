// Drives the add-in manager's state with operation sequences read from the input and checks
// it against a plain model after every step: names unique while the program runs, counters
// that only go up, the editor's owner consistent, subscribers unique and in order, and the
// program held exactly while a caller or a subscription holds it.
#include "AddInRegistry.h"
#include "ClientState.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using talvio::fuzz::check;

class Input {
public:
    Input(const std::uint8_t *data, std::size_t size)
        : mData(data)
        , mSize(size) {}

    bool empty() const { return mAt >= mSize; }
    std::uint8_t byte() { return mAt < mSize ? mData[mAt++] : 0; }
    // A short text: either one of a few that collide in case, or up to 4 raw bytes.
    std::string text() {
        static const char *const known[] = {"Sheet", "SHEET", "sheet", "Notes", "A", "A 1", ""};
        const std::uint8_t pick = byte();
        if (pick < 200)
            return known[pick % std::size(known)];
        std::string raw;
        for (int n = pick % 5; n > 0; --n)
            raw += static_cast<char>(byte());
        return raw;
    }
    std::string connection() { return ":1." + std::to_string(byte() % 4); }
    std::string path() { return "/s" + std::to_string(byte() % 3); }

private:
    const std::uint8_t *mData;
    std::size_t mSize;
    std::size_t mAt = 0;
};

using SubscriberModel = std::vector<std::pair<std::string, std::string>>;

void checkSubscribers(const addinmgr::ClientState &state, const SubscriberModel &model,
                      const std::set<std::string> &callers) {
    const auto &all = state.subscribers.all();
    check(all.size() == model.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        check(all[i].connection == model[i].first && all[i].path == model[i].second);
    check(state.isHeld() == (!callers.empty() || !model.empty()));
    const auto &editor = state.editor;
    check(editor.CommonDataEditor().empty() == editor.owner().empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Input input(data, size);
    const std::int32_t limit = 1 + input.byte() % 8;
    addinmgr::AddInRegistry registry(limit);
    addinmgr::ClientState state;

    std::map<std::string, std::int32_t> counters; // by folded type
    std::set<std::string> given;                  // folded names given this run
    std::vector<std::string> registered;          // names in registration order
    SubscriberModel subscribers;
    std::set<std::string> callers;

    while (!input.empty()) {
        switch (input.byte() % 10) {
        case 0: {
            const std::string type = input.text();
            const std::string key = addinmgr::foldedKey(type);
            const std::int32_t before = registry.LastId(type);
            check(before == counters[key]);
            try {
                const std::string name = registry.NewAddInName(type, "t");
                check(before < limit);
                check(name == type + ' ' + std::to_string(before + 1));
                check(given.insert(addinmgr::foldedKey(name)).second);
                counters[key] = before + 1;
                registered.push_back(name);
            } catch (const addinmgr::CounterExhausted &) {
                check(before == limit);
            }
            check(registry.LastId(type) == counters[key]);
            break;
        }
        case 1: {
            const std::string name = input.text();
            registry.UnRegister(name);
            std::erase_if(registered, [&](const std::string &r) {
                return addinmgr::foldedKey(r) == addinmgr::foldedKey(name);
            });
            break;
        }
        case 2: {
            // Every registered instance is one CR LF line, in order.
            std::string expected;
            for (const std::string &name : registered)
                expected += name + " t\r\n";
            check(registry.AddInCollectionString() == expected);
            break;
        }
        case 3: {
            const std::string name = input.text();
            const std::string caller = input.connection();
            const std::string before = state.editor.CommonDataEditor();
            const bool claimed = state.editor.ClaimCommonDataEditor(name, caller);
            check(claimed == (!name.empty() && (before.empty() || before == name)));
            check(state.editor.CommonDataEditor() == (claimed ? name : before));
            if (claimed)
                check(state.editor.owner() == caller);
            break;
        }
        case 4: {
            const std::string name = input.text();
            const std::string caller = input.connection();
            state.editor.setCommonDataEditor(name, caller);
            check(state.editor.owner() == (name.empty() ? "" : caller));
            break;
        }
        case 5: {
            const std::string connection = input.connection();
            const std::string path = input.path();
            state.subscribers.subscribe(connection, path);
            if (std::find(subscribers.begin(), subscribers.end(), std::pair(connection, path))
                == subscribers.end())
                subscribers.emplace_back(connection, path);
            break;
        }
        case 6: {
            const std::string connection = input.connection();
            const std::string path = input.path();
            state.subscribers.unsubscribe(connection, path);
            std::erase(subscribers, std::pair(connection, path));
            break;
        }
        case 7: {
            const std::string connection = input.connection();
            const bool owned =
                !state.editor.CommonDataEditor().empty() && state.editor.owner() == connection;
            check(state.connectionLeft(connection) == owned);
            if (owned)
                check(state.editor.CommonDataEditor().empty());
            std::erase_if(subscribers, [&](const auto &s) { return s.first == connection; });
            callers.erase(connection);
            check(!state.holds(connection));
            break;
        }
        case 8: {
            const std::string connection = input.connection();
            state.noteCall(connection);
            callers.insert(connection);
            break;
        }
        case 9: {
            const std::string connection = input.connection();
            state.release(connection);
            callers.erase(connection);
            break;
        }
        }
        checkSubscribers(state, subscribers, callers);
    }
    return 0;
}
