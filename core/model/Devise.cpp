#include "model/Devise.h"

namespace kvt {

std::string Devise::FormatAlias() const {
    return storedAliasDef() == kNoDefaultAlias ? std::string() : storedAliasDef();
}

const std::string &Devise::ISO() {
    return ColAlias()->Item("ISO")->Value;
}

bool Devise::FormatNumber(const std::string &rstrFormat) {
    static constexpr std::string_view kSymbolMark = "[$";
    for (const auto &alias : *ColAlias()) {
        std::string wanted(kSymbolMark);
        wanted += alias->Value;
        if (rstrFormat.find(wanted) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace kvt
