#include "model/DG.h"

#include "model/CaseInsensitive.h"
#include "model/Registry.h"
#include "model/SettingsValues.h"
#include "model/SharedInstance.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace kvt {

std::optional<MethodeArondiType> methodNamed(std::string_view text) {
    static constexpr std::pair<std::string_view, MethodeArondiType> kWords[] = {
        {"legal", Legal}, {"near", NearValue}, {"up", suptargetValue}, {"down", infTargetValue}};
    for (const auto &[word, method] : kWords)
        if (text == word)
            return method;
    std::int32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error == std::errc() && end == text.data() + text.size() && number >= Legal
        && number <= infTargetValue)
        return static_cast<MethodeArondiType>(number);
    return std::nullopt;
}

void DG::setProjectName(const std::string &name) {
    sharedRegistry()->setProjectName(name);
}

void DG::InverseDevise() {
    std::swap(mDeviseFrom, mDeviseTo);
    SaveReg();
}

std::string DG::DefaultIso(kvt::Langue rLangue) {
    switch (rLangue) {
    case kvt::DE:
        return "DEM";
    case kvt::ES:
        return "ESP";
    case kvt::FR:
    case kvt::NL: // the Dutch-speaking user is taken to be Belgian, like the French-speaking one
        return "BEF";
    case kvt::IT:
        return "ITL";
    default:
        return "EUR";
    }
}

// The keys are read in this order because MoneyIN's default is the currency of the language read
// before it. Each field takes its value as soon as its text is read and converted, so a failure
// leaves the fields before it updated and the rest as they were.
void DG::ReadReg() {
    const auto registry = sharedRegistry();
    const auto text = [&](const char *key, const std::string &fallback) {
        return registry->strGetSetting(mRegSection, key, fallback);
    };
    const auto number = [&](const char *key, const char *fallback) {
        return parseInt16(key, text(key, fallback));
    };
    mLangue = static_cast<kvt::Langue>(number("Language", "1"));
    mDeviseFrom = text("MoneyIN", DefaultIso(mLangue));
    mDeviseTo = text("MoneyOUT", "EUR");
    mMethodeArondi = static_cast<MethodeArondiType>(number("RoundType", "130"));
    mDevFormat = upperCased(text("TargetValue", "0.0X"));
    mFormatDef = parseSwitch(text("FormatDef", "ON"));
    mNbDecEuroInter = number("NbDecEuroInter", "15");
}

// All seven values in one batch: another add-in reading meanwhile sees the old set or the new one.
void DG::SaveReg() {
    const auto registry = sharedRegistry();
    Registry::Batch batch(*registry);
    const auto write = [&](const char *key, const std::string &value) {
        registry->SetReg(mRegSection, key, value);
    };
    write("MoneyIN", mDeviseFrom);
    write("MoneyOUT", mDeviseTo);
    write("RoundType", std::to_string(mMethodeArondi));
    write("TargetValue", mDevFormat);
    write("Language", std::to_string(mLangue));
    write("FormatDef", formatSwitch(mFormatDef));
    write("NbDecEuroInter", std::to_string(mNbDecEuroInter));
    batch.commit();
}

namespace {

// Never destroyed: the engine releases it when it ends, and the engine may itself be a static
// that ends after this one would have.
SharedInstance<DG> &sharedDGInstance() {
    static auto *instance = new SharedInstance<DG>();
    return *instance;
}

} // namespace

std::shared_ptr<DG> sharedDG() {
    return sharedDGInstance().get();
}

void setSharedDG(std::shared_ptr<DG> dg) {
    sharedDGInstance().set(std::move(dg));
}

void releaseSharedDG() {
    sharedDGInstance().release();
}

void releaseSharedDG(const DG &dg) {
    sharedDGInstance().releaseIfHolding(&dg);
}

} // namespace kvt
