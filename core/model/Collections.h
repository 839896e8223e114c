#pragma once

#include "kvt_export.h"
#include "model/Alias.h"
#include "model/KeyedCollection.h"
#include "model/Taux.h"

#include <cstdint>
#include <memory>
#include <utility>

namespace kvt {

class ISO;
class Devise;

// Where a record or the engine keeps one of its collections: created empty on first access;
// replacing it counts as a change of the collections, so cached lookups are dropped.
template<class Collection>
class CollectionSlot {
public:
    const std::shared_ptr<Collection> &get() {
        if (!mCollection)
            mCollection = std::make_shared<Collection>();
        return mCollection;
    }
    void set(std::shared_ptr<Collection> collection) {
        mCollection = std::move(collection);
        detail::collectionsChanged();
    }

private:
    std::shared_ptr<Collection> mCollection;
};

// A currency's aliases: key "ISO" for the code alias, "1", "2", ... for the others.
class ColAlias : public KeyedCollection<Alias> {};

// A currency's rates, keyed by the other currency's code.
class ColTaux : public KeyedCollection<Taux> {};

// The catalogue of every known currency, keyed by code.
class ColISO : public KeyedCollection<ISO> {};

// The user's selection of currencies, keyed by code, in the user's order.
class KVT_EXPORT ColDevises : public KeyedCollection<Devise> {
public:
    // Exchanges the currencies at two 1-based positions; every other item keeps its place
    // and every item keeps its code as key.
    void PermuteItems(std::int32_t Index1, std::int32_t Index2);
};

} // namespace kvt
