#include "model/KeyedCollection.h"

namespace kvt::detail {

std::uint64_t collectionGeneration = 1;

void throwKeyNotFound(std::string_view key) {
    throw Error(err::KeyNotFound, "Key not found in the collection: \"" + std::string(key) + "\"");
}

void throwDuplicateKey(std::string_view key) {
    throw Error(err::DuplicateKey, "Key is already associated with an element of the collection: \""
                                       + std::string(key) + "\"");
}

void throwPositionOutOfRange(std::int64_t position, std::size_t count) {
    throw Error(err::PositionOutOfRange, "Position " + std::to_string(position)
                                             + " is out of range: the collection holds "
                                             + std::to_string(count) + " items");
}

} // namespace kvt::detail
