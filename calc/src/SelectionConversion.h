#pragma once

#include "facade/KVTMain.h"

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <string>

namespace talvio::calc {

// Converts every number of the frame's current selection from DeviseFrom to DeviseTo with the
// general settings' rounding, and writes each result where position says, as a value or as a
// formula (ParValeur), with the target's number format: one undo step, with progress in the
// status bar. A problem (no rate, nothing to convert, results off the sheet) is told in a box
// and changes nothing. Gives the text that tells the last result, empty when nothing was
// converted.
std::string convertSelection(const css::uno::Reference<css::uno::XComponentContext> &context,
                             const css::uno::Reference<css::frame::XFrame> &frame,
                             kvt::KVTMain &main, kvt::InsAutoTypePos position);

} // namespace talvio::calc
