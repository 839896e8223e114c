#pragma once

#include "model/DG.h"

#include <com/sun/star/uno/Any.hxx>
#include <cstdint>
#include <string>

// The optional arguments of the cell functions, read from what Calc passes: nothing when the
// user left the argument out (the user's general setting then applies), else a number or a
// text. A value that is not usable throws css::lang::IllegalArgumentException, which Calc
// shows as an error value in the cell.
namespace talvio::calc {

// legal, near, up, down (in any case) or 130 to 133.
kvt::MethodeArondiType methodArgument(const css::uno::Any &value, kvt::MethodeArondiType setting);
// A rounding pattern such as X.X9 (x or X).
std::string patternArgument(const css::uno::Any &value, const std::string &setting);
// A whole number from 3 to 15.
std::int16_t euroDecimalsArgument(const css::uno::Any &value, std::int16_t setting);

// The exception every refused argument or failed call gives.
[[noreturn]] void refuse(const std::string &why);

} // namespace talvio::calc
