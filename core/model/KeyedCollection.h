#pragma once

#include "model/Error.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kvt {

// Key comparison of the collections and of the settings store: ASCII letters without regard
// to case, everything else byte for byte.
constexpr char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b);

struct CaseInsensitiveHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const noexcept;
};

struct CaseInsensitiveEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept
    {
        return equalsIgnoreCase(a, b);
    }
};

namespace detail {
[[noreturn]] void throwKeyNotFound(std::string_view key);
[[noreturn]] void throwDuplicateKey(std::string_view key);
[[noreturn]] void throwPositionOutOfRange(std::int64_t position, std::size_t count);
} // namespace detail

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
    Item_t Add(Item_t rItem, std::string_view vntKey = {})
    {
        return insertAt(mItems.size(), std::move(rItem), vntKey);
    }

    // Inserts before / after an existing 1-based position.
    Item_t AddBefore(Item_t rItem, std::string_view vntKey, std::int64_t before)
    {
        return insertAt(checkedIndex(before), std::move(rItem), vntKey);
    }
    Item_t AddAfter(Item_t rItem, std::string_view vntKey, std::int64_t after)
    {
        return insertAt(checkedIndex(after) + 1, std::move(rItem), vntKey);
    }

    const Item_t &Item(std::int64_t position) const { return mItems[checkedIndex(position)].item; }
    const Item_t &Item(std::string_view key) const
    {
        const auto found = mByKey.find(key);
        if (found == mByKey.end())
            detail::throwKeyNotFound(key);
        return found->second;
    }
    // Pointer or null: for callers that test membership on a hot path without a failure.
    T *find(std::string_view key) const
    {
        const auto found = mByKey.find(key);
        return found == mByKey.end() ? nullptr : found->second.get();
    }

    std::int32_t Count() const { return static_cast<std::int32_t>(mItems.size()); }

    void Remove(std::int64_t position) { eraseAt(checkedIndex(position)); }
    void Remove(std::string_view key)
    {
        const auto found = std::find_if(mItems.begin(), mItems.end(), [&](const Entry &e) {
            return e.hasKey && equalsIgnoreCase(e.key, key);
        });
        if (found == mItems.end())
            detail::throwKeyNotFound(key);
        eraseAt(static_cast<std::size_t>(found - mItems.begin()));
    }

    // The key an item was added under; "" for an item without key.
    const std::string &keyAt(std::int64_t position) const { return mItems[checkedIndex(position)].key; }

    void clear()
    {
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
            : mIt(it)
        {}
        reference operator*() const { return mIt->item; }
        pointer operator->() const { return &mIt->item; }
        const_iterator &operator++()
        {
            ++mIt;
            return *this;
        }
        const_iterator operator++(int)
        {
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
    std::size_t checkedIndex(std::int64_t position) const
    {
        if (position < 1 || position > static_cast<std::int64_t>(mItems.size()))
            detail::throwPositionOutOfRange(position, mItems.size());
        return static_cast<std::size_t>(position - 1);
    }

    Item_t insertAt(std::size_t index, Item_t item, std::string_view key)
    {
        const bool hasKey = !key.empty();
        if (hasKey && mByKey.contains(key))
            detail::throwDuplicateKey(key);
        // Reserve first so that nothing can fail after the map holds the key.
        mItems.reserve(mItems.size() + 1);
        if (hasKey)
            mByKey.emplace(std::string(key), item);
        mItems.insert(mItems.begin() + static_cast<std::ptrdiff_t>(index),
                      Entry{std::string(key), hasKey, item});
        return item;
    }

    void eraseAt(std::size_t index)
    {
        if (mItems[index].hasKey)
            mByKey.erase(mItems[index].key);
        mItems.erase(mItems.begin() + static_cast<std::ptrdiff_t>(index));
    }

    std::vector<Entry> mItems;
    std::unordered_map<std::string, Item_t, CaseInsensitiveHash, CaseInsensitiveEqual> mByKey;
};

} // namespace kvt
