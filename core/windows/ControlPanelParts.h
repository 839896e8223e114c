#pragma once

#include "ui/CPExcel.h"

#include <QString>
#include <optional>

// What the two source files of the control panel window share.
namespace kvt::windows::panel {

constexpr int kTabConversion = 0;
constexpr int kTabRates = 1;
constexpr int kTabOptions = 2;
constexpr int kItlColumnTwips = 1065;

// A number typed in the user's way or in the C way; nothing for any other text.
std::optional<double> amountOf(const QString &text);

// "ddddd h:mm:ss": the short date, then the time without a leading zero on the hours.
QString dateTimeText(double dateNumber);

} // namespace kvt::windows::panel
