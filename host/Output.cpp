#include "Output.h"

#include "model/Error.h"

namespace talvio {

std::string formattedAmount(double value, const kvt::NumberFormat &format,
                            const kvt::NumberSeparators &separators, const std::string &alias) {
    std::string text = kvt::formatNumber(value, format, separators);
    if (!alias.empty())
        text.append(" ").append(alias);
    return text;
}

kvt::NumberFormat parsedFormat(const std::string &code) {
    const auto format = kvt::NumberFormat::parse(code);
    if (!format)
        throw kvt::Error(kvt::err::InvalidArgument,
                         "The number format \"" + code + "\" cannot be written.");
    return *format;
}

} // namespace talvio
