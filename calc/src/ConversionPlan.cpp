#include "ConversionPlan.h"

#include <charconv>

namespace talvio::calc {

Offset offsetOf(kvt::InsAutoTypePos position) {
    switch (position) {
    case kvt::InsAutoHaut:
        return {0, -1};
    case kvt::InsAutoBas:
        return {0, 1};
    case kvt::InsAutoGauche:
        return {-1, 0};
    case kvt::InsautoDroite:
        return {1, 0};
    case kvt::InsautoMilieu:
        break;
    }
    return {};
}

std::string columnName(std::int32_t column) {
    std::string name;
    for (std::int32_t rest = column + 1; rest > 0; rest = (rest - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (rest - 1) % 26));
    return name;
}

std::string cellName(std::int32_t column, std::int32_t row) {
    return columnName(column) + std::to_string(row + 1);
}

std::string_view methodWord(kvt::MethodeArondiType method) {
    switch (method) {
    case kvt::NearValue:
        return "near";
    case kvt::suptargetValue:
        return "up";
    case kvt::infTargetValue:
        return "down";
    case kvt::Legal:
        break;
    }
    return "legal";
}

std::string numberLiteral(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string conversionFormula(std::string_view source, const Rounding &rounding) {
    std::string formula = "=TALVIO.CONVERT(";
    formula.append(source).append(";\"").append(rounding.from).append("\";\"");
    formula.append(rounding.to).append("\";\"").append(methodWord(rounding.method));
    formula.append("\";\"").append(rounding.pattern).append("\";");
    formula.append(std::to_string(rounding.euroDecimals)).append(")");
    return formula;
}

std::string resultFormat(std::string_view code, std::string_view alias) {
    std::string format(code);
    if (!alias.empty())
        format.append(" [$").append(alias).append("]");
    return format;
}

std::vector<Run> runsOf(const std::vector<std::int32_t> &rows, std::int32_t maxLength) {
    std::vector<Run> runs;
    for (const std::int32_t row : rows) {
        if (!runs.empty() && runs.back().first + runs.back().count == row
            && runs.back().count < maxLength)
            ++runs.back().count;
        else
            runs.push_back({row, 1});
    }
    return runs;
}

} // namespace talvio::calc
