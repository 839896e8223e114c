#include "TraceLimits.h"

#include <string>

namespace kvt::tracer {

void requireLineLength(std::string_view what, std::string_view text) {
    if (text.size() > kLongestLine)
        throw LimitExceeded(std::string(what) + " has at most " + std::to_string(kLongestLine)
                            + " bytes; this one has " + std::to_string(text.size()));
}

void requireWindowRoom(std::size_t held, std::size_t inAll) {
    if (held >= kWindowsPerClient)
        throw LimitExceeded("A client holds at most " + std::to_string(kWindowsPerClient)
                            + " trace windows at a time");
    if (inAll >= kWindowsInAll)
        throw LimitExceeded("The viewer holds at most " + std::to_string(kWindowsInAll)
                            + " trace windows at a time");
}

} // namespace kvt::tracer
