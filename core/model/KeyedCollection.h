#pragma once

#include "kvt_export.h"
#include "model/CaseInsensitive.h"
#include "model/Error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

namespace detail {
// Counts every change to the membership of any collection, every replacement of a record's
// collection and every change of a selected currency's legal pattern or euro membership, so
// that a cache of lookups can tell it is still valid. The library runs on one thread. One
// exported definition: a change made by inline code compiled into a host counts too.
KVT_EXPORT extern std::uint64_t collectionGeneration;
inline void collectionsChanged() {
    ++collectionGeneration;
}

[[noreturn]] KVT_EXPORT void throwKeyNotFound(std::string_view key);
[[noreturn]] KVT_EXPORT void throwDuplicateKey(std::string_view key);
[[noreturn]] KVT_EXPORT void throwPositionOutOfRange(std::int64_t position, std::size_t count);
} // namespace detail

// A case-insensitive index from key to item: open addressing over a power-of-two table kept
// at most half full, so that a lookup is one hash, a mask and usually one comparison.
template<class Item>
class KeyIndex {
public:
    const Item *find(std::string_view key) const noexcept {
        if (mSlots.empty())
            return nullptr;
        const std::uint64_t hash = caseInsensitiveHash(key);
        const std::size_t mask = mSlots.size() - 1;
        for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
            const Slot &slot = mSlots[i];
            if (!slot.used)
                return nullptr;
            if (slot.hash == hash && equalsIgnoreCase(slot.key, key))
                return &slot.item;
        }
    }

    // The key must not be present yet.
    void insert(std::string_view key, Item item) {
        if (2 * (mCount + 1) > mSlots.size())
            grow();
        place(Slot{caseInsensitiveHash(key), std::string(key), std::move(item), true});
        ++mCount;
    }

    void clear() {
        mSlots.clear();
        mCount = 0;
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::string key;
        Item item{};
        bool used = false;
    };

    void grow() {
        std::vector<Slot> old(std::max<std::size_t>(16, mSlots.size() * 2));
        old.swap(mSlots);
        for (Slot &slot : old)
            if (slot.used)
                place(std::move(slot));
    }

    void place(Slot slot) {
        const std::size_t mask = mSlots.size() - 1;
        std::size_t i = static_cast<std::size_t>(slot.hash) & mask;
        while (mSlots[i].used)
            i = (i + 1) & mask;
        mSlots[i] = std::move(slot);
    }

    std::vector<Slot> mSlots;
    std::size_t mCount = 0;
};

// An ordered collection of shared objects with optional string keys and 1-based positions,
// the shape every currency collection of the library has. Keys compare without regard to
// case. Every failing operation throws Error and leaves the collection as it was.
template<class T>
class KeyedCollection {
public:
    using Item_t = std::shared_ptr<T>;

private:
    struct Entry {
        std::string key;
        bool hasKey = false;
        Item_t item;
    };

public:
    // Appends rItem under vntKey; an empty key appends without a key.
    Item_t Add(Item_t rItem, std::string_view vntKey = {}) {
        return insertAt(mItems.size(), std::move(rItem), vntKey);
    }

    // Inserts before / after an existing 1-based position.
    Item_t AddBefore(Item_t rItem, std::string_view vntKey, std::int64_t before) {
        return insertAt(checkedIndex(before), std::move(rItem), vntKey);
    }
    Item_t AddAfter(Item_t rItem, std::string_view vntKey, std::int64_t after) {
        return insertAt(checkedIndex(after) + 1, std::move(rItem), vntKey);
    }

    const Item_t &Item(std::int64_t position) const { return mItems[checkedIndex(position)].item; }
    const Item_t &Item(std::string_view key) const {
        const Item_t *found = mByKey.find(key);
        if (found == nullptr)
            detail::throwKeyNotFound(key);
        return *found;
    }
    // Pointer or null: for callers that test membership on a hot path without a failure.
    T *find(std::string_view key) const {
        const Item_t *found = mByKey.find(key);
        return found == nullptr ? nullptr : found->get();
    }

    std::int32_t Count() const { return static_cast<std::int32_t>(mItems.size()); }

    void Remove(std::int64_t position) { eraseAt(checkedIndex(position)); }
    void Remove(std::string_view key) {
        const auto found = std::find_if(mItems.begin(), mItems.end(), [&](const Entry &e) {
            return e.hasKey && equalsIgnoreCase(e.key, key);
        });
        if (found == mItems.end())
            detail::throwKeyNotFound(key);
        eraseAt(static_cast<std::size_t>(found - mItems.begin()));
    }

    // The key an item was added under; "" for an item without key.
    const std::string &keyAt(std::int64_t position) const {
        return mItems[checkedIndex(position)].key;
    }

    void clear() {
        mItems.clear();
        mByKey.clear();
    }

    // NewEnum: iteration over the items in collection order.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Item_t;
        using difference_type = std::ptrdiff_t;
        using pointer = const Item_t *;
        using reference = const Item_t &;

        const_iterator() = default;
        explicit const_iterator(typename std::vector<Entry>::const_iterator it)
            : mIt(it) {}
        reference operator*() const { return mIt->item; }
        pointer operator->() const { return &mIt->item; }
        const_iterator &operator++() {
            ++mIt;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++mIt;
            return old;
        }
        bool operator==(const const_iterator &other) const = default;

    private:
        typename std::vector<Entry>::const_iterator mIt;
    };
    const_iterator begin() const { return const_iterator(mItems.cbegin()); }
    const_iterator end() const { return const_iterator(mItems.cend()); }

private:
    std::size_t checkedIndex(std::int64_t position) const {
        if (position < 1 || position > static_cast<std::int64_t>(mItems.size()))
            detail::throwPositionOutOfRange(position, mItems.size());
        return static_cast<std::size_t>(position - 1);
    }

    Item_t insertAt(std::size_t index, Item_t item, std::string_view key) {
        const bool hasKey = !key.empty();
        if (hasKey && mByKey.find(key) != nullptr)
            detail::throwDuplicateKey(key);
        mItems.insert(mItems.begin() + static_cast<std::ptrdiff_t>(index),
                      Entry{std::string(key), hasKey, item});
        if (hasKey) {
            try {
                mByKey.insert(key, item);
            } catch (...) {
                mItems.erase(mItems.begin() + static_cast<std::ptrdiff_t>(index));
                throw;
            }
        }
        detail::collectionsChanged();
        return item;
    }

    // Removal rebuilds the index: the collections are small and removal is rare, while a
    // table without tombstones keeps every lookup short.
    void eraseAt(std::size_t index) {
        mItems.erase(mItems.begin() + static_cast<std::ptrdiff_t>(index));
        mByKey.clear();
        for (const Entry &entry : mItems)
            if (entry.hasKey)
                mByKey.insert(entry.key, entry.item);
        detail::collectionsChanged();
    }

    std::vector<Entry> mItems;
    KeyIndex<Item_t> mByKey;
};

} // namespace kvt
