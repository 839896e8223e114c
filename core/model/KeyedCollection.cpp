#include "model/KeyedCollection.h"

namespace kvt {

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(),
                         [](char x, char y) { return asciiUpper(x) == asciiUpper(y); });
}

std::size_t CaseInsensitiveHash::operator()(std::string_view key) const noexcept
{
    // FNV-1a over the upper-cased bytes: keys are short currency codes.
    std::size_t hash = 14695981039346656037ull;
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(asciiUpper(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

namespace detail {

void throwKeyNotFound(std::string_view key)
{
    throw Error(err::KeyNotFound, "Key not found in the collection: \"" + std::string(key) + "\"");
}

void throwDuplicateKey(std::string_view key)
{
    throw Error(err::DuplicateKey,
                "Key is already associated with an element of the collection: \""
                    + std::string(key) + "\"");
}

void throwPositionOutOfRange(std::int64_t position, std::size_t count)
{
    throw Error(err::PositionOutOfRange, "Position " + std::to_string(position)
                                             + " is out of range: the collection holds "
                                             + std::to_string(count) + " items");
}

} // namespace detail
} // namespace kvt
