#include "model/Collections.h"
#include "model/Devise.h"

#include <algorithm>

namespace kvt {

void ColDevises::PermuteItems(std::int32_t Index1, std::int32_t Index2) {
    if (Index1 == Index2)
        return;
    const std::int32_t high = std::max(Index1, Index2);
    const std::int32_t low = std::min(Index1, Index2);
    // Look both up (and their codes) before removing anything, so that a bad position or a
    // currency without code alias leaves the selection untouched.
    const std::shared_ptr<Devise> atHigh = Item(high);
    const std::shared_ptr<Devise> atLow = Item(low);
    const std::string highCode = atHigh->ISO();
    const std::string lowCode = atLow->ISO();
    for (const std::string &code : {highCode, lowCode}) {
        const Devise *holder = find(code);
        if (holder != nullptr && holder != atHigh.get() && holder != atLow.get())
            detail::throwDuplicateKey(code);
    }

    Remove(low);
    Remove(high - 1); // the higher item has moved down by one
    if (Count() == 0) {
        Add(atHigh, highCode);
        AddAfter(atLow, lowCode, 1);
        return;
    }
    if (low == 1)
        AddBefore(atHigh, highCode, 1);
    else
        AddAfter(atHigh, highCode, low - 1);
    AddAfter(atLow, lowCode, high - 1);
}

} // namespace kvt
