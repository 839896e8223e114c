#pragma once

#include "model/DG.h"
#include "ui/CPExcel.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a conversion of a selection writes, decided apart from the sheet it is written to.
namespace talvio::calc {

// How far a result lies from its source: in place, or the neighbouring cell.
struct Offset {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
};
Offset offsetOf(kvt::InsAutoTypePos position);

// A1 names, from zero-based positions: column 0 is "A", 26 is "AA".
std::string columnName(std::int32_t column);
std::string cellName(std::int32_t column, std::int32_t row);

// The conversion every cell of the selection gets.
struct Rounding {
    std::string from;
    std::string to;
    kvt::MethodeArondiType method = kvt::Legal;
    std::string pattern;
    std::int16_t euroDecimals = 3;
};

// The word a cell function takes for a method.
std::string_view methodWord(kvt::MethodeArondiType method);
// A number as a formula writes it, exactly: the shortest text that reads back the same.
std::string numberLiteral(double value);
// The formula of a result: the conversion of source (a cell name, a number, or an
// expression), with every choice written out, so the cell keeps the result it was given
// when the general settings change later.
std::string conversionFormula(std::string_view source, const Rounding &rounding);
// The number-format code of the results: the target's own, followed by its alias as a
// currency symbol when there is one to show.
std::string resultFormat(std::string_view code, std::string_view alias);

// The rows of one column that hold numbers, in order, cut into runs of consecutive rows no
// longer than maxLength, so that each run is written at once and progress shows between.
struct Run {
    std::int32_t first = 0;
    std::int32_t count = 0;
};
std::vector<Run> runsOf(const std::vector<std::int32_t> &rows, std::int32_t maxLength);

} // namespace talvio::calc
