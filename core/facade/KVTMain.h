#pragma once

#include "engine/Change.h"
#include "facade/AddInMgr.h"
#include "facade/EventRaiser.h"
#include "facade/Windows.h"
#include "kvt_export.h"
#include "trace/KVTBug.h"
#include "ui/CPExcel.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

// A window of the host add-in, asked whether it shows.
class KVT_EXPORT HostWindow {
public:
    virtual ~HostWindow() = default;
    virtual bool Visible() const = 0;
};
using HostWindows = std::vector<std::shared_ptr<HostWindow>>;

// Whether this add-in may edit the common currency data, as the add-in manager decided.
enum AddInStates : std::int32_t {
    EditUnavailable = 0,
    EditAllowed = 1,
    EditUnknown = 2,
    EditRunning = 3,
};

// The object a host add-in creates: everything the host asks of Talvio goes through it. Every
// facade of a process shares the library-wide settings store, general settings, message
// catalogue, engine and trace client; each owns its control panel driver. Call init first.
//
// Failures: the conversion and settings operations marked "traced, quiet" write a failure to
// the trace as an error line and give an empty or zero result; every other operation passes
// its failure (kvt::Error) to the caller.
class KVT_EXPORT KVTMain final : public RateTableListener, private AddInEventHandler {
public:
    KVTMain();
    ~KVTMain() override;
    KVTMain(const KVTMain &) = delete;
    KVTMain &operator=(const KVTMain &) = delete;

    // Public fields: the host reads and writes them freely.
    std::shared_ptr<Change> mChange; // the shared engine, from init on
    bool mFirstTimeShown = false;    // set by the first-time wizard
    bool blnCpLocked = false;        // another add-in is editing the common data
    std::string mTlvPath;            // the add-in's folder
    std::string mAddinType;
    std::shared_ptr<HostWindows> mColVBAWindows; // the host's own windows

    // The add-in manager's event source; none until the add-in registers. Setting it
    // subscribes this facade to the source's events and ends the old subscription.
    const std::shared_ptr<EventRaiser> &mEventRaiser() const { return mEventSource; }
    void setmEventRaiser(std::shared_ptr<EventRaiser> raiser);

    // Sets up the library-wide objects with the message file MsgPath and creates this
    // facade's driver, which loads every setting. A failing step ends it with its error; the
    // steps done stay done.
    void init(const std::string &MsgPath);

    // Current choices of the general settings.
    std::string DeviseFrom() const;
    std::string DeviseTo() const;
    MethodeArondiType MethodeArondi() const;
    std::string ValeurCible() const;
    std::int16_t NbDecEuroInter() const;
    bool FormatDef() const;
    std::int32_t Language() const;

    // The driver's preferences.
    bool ParValeur() const;
    bool InsertAuto() const;
    std::int32_t InsertAutoType() const;
    bool ShowStatusBar() const;

    // Swaps the two currencies and saves the general settings. Traced, quiet.
    void InverseDevise();
    // Message ID in the current language. Traced, quiet.
    std::string Translate(std::int32_t ID);
    // Saves general settings, preferences and currency tables, telling the other add-ins.
    // Traced, quiet.
    void WriteRegistry();
    // 1 DeviseFrom = result DeviseTo, through the euro where needed. Traced, quiet.
    double TauxDeChangeConvert(const std::string &DeviseFrom, const std::string &DeviseTo);
    // Converts and rounds an amount (Change::dblConvert). Traced, quiet.
    double Convert(double Montant, std::string_view DeviseFrom, std::string_view DeviseTo,
                   const std::int16_t &NbDecEuroInter, MethodeArondiType MethodeArondi,
                   std::string_view format) {
        // Tracing off, there is no label, end word or error line to write: a host converting
        // in bulk pays one flag test over the engine call, made from the host's own code.
        if (!mTrace->Active() && mChange) {
            try {
                return mChange->dblConvert(Montant, DeviseFrom, DeviseTo, NbDecEuroInter,
                                           MethodeArondi, format);
            } catch (const std::exception &) {
                return 0.0; // its error line would be dropped
            }
        }
        return convertTraced(Montant, DeviseFrom, DeviseTo, NbDecEuroInter, MethodeArondi, format);
    }

    // The rounding patterns offered for a method.
    void PsyRounds(TargetValueList &rStrList, std::int32_t &rRoundMethod);
    // Whether a number-format code shows one of the currency's aliases as its symbol.
    bool FormatinDevise(const std::string &Devise, const std::string &format);
    // The currency's default alias; empty when it has none.
    std::string DeviseFormat(const std::string &Devise);
    // The number-format code for a result of a conversion into Devise.
    std::string DeviseFormatNumber(const std::string &Devise, MethodeArondiType MethodeArondi,
                                   const std::string &format);
    CodeNameList Currencies();
    std::vector<std::string> Alias(const std::string &rstrCur);
    std::string AliasDefault(const std::string &rstrCur);
    // Makes rstrAlias the default alias of rstrCur through the control panel, with its checks
    // and its save, as the user would.
    void setAliasDefault(const std::string &rstrCur, const std::string &rstrAlias);
    void UpdateRateLabels(RateLabels &rstrLabels, const std::string &rstrCurFrom,
                          const std::string &rstrCurTo);
    bool AskRateRequired(const std::string &rstrCurFrom, const std::string &rstrCurTo);
    // Decimals of the currency's legal pattern.
    std::int32_t LegalNrOfDec(const std::string &rstrCur);
    std::string LegalFormatFromNrDec(std::int32_t nrDec);
    std::int32_t NrOfDec(const std::string &rstrLegal);
    // When rates were last changed (days since 30 December 1899).
    double LastRatesUpdate();
    // A language's own name (message 2 in that language).
    std::string LanguageName(std::int32_t LanguageId);

    void setShowMsgNumbers(bool on);
    const std::string &AddInName() const { return mAddInName; }
    void setAddInName(std::string name) { mAddInName = std::move(name); }
    AddInStates EditState() const { return mEditState; }
    void setEditState(AddInStates state) { mEditState = state; }
    // The host's windows; an empty collection is created when there is none.
    const std::shared_ptr<HostWindows> &ColVBAWindows();
    void setColVBAWindows(std::shared_ptr<HostWindows> windows) {
        mColVBAWindows = std::move(windows);
    }

    // Naming by the add-in manager. Register stores the folder, asks for a name of the type
    // and keeps it as AddInName; when the manager cannot be reached it says so in a message
    // box and returns false, leaving rName as it was.
    bool Register(const std::string &vTlvPath, const std::string &vstrAddInType,
                  std::string &rName);
    void Unregister(const std::string &rName);
    // The add-in manager, connected on first use; connecting subscribes this facade to its
    // events.
    AddInMgr &TheAddInMgr();

    // Coordination of edits of the common currency data with the other add-ins. Setting a
    // flag true runs the state machine; every pass of the machine consumes all five.
    bool evtCommonDataEditStart() const { return mEvents.start; }
    void setevtCommonDataEditStart(bool value) { putFlag(mEvents.start, value); }
    bool evtCommonDataEditRunning() const { return mEvents.running; }
    void setevtCommonDataEditRunning(bool value) { putFlag(mEvents.running, value); }
    bool evtUpdateCommonData() const { return mEvents.update; }
    void setevtUpdateCommonData(bool value) { putFlag(mEvents.update, value); }
    bool evtCommonDataEditFinished() const { return mEvents.finished; }
    void setevtCommonDataEditFinished(bool value) { putFlag(mEvents.finished, value); }
    bool evtCommonDataEditAllowed() const { return mEvents.allowed; }
    void setevtCommonDataEditAllowed(bool value) { putFlag(mEvents.allowed, value); }
    void RunStateMachineIfTrue(bool &value);
    void RunStateMachine();
    void ConsumeEvents();
    // Locks the control panel's currency and rate pages, naming the editing add-in.
    void DisableCommonDataEdit();
    void EnableCommonDataEdit();
    // Reloads the common data when another add-in saved them.
    void UpdateCommonData();

    // Called by the engine after it asked the user for a rate.
    void LoadClickTableTaux() override;

    // The library's windows. Each loads the windows module on first use; without a display
    // they fail with kvt::Error(err::Windows), except where said.
    // The first-time wizard: shown when "FirstTime" is exactly "ON", or when forced.
    void FirstTime(bool vblnForceLoad = false);
    // The welcome screen, modeless, when the driver's ShowWelcomDialog is on; then removed.
    void LoadBienvenue();
    void UnloadBienvenue();
    // The about box, modal, as it was last filled.
    void AboutKVT();
    // The about box with a table of parameters (collections of equal length). Traced as
    // "ShowAbout"; a failure is a trace error line and a critical message box.
    void ShowAbout(const std::vector<std::string> &colParam,
                   const std::vector<std::string> &colParamValues);
    // True when none of the host's windows and none of the library's is visible. Asks no
    // window that was never opened, so it never loads the windows module.
    bool NoWindowsVisible();
    // Asks the user where a converted amount goes.
    InsAutoTypePos getPosIns();
    // The folder chooser, created on first use and kept with this facade.
    class FrmDriveDir &FrmDriveDir();
    // The control panel's "show the wizard at start" check box.
    void setShowFirstTime(bool value);
    // Re-labels the control panel in the current language.
    void CPTranslate();
    // Shows the control panel modally: true when the user saved at least once. A failure is
    // told in a critical box and gives false.
    bool ShowCP();

    // The clipboard. Save and Restore keep the user's whole clipboard in this facade's store.
    void ClipboardClear();
    void ClipboardSetData(const Picture &picture);
    void ClipboardSave();
    void ClipboardRestore();
    Picture ClipboardGetData();
    const ClipboardStore &clipboardStore() const { return mClipboard; }
    // The colour dialog: the chosen colour, or rColorDef when cancelled. Colours hold red in
    // the lowest byte.
    std::int32_t ColorByDialog(std::int32_t rColorDef);
    // The font dialog, preset from the values and writing the choice back; a cancel sets only
    // Cancel.
    void FontByDialog(bool &Cancel, std::string &Name, float &size, bool &bold, bool &italic,
                      bool &strike, bool &underline, std::int32_t &color);

    // The driver; fails before init.
    CPExcel &driver() const;

private:
    Change &engine() const;
    double convertTraced(double Montant, std::string_view DeviseFrom, std::string_view DeviseTo,
                         const std::int16_t &NbDecEuroInter, MethodeArondiType MethodeArondi,
                         std::string_view format);

    struct EditEvents {
        bool start = false;
        bool running = false;
        bool update = false;
        bool finished = false;
        bool allowed = false;
    };

    void onAddInEvent(AddInEvent event) override;
    void putFlag(bool &flag, bool value);
    // One pass of the state machine; false when the run stops.
    bool runPass();
    std::string editorName();
    void raise(void (EventRaiser::*event)());

    std::shared_ptr<KVTBug> mTrace;
    std::shared_ptr<AddInMgr> mAddInMgr;
    std::shared_ptr<EventRaiser> mEventSource;
    std::unique_ptr<EventSubscription> mSubscription;
    EditEvents mEvents;
    std::unique_ptr<CPExcel> mDriver;
    AddInStates mEditState = EditUnknown;
    std::string mAddInName;
    ClipboardStore mClipboard;
    std::unique_ptr<class FrmDriveDir> mFrmDriveDir;
    // This facade as the engine's rate table listener: a non-owning reference that expires
    // when the facade ends.
    std::shared_ptr<RateTableListener> mAsListener;
};

// The folder chooser as a facade holds it: its state lives here, its window in the windows
// module, created when first shown.
class KVT_EXPORT FrmDriveDir {
public:
    // Modal; OK keeps the folder as the chosen path, Cancel empties both paths.
    void Show() { windowServices().showDriveDir(mChoice); }
    const std::string &ChosenPath() const { return mChoice.chosenPath; }
    const std::string &CurrentPath() const { return mChoice.currentPath; }
    void setCurrentPath(std::string path) { mChoice.currentPath = std::move(path); }

private:
    FolderChoice mChoice;
};

// The most recently created facade that still lives; null when none does. When the current
// one ends, the most recently created of the others takes its place, so that the windows of a
// remaining add-in still reach their facade.
KVT_EXPORT KVTMain *CurrentMain();

} // namespace kvt
