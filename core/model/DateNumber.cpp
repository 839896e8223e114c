#include "model/DateNumber.h"

#include <ctime>

namespace kvt {

double dateNumberOf(WallClockTime time) {
    using namespace std::chrono;
    constexpr local_days kDayZero{year{1899} / December / 30};
    return duration<double, days::period>(time - kDayZero).count();
}

double currentDateNumber() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    // The C library knows the zone's offset at this moment, daylight saving included.
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto wallClock = now.time_since_epoch() + std::chrono::seconds(local.tm_gmtoff);
    return dateNumberOf(WallClockTime(wallClock));
}

} // namespace kvt
