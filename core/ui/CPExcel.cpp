#include "ui/CPExcel.h"

#include "engine/NumberFormat.h"
#include "facade/EventRaiser.h"
#include "messages/Message.h"
#include "model/CaseInsensitive.h"
#include "model/CurrencyValues.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "model/Registry.h"
#include "model/SettingsValues.h"
#include "trace/KVTBug.h"
#include "ui/GridControl.h"
#include "ui/HelpFile.h"
#include "ui/LanguageList.h"
#include "ui/ListControl.h"

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

// The two-column currency lists: the code column 50 points wide, the open list 200 so that the
// name shows beside the code.
void shapeCodeNameList(ListControl &combo) {
    combo.Clear();
    combo.setColumnCount(2);
    combo.setColumnWidths({50});
    combo.setListWidth(200);
}

void fillCodeNames(ListControl &combo, const CodeNameList &list) {
    shapeCodeNameList(combo);
    for (std::size_t i = 0; i < list[0].size(); ++i)
        combo.AddItem(list[0][i], i < list[1].size() ? list[1][i] : std::string());
}

constexpr std::array<double, 6> kExampleAmounts = {10000, 500, 123, 1, -1, -123};
constexpr int kExampleCodeWidth = 1050; // twips
constexpr int kExampleResultWidth = 1500;

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

void CPExcel::LoadExConv(GridControl &grid) {
    const DG &dg = *sharedDG();
    grid.setEnabled(false);
    grid.setRows(static_cast<int>(kExampleAmounts.size()) + 1);
    grid.setCols(2);
    grid.Clear();
    grid.setTextMatrix(0, 0, dg.DeviseFrom());
    grid.setCellAlignment(0, 0, CellAlignment::Centre);
    grid.setTextMatrix(0, 1, dg.DeviseTo());
    grid.setCellAlignment(0, 1, CellAlignment::Centre);
    grid.setColWidth(0, kExampleCodeWidth);
    grid.setColWidth(1, kExampleResultWidth);
    if (!ConvOK())
        return;
    const std::string resultFormat =
        mChange->FormatNumbOut(dg.MethodeArondi(), dg.DeviseTo(), dg.DevFormat());
    const std::string alias =
        dg.FormatDef() ? mChange->ColDevises()->Item(dg.DeviseTo())->FormatAlias() : std::string();
    for (std::size_t i = 0; i < kExampleAmounts.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const double amount = kExampleAmounts[i];
        grid.setTextMatrix(row, 0, formatNumber(amount, "#,##0"));
        const double result =
            mChange->dblConvert(amount, dg.DeviseFrom(), dg.DeviseTo(), dg.NbDecEuroInter(),
                                dg.MethodeArondi(), dg.DevFormat());
        grid.setTextMatrix(row, 1, formatNumber(result, resultFormat) + " " + alias);
    }
}

void CPExcel::UpdateValeurCible(ListControl &combo) {
    const EventsPaused paused(*this);
    DG &dg = *sharedDG();
    const std::string previous = dg.DevFormat();
    shapeCodeNameList(combo);
    combo.setStyle(ListStyle::DropDownCombo);
    if (!dg.DeviseTo().empty()) {
        if (dg.MethodeArondi() != Legal) {
            TargetValueList values;
            mChange->LoadListFormat(values, dg.MethodeArondi(), dg.DeviseTo());
            for (const auto &value : values)
                combo.AddItem(value[0], value[1]);
            if (dg.MethodeArondi() == NearValue) {
                // No patterns are listed for the nearest value: the one in use stays the
                // choice, so that picking the method keeps the pair convertible.
                if (combo.ListCount() == 0 && !previous.empty())
                    combo.AddItem(previous);
                combo.setStyle(ListStyle::DropDownList);
                combo.setListIndex(0);
            } else {
                // Emptying the list must not drop the pattern the user typed.
                combo.setText(previous);
            }
            combo.setEnabled(true);
        } else {
            combo.setText(mChange->ColDevises()->Item(dg.DeviseTo())->DevFormat());
            combo.setEnabled(false);
        }
    }
    dg.setDevFormat(upperCased(combo.Text()));
}

void CPExcel::LoadCboDeviseAlias(ListControl &combo, const std::string &strDevise,
                                 bool vblnNoAlias) {
    std::vector<std::string> aliases;
    mChange->LoadListDeviseAlias(aliases, strDevise);
    combo.Clear();
    if (vblnNoAlias)
        combo.AddItem(Translate(153));
    for (const std::string &alias : aliases)
        combo.AddItem(alias);
}

void CPExcel::LoadTableauTaux(GridControl &grid) {
    grid.Clear();
    grid.setEnabled(true);
    const std::shared_ptr<ColDevises> &devises = mChange->ColDevises();
    const int n = devises->Count();
    grid.setRows(n + 1);
    grid.setCols(n + 1);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setBackColor(CPExcel::kDerivedRateSilver);
    std::vector<std::string> codes;
    for (const auto &devise : *devises)
        codes.push_back(devise->ISO());
    for (int i = 1; i <= n; ++i) {
        const std::string &code = codes[static_cast<std::size_t>(i - 1)];
        grid.setTextMatrix(0, i, code);
        grid.setCellAlignment(0, i, CellAlignment::Centre);
        grid.setTextMatrix(i, 0, code);
        grid.setCellAlignment(i, 0, CellAlignment::Centre);
    }
    for (int i = 1; i <= n; ++i) {
        const std::shared_ptr<ColTaux> &rates = devises->Item(i)->ColTaux();
        for (int j = 1; j <= n; ++j) {
            const Taux &rate = *rates->Item(codes[static_cast<std::size_t>(j - 1)]);
            grid.setTextMatrix(i, j, formatNumber(rate.Change, "0.000000"));
            grid.setCellAlignment(i, j, CellAlignment::Right);
            if (rate.Exist)
                grid.setCellBackColor(i, j, CPExcel::kGivenRateWhite);
        }
    }
    // An empty selection has no cell to select.
    if (n > 0) {
        grid.setRow(1);
        grid.setCol(1);
    }
}

void CPExcel::LoadcboDevise(ListControl &combo) {
    const TraceBlock traced(*sharedTrace(), "LoadcboDevise");
    CodeNameList list;
    mChange->LoadListDevise(list);
    fillCodeNames(combo, list);
}

void CPExcel::LoadcboISO(ListControl &combo) {
    const TraceBlock traced(*sharedTrace(), "LoadcboISO");
    CodeNameList list;
    mChange->LoadListISO(list);
    fillCodeNames(combo, list);
}

void CPExcel::LoadcboLangue(ListControl &combo) {
    kvt::LoadcboLangue(combo);
}

void CPExcel::LoadcboMethodeArondi(ListControl &combo) {
    combo.Clear();
    for (std::int32_t method = Legal; method <= infTargetValue; ++method)
        combo.AddItem(Translate(method));
}

bool CPExcel::ShowCP() {
    const TraceBlock traced(*sharedTrace(), "ShowSP");
    mCPResult = false;
    mFrmCP->window().ShowModal();
    return mCPResult;
}

void CPExcel::TranslateCombo() {
    mFrmCP->TranslateCombo();
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
