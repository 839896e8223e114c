#include "model/DG.h"

#include "model/Registry.h"
#include "model/SettingsValues.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace kvt {

namespace {

// Patterns are kept upper-cased, "0.0x" reads as "0.0X".
std::string upperCasedPattern(const std::string &text) {
    std::string upper = text;
    for (char &c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// One stored general setting: its key, its default text (which may depend on the settings read
// before it), how its text becomes the field, and the text stored for the field.
struct StoredSetting {
    const char *key;
    std::string (*defaultText)(const DG &dg);
    void (*apply)(DG &dg, const char *key, const std::string &text);
    std::string (*storedText)(const DG &dg);
};

// In the order ReadReg reads them; the default of MoneyIN is the currency of the language just
// read. Numbers that do not convert stop the reading there (see parseInt16).
const StoredSetting kSettings[] = {
    {"Language", [](const DG &) -> std::string { return "1"; },
     [](DG &dg, const char *key, const std::string &text) {
         dg.setLangue(static_cast<kvt::Langue>(parseInt16(key, text)));
     },
     [](const DG &dg) {
         return std::to_string(dg.Langue());
     }},
    {"MoneyIN", [](const DG &dg) { return DG::DefaultIso(dg.Langue()); },
     [](DG &dg, const char *, const std::string &text) { dg.setDeviseFrom(text); },
     [](const DG &dg) {
         return dg.DeviseFrom();
     }},
    {"MoneyOUT", [](const DG &) -> std::string { return "EUR"; },
     [](DG &dg, const char *, const std::string &text) { dg.setDeviseTo(text); },
     [](const DG &dg) {
         return dg.DeviseTo();
     }},
    {"RoundType", [](const DG &) -> std::string { return "130"; },
     [](DG &dg, const char *key, const std::string &text) {
         dg.setMethodeArondi(static_cast<MethodeArondiType>(parseInt16(key, text)));
     },
     [](const DG &dg) {
         return std::to_string(dg.MethodeArondi());
     }},
    {"TargetValue", [](const DG &) -> std::string { return "0.0X"; },
     [](DG &dg, const char *, const std::string &text) {
         dg.setDevFormat(upperCasedPattern(text));
     },
     [](const DG &dg) {
         return dg.DevFormat();
     }},
    {"FormatDef", [](const DG &) -> std::string { return "ON"; },
     [](DG &dg, const char *, const std::string &text) { dg.setFormatDef(parseSwitch(text)); },
     [](const DG &dg) {
         return formatSwitch(dg.FormatDef());
     }},
    {"NbDecEuroInter", [](const DG &) -> std::string { return "15"; },
     [](DG &dg, const char *key, const std::string &text) {
         dg.setNbDecEuroInter(parseInt16(key, text));
     },
     [](const DG &dg) {
         return std::to_string(dg.NbDecEuroInter());
     }},
};

// The order SaveReg writes them in.
const char *const kSaveOrder[] = {"MoneyIN",  "MoneyOUT",  "RoundType",     "TargetValue",
                                  "Language", "FormatDef", "NbDecEuroInter"};

const StoredSetting &settingNamed(const char *key) {
    return *std::find_if(std::begin(kSettings), std::end(kSettings),
                         [key](const StoredSetting &s) { return std::strcmp(s.key, key) == 0; });
}

} // namespace

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

// Each field takes its value as soon as it is read, so a failure leaves the fields before it
// updated and the rest as they were.
void DG::ReadReg() {
    const auto registry = sharedRegistry();
    for (const StoredSetting &setting : kSettings)
        setting.apply(
            *this, setting.key,
            registry->strGetSetting(mRegSection, setting.key, setting.defaultText(*this)));
}

// All seven values in one batch: another add-in reading meanwhile sees the old set or the new one.
void DG::SaveReg() {
    const auto registry = sharedRegistry();
    Registry::Batch batch(*registry);
    for (const char *key : kSaveOrder)
        registry->SetReg(mRegSection, key, settingNamed(key).storedText(*this));
    batch.commit();
}

namespace {

std::shared_ptr<DG> &sharedDGSlot() {
    static std::shared_ptr<DG> dg;
    return dg;
}

} // namespace

std::shared_ptr<DG> sharedDG() {
    auto &slot = sharedDGSlot();
    if (!slot)
        slot = std::make_shared<DG>();
    return slot;
}

void setSharedDG(std::shared_ptr<DG> dg) {
    sharedDGSlot() = std::move(dg);
}

void releaseSharedDG() {
    sharedDGSlot().reset();
}

} // namespace kvt
