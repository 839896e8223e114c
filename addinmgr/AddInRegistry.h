#pragma once

#include "Limits.h"

#include <cstdint>
#include <limits>
#include <list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

namespace addinmgr {

// A type's counter would pass the largest 32-bit number: no further name can be given.
class CounterExhausted : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

// Keys of both collections ignore ASCII case; this is the form they are stored under.
std::string foldedKey(std::string_view key);

// Names every running add-in instance "<type> <n>", n counting from 1 per type, and keeps the
// list of registered instances in registration order, each with the connection that registered
// it. Counters never go down while the program runs, so a name is never given twice, even after
// UnRegister.
class AddInRegistry {
public:
    // lastPossibleId is the highest number a type may reach, longestAnswer the most bytes of
    // AddInCollectionString; lower only to test them.
    explicit AddInRegistry(std::int32_t lastPossibleId = std::numeric_limits<std::int32_t>::max(),
                           std::size_t longestAnswer = kLongestAnswer)
        : mLastPossibleId(lastPossibleId)
        , mLongestAnswer(longestAnswer) {}

    // Registers a new instance of vstrAddInType for the connection owner (none: it stays until
    // UnRegister) and returns its name; registeredAt is the registration time as text, kept in
    // the instance's entry. Throws CounterExhausted, and LimitExceeded for a type longer than
    // kLongestName.
    std::string NewAddInName(std::string_view vstrAddInType, std::string_view registeredAt,
                             std::string_view owner = {});
    // Removes the instance of that name; an unknown name is not an error.
    void UnRegister(std::string_view Name);
    // Removes every instance the connection registered; returns how many there were.
    std::size_t connectionLeft(std::string_view owner);
    // Every entry ("<name> <registration time>") followed by CR LF, in registration order. A
    // list longer than its limit ends after the entries that fit, with the line
    // "[<n> more add-ins not listed]".
    std::string AddInCollectionString() const;
    // The last number given for strType, 0 when none was.
    std::int32_t LastId(std::string_view strType) const;

    std::size_t count() const { return mEntries.size(); }

private:
    struct Entry {
        std::string key;
        std::string text;
        std::string owner;
    };
    void erase(std::list<Entry>::iterator entry);

    struct Counter {
        std::int32_t last = 0;
        std::string type;
    };
    std::int32_t mLastPossibleId;
    std::size_t mLongestAnswer;
    std::list<Entry> mEntries;
    std::unordered_map<std::string, std::size_t> mOwned; // entries per connection
    std::unordered_map<std::string, std::list<Entry>::iterator> mByName;
    std::unordered_map<std::string, Counter> mCounters;
};

} // namespace addinmgr
