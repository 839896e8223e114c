#pragma once

#include <rtl/ustring.hxx>
#include <string>
#include <string_view>

// Talvio speaks UTF-8; UNO speaks UTF-16.
namespace talvio::calc {

using rtl::OString;
using rtl::OUString;

inline std::string utf8(const OUString &text) {
    const OString bytes = OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(bytes.getStr(), static_cast<std::size_t>(bytes.getLength()));
}

inline OUString uno(std::string_view text) {
    return OUString(text.data(), static_cast<sal_Int32>(text.size()), RTL_TEXTENCODING_UTF8);
}

} // namespace talvio::calc
