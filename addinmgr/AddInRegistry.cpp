#include "AddInRegistry.h"

#include "model/CaseInsensitive.h"

namespace addinmgr {

std::string foldedKey(std::string_view key) {
    return kvt::upperCased(key);
}

std::string AddInRegistry::NewAddInName(std::string_view vstrAddInType,
                                        std::string_view registeredAt, std::string_view owner) {
    requireNameLength("An add-in type", vstrAddInType);
    const std::int32_t last = LastId(vstrAddInType);
    if (last >= mLastPossibleId)
        throw CounterExhausted("The add-in type \"" + std::string(vstrAddInType)
                               + "\" has used every number up to " + std::to_string(last));
    const std::int32_t next = last + 1;
    // The entry keeps the type as last spelled by a client.
    mCounters.insert_or_assign(foldedKey(vstrAddInType), Counter{next, std::string(vstrAddInType)});

    std::string name = std::string(vstrAddInType) + ' ' + std::to_string(next);
    std::string key = foldedKey(name);
    // The number follows the name's last space, so no other type can have produced this key.
    auto entry = mEntries.insert(
        mEntries.end(), Entry{key, name + ' ' + std::string(registeredAt), std::string(owner)});
    mByName.insert_or_assign(std::move(key), entry);
    ++mOwned[std::string(owner)];
    return name;
}

void AddInRegistry::UnRegister(std::string_view Name) {
    const auto found = mByName.find(foldedKey(Name));
    if (found != mByName.end())
        erase(found->second);
}

std::size_t AddInRegistry::connectionLeft(std::string_view owner) {
    const auto owned = mOwned.find(std::string(owner));
    if (owned == mOwned.end())
        return 0;
    const std::size_t count = owned->second;
    for (auto entry = mEntries.begin(); entry != mEntries.end();)
        if (entry->owner == owner)
            erase(entry++);
        else
            ++entry;
    return count;
}

void AddInRegistry::erase(std::list<Entry>::iterator entry) {
    const auto owned = mOwned.find(entry->owner);
    if (--owned->second == 0)
        mOwned.erase(owned);
    mByName.erase(entry->key);
    mEntries.erase(entry);
}

std::string AddInRegistry::AddInCollectionString() const {
    std::size_t whole = 0;
    for (const Entry &entry : mEntries)
        whole += entry.text.size() + 2;
    // A list that is cut keeps room for its closing line: "[<20 digits> more ...]".
    constexpr std::size_t kMarkerRoom = 64;
    const std::size_t room = whole <= mLongestAnswer ? whole : mLongestAnswer - kMarkerRoom;
    std::string text;
    std::size_t listed = 0;
    for (const Entry &entry : mEntries) {
        if (text.size() + entry.text.size() + 2 > room) {
            text += '[';
            text += std::to_string(mEntries.size() - listed);
            text += " more add-ins not listed]\r\n";
            break;
        }
        text += entry.text;
        text += "\r\n";
        ++listed;
    }
    return text;
}

std::int32_t AddInRegistry::LastId(std::string_view strType) const {
    const auto found = mCounters.find(foldedKey(strType));
    return found == mCounters.end() ? 0 : found->second.last;
}

} // namespace addinmgr
