#pragma once

#include "kvt_export.h"

#include <chrono>

namespace kvt {

// Dates as the host spreadsheet counts them: days since 30 December 1899, the time of day as
// the fraction (36526.5 is noon on 1 January 2000), in local wall-clock time.
using WallClockTime = std::chrono::local_time<std::chrono::system_clock::duration>;

double dateNumberOf(WallClockTime time);

// Now, in the user's time zone.
KVT_EXPORT double currentDateNumber();

} // namespace kvt
