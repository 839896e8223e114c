#include "ui/CPExcel.h"

#include "facade/EventRaiser.h"
#include "messages/Message.h"
#include "model/CurrencyValues.h"
#include "model/ISO.h"
#include "model/Registry.h"
#include "model/SettingsValues.h"
#include "trace/KVTBug.h"
#include "ui/HelpFile.h"

#include <array>

namespace kvt {

namespace {

constexpr std::array<const char *, 6> kLanguageCodes = {"DE", "EN", "ES", "FR", "IT", "NL"};

std::string languageCode(std::int32_t langue) {
    if (langue < 0 || langue >= static_cast<std::int32_t>(kLanguageCodes.size()))
        return {};
    return kLanguageCodes[static_cast<std::size_t>(langue)];
}

// Trace a function that does nothing but be seen: the driver's creation and end.
void traceMark(const std::string &label) {
    KVTBug &trace = *sharedTrace();
    trace.EndFct(trace.BeginFct(label));
}

} // namespace

// The preferences as the store keeps them, in the order they are written. Each is a switch
// or, for the insertion position, a whole number.
struct CPExcel::Preference {
    const char *key;
    const char *defaultValue;
    bool CPExcel::*flag;
    std::int16_t CPExcel::*number;
};

const std::array<CPExcel::Preference, 6> &CPExcel::preferences() {
    static const std::array<Preference, 6> table = {{
        {"InsAuto", "OFF", &CPExcel::mInsAuto, nullptr},
        {"InsAutoType", "0", nullptr, &CPExcel::mInsAutoType},
        {"ConvParValeur", "OFF", &CPExcel::mConvParValeur, nullptr},
        {"ShowStatus", "ON", &CPExcel::mShowStatus, nullptr},
        {"FirstTime", "ON", &CPExcel::mFirstTime, nullptr},
        {"ShowWelcomDialog", "ON", &CPExcel::mShowWelcomDialog, nullptr},
    }};
    return table;
}

CPExcel::CPExcel(std::shared_ptr<Change> change, const std::shared_ptr<EventRaiser> &eventRaiser)
    : mChange(std::move(change))
    , mEventRaiser(&eventRaiser) {
    traceMark("Class_initialize CPExcel");
    mFrmCP = std::make_unique<FrmControlPanel>(*this);
}

CPExcel::~CPExcel() {
    // A report that fails now cannot reach anyone: the driver ends all the same.
    try {
        traceMark("Class_Terminate CPExcel");
    } catch (...) {
    }
}

void CPExcel::UpdateHelpFile() {
    const std::int32_t langue = sharedDG()->Langue();
    const std::string folder = sharedMessage()->strGetLangMsg(langue, 2);
    setHelpFile(libraryFolder() + "/../" + folder + "/Talvio " + languageCode(langue) + ".hlp");
}

bool CPExcel::ConvOK() {
    return mChange->ConvOK();
}

void CPExcel::UpdateTaux(double vdblMontant, ConversionDetail &rstrDevFrom,
                         ConversionDetail &rstrDevTo) {
    const DG &dg = *sharedDG();
    double rate = 0.0;
    mChange->UpdateTaux(vdblMontant, rstrDevFrom, rstrDevTo, dg.DeviseFrom(), dg.DeviseTo(), rate,
                        dg.MethodeArondi(), dg.DevFormat());
}

void CPExcel::ReadReg() {
    sharedDG()->ReadReg();
    Registry &registry = *sharedRegistry();
    for (const Preference &preference : preferences()) {
        const std::string stored =
            registry.strGetSetting(reg::kUserChoice, preference.key, preference.defaultValue);
        if (preference.flag)
            this->*preference.flag = parseSwitch(stored);
        else
            this->*preference.number = parseInt16(preference.key, stored);
    }
    mChange->ReadReg();
}

void CPExcel::SaveReg(bool vblnDG, bool vblnPreferences, bool &rblnTables) {
    if (vblnDG)
        sharedDG()->SaveReg();
    if (vblnPreferences)
        savePreferences();
    if (rblnTables) {
        mChange->SaveReg();
        // Nobody to tell before the facade registered with the add-in manager; the save stands.
        if (const std::shared_ptr<EventRaiser> &raiser = *mEventRaiser)
            raiser->Raise_xevtUpdateCommonData();
    }
}

void CPExcel::savePreferences() {
    Registry &registry = *sharedRegistry();
    Registry::Batch batch(registry);
    for (const Preference &preference : preferences()) {
        const std::string value = preference.flag ? formatSwitch(this->*preference.flag)
                                                  : std::to_string(this->*preference.number);
        registry.SetReg(reg::kUserChoice, preference.key, value);
    }
    batch.commit();
}

bool CPExcel::EnabledAddDevise() {
    for (const auto &iso : *mChange->ColISO())
        if (!iso->Used())
            return true;
    return false;
}

bool CPExcel::EnabledDelDevise(const std::string &strIso) {
    return strIso != "EUR" && !CurrencyTables::IsoInitInEuro(strIso);
}

} // namespace kvt
