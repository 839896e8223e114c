#pragma once

#include "engine/Change.h"
#include "kvt_export.h"
#include "ui/ControlPanel.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace kvt {

class EventRaiser;
class GridControl;
class ListControl;

// Where a converted amount is inserted automatically, relative to its source cell.
enum InsAutoTypePos : std::int32_t {
    InsautoMilieu = 0,
    InsAutoHaut = 1,
    InsAutoBas = 2,
    InsAutoGauche = 3,
    InsautoDroite = 4,
};

// The driver between a facade and its control panel: keeps the user's interface preferences
// (section "UserChoice" of the settings store), loads and saves everything the panel edits,
// and names the help file. One per facade.
class KVT_EXPORT CPExcel {
public:
    // The rate grid's colours: a rate the user entered on white, one derived from it on silver.
    static constexpr std::uint32_t kGivenRateWhite = 0xFFFFFF;
    static constexpr std::uint32_t kDerivedRateSilver = 0xC0C0C0;

    // eventRaiser is the owning facade's event source field: read at each save, null while the
    // facade has not registered with the add-in manager.
    CPExcel(std::shared_ptr<Change> change, const std::shared_ptr<EventRaiser> &eventRaiser);
    ~CPExcel();
    CPExcel(const CPExcel &) = delete;
    CPExcel &operator=(const CPExcel &) = delete;

    bool EventsActive() const { return mEventsActive; }
    void setEventsActive(bool value) { mEventsActive = value; }
    bool InsAuto() const { return mInsAuto; }
    void setInsAuto(bool value) { mInsAuto = value; }
    std::int16_t InsAutoType() const { return mInsAutoType; }
    void setInsAutoType(std::int16_t value) { mInsAutoType = value; }
    bool ConvParValeur() const { return mConvParValeur; }
    void setConvParValeur(bool value) { mConvParValeur = value; }
    bool ShowStatus() const { return mShowStatus; }
    void setShowStatus(bool value) { mShowStatus = value; }
    bool FirstTime() const { return mFirstTime; }
    void setFirstTime(bool value) { mFirstTime = value; }
    bool ShowWelcomDialog() const { return mShowWelcomDialog; }
    void setShowWelcomDialog(bool value) { mShowWelcomDialog = value; }
    bool CPResult() const { return mCPResult; }
    void setCPResult(bool value) { mCPResult = value; }
    FrmControlPanel &frmCP() { return *mFrmCP; }

    // Names the help file of the user's language: the library's folder, "/../", the help folder
    // (message 2 in that language), "/Talvio ", the language code and ".hlp".
    void UpdateHelpFile();
    // Whether the current pair of the general settings can be converted.
    bool ConvOK();
    // The conversion detail of vdblMontant for the pair, method and pattern of the general
    // settings.
    void UpdateTaux(double vdblMontant, ConversionDetail &rstrDevFrom, ConversionDetail &rstrDevTo);
    // General settings, then the preferences (a missing key is stored with its default), then
    // the currency tables. A stored "InsAutoType" that is not a 16-bit whole number fails.
    void ReadReg();
    // Writes what the flags select. Saving the currency tables tells every running add-in
    // through the facade's event source, when it holds one.
    void SaveReg(bool vblnDG, bool vblnPreferences, bool &rblnTables);
    // The conversion example: the pair's codes as headers and, when the pair converts, the
    // amounts 10000, 500, 123, 1, -1 and -123 with their results.
    void LoadExConv(GridControl &grid);
    // The target values of the current rounding method: typed freely for the two target
    // methods, picked for the nearest value, fixed to the target currency's own for legal
    // rounding. The general settings' DevFormat becomes what the combo then shows.
    void UpdateValeurCible(ListControl &combo);
    // The aliases of a currency, after the "no default alias" entry (message 153) when asked.
    void LoadCboDeviseAlias(ListControl &combo, const std::string &strDevise, bool vblnNoAlias);
    // The rate table: every selected currency against every other, given rates on white.
    void LoadTableauTaux(GridControl &grid);
    // The selected currencies, the whole catalogue, the languages, the rounding methods.
    void LoadcboDevise(ListControl &combo);
    void LoadcboISO(ListControl &combo);
    void LoadcboLangue(ListControl &combo);
    void LoadcboMethodeArondi(ListControl &combo);

    // Shows the panel modally; true when the user saved at least once while it was open.
    bool ShowCP();
    // The panel's lists in the current language, the current values selected again.
    void TranslateCombo();

    // True while a catalogue currency is still unselected.
    bool EnabledAddDevise();
    // True for a code other than "EUR" (exactly) outside the built-in euro set.
    bool EnabledDelDevise(const std::string &strIso);

private:
    struct Preference;
    static const std::array<Preference, 6> &preferences();
    void savePreferences();

    std::shared_ptr<Change> mChange;
    const std::shared_ptr<EventRaiser> *mEventRaiser;

    bool mEventsActive = false;
    bool mInsAuto = false;
    std::int16_t mInsAutoType = InsautoMilieu;
    bool mConvParValeur = false;
    bool mShowStatus = true;
    bool mFirstTime = true;
    bool mShowWelcomDialog = true;
    bool mCPResult = false;
    std::unique_ptr<FrmControlPanel> mFrmCP;
};

// The driver's EventsActive cleared for a scope, and put back as it was, also after a failure:
// the panel's handlers do not react while it is being filled.
class EventsPaused {
public:
    explicit EventsPaused(CPExcel &driver)
        : mDriver(driver)
        , mWas(driver.EventsActive()) {
        mDriver.setEventsActive(false);
    }
    ~EventsPaused() { mDriver.setEventsActive(mWas); }
    EventsPaused(const EventsPaused &) = delete;
    EventsPaused &operator=(const EventsPaused &) = delete;

private:
    CPExcel &mDriver;
    bool mWas;
};

} // namespace kvt
