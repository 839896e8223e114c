#pragma once

#include <cstdint>
#include <string>

namespace addinmgr {

// An event sink: the object at path on the client connection (":1.42") that subscribed it.
struct Subscriber {
    std::uint64_t id = 0;
    std::string connection;
    std::string path;

    bool operator==(const Subscriber &) const = default;
};

} // namespace addinmgr
