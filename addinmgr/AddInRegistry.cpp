#include "AddInRegistry.h"

#include "model/CaseInsensitive.h"

namespace addinmgr {

std::string foldedKey(std::string_view key) {
    return kvt::upperCased(key);
}

std::string AddInRegistry::NewAddInName(std::string_view vstrAddInType,
                                        std::string_view registeredAt) {
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
    auto entry =
        mEntries.insert(mEntries.end(), Entry{key, name + ' ' + std::string(registeredAt)});
    mByName.insert_or_assign(std::move(key), entry);
    return name;
}

void AddInRegistry::UnRegister(std::string_view Name) {
    const auto found = mByName.find(foldedKey(Name));
    if (found == mByName.end())
        return;
    mEntries.erase(found->second);
    mByName.erase(found);
}

std::string AddInRegistry::AddInCollectionString() const {
    std::string text;
    for (const Entry &entry : mEntries) {
        text += entry.text;
        text += "\r\n";
    }
    return text;
}

std::int32_t AddInRegistry::LastId(std::string_view strType) const {
    const auto found = mCounters.find(foldedKey(strType));
    return found == mCounters.end() ? 0 : found->second.last;
}

} // namespace addinmgr
