#include "facade/KVTMain.h"

#include "engine/NumberFormat.h"
#include "engine/SharedChange.h"
#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/CurrencyValues.h"
#include "model/Devise.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "model/Registry.h"
#include "model/SettingsValues.h"
#include "trace/KVTBug.h"
#include "ui/ControlPanel.h"
#include "ui/HelpFile.h"

#include <algorithm>
#include <type_traits>

namespace kvt {

namespace {

constexpr const char *kProjectName = "Talvio";
constexpr const char *kDebugMain = "DEBUGMAIN";

// The living facades in creation order; the last one is CurrentMain. The library runs on the
// host's one thread.
std::vector<KVTMain *> &liveFacades() {
    static std::vector<KVTMain *> facades;
    return facades;
}

// Loads the message file into the catalogue only when it holds texts the library uses: a
// message file of some other product would make every text and every built-in currency name
// empty, and those names would be stored.
void loadMessageFile(Message &catalogue, const std::string &path) {
    Message loaded;
    loaded.subLoadIndex(path);
    if (!loaded.holdsAnyOf(msg::kAllNamed))
        throw Error(err::FileAccess, "The file \"" + path
                                         + "\" is not Talvio's message file: it holds none of "
                                           "the texts Talvio uses (currency names, labels, "
                                           "messages).");
    catalogue = std::move(loaded);
}

[[noreturn]] void failNotInitialised() {
    throw Error(err::NotInitialised, "KVTMain: init has not been called");
}

// Runs a traced operation whose failures go to the trace only: the label and end word are
// built only while tracing is on; a failure becomes an error line under the operation's
// function and the result is the neutral value of its type.
template<class MakeLabel, class Work, class MakeEndWord>
auto tracedQuietly(KVTBug &trace, MakeLabel &&makeLabel, Work &&work, MakeEndWord &&makeEndWord)
    -> decltype(work()) {
    using Result = decltype(work());
    std::int16_t handle = 0;
    try {
        handle = trace.beginWith(makeLabel);
        if constexpr (std::is_void_v<Result>) {
            work();
            trace.EndFct(handle);
        } else {
            Result result = work();
            trace.endWith(handle, [&] { return makeEndWord(result); });
            return result;
        }
    } catch (const std::exception &failure) {
        // The trace is the only place this failure is reported; when the trace itself is what
        // fails, nothing is left to tell, and the operation still ends quietly.
        try {
            trace.Error(handle, failure.what());
            trace.EndFct(handle);
        } catch (...) {
        }
        if constexpr (!std::is_void_v<Result>)
            return Result{};
    }
}

constexpr auto noEndWord = [](const auto &) {
    return std::string();
};

} // namespace

KVTMain *CurrentMain() {
    const auto &facades = liveFacades();
    return facades.empty() ? nullptr : facades.back();
}

KVTMain::KVTMain()
    : mTrace(sharedTrace())
    , mAsListener(static_cast<RateTableListener *>(this), [](RateTableListener *) {}) {
    mTrace->EndFct(mTrace->BeginFct("Class_Initialize KVTMain"));
    liveFacades().push_back(this);
    setHelpFile(libraryFolder() + "/../help/talvio.hlp");
    mEditState = EditUnknown;
}

KVTMain::~KVTMain() {
    std::int16_t handle = 0;
    try {
        handle = mTrace->BeginFct("Class_Terminate KVTMain");
    } catch (...) {
        // The facade ends whether or not the trace can be told.
    }
    mDriver.reset();
    const std::shared_ptr<Change> engine = std::move(mChange);
    auto &facades = liveFacades();
    facades.erase(std::remove(facades.begin(), facades.end(), this), facades.end());
    // The engine tells the current facade after asking for a rate; that is now another one.
    mAsListener.reset();
    if (engine && CurrentMain())
        engine->setRateTableListener(CurrentMain()->mAsListener);
    mAddInMgr.reset();
    // The subscription ends first: no event may reach a facade that is ending.
    mSubscription.reset();
    mEventSource.reset();
    mColVBAWindows.reset();
    try {
        mTrace->EndFct(handle);
    } catch (...) {
    }
}

void KVTMain::init(const std::string &MsgPath) {
    mChange = sharedChange();
    const std::shared_ptr<Registry> registry = sharedRegistry();
    registry->setProjectName(kProjectName);
    KVTBug &trace = *mTrace;
    trace.setActive(parseSwitch(registry->strGetSetting(reg::kEngine, kDebugMain, "OFF")));
    trace.setModule("Main");
    const std::int16_t handle = trace.BeginFct("Initialisation");
    const std::shared_ptr<DG> dg = sharedDG();
    dg->setProjectName(kProjectName);
    dg->setRegSection(reg::kUserChoice);
    const std::shared_ptr<Message> messages = sharedMessage();
    loadMessageFile(*messages, MsgPath);
    mChange->initialize(dg, messages, CurrentMain()->mAsListener);
    mChange->setProjectName(kProjectName);
    mDriver = std::make_unique<CPExcel>(mChange, mEventSource);
    mDriver->ReadReg();
    mDriver->UpdateHelpFile();
    trace.EndFct(handle);
}

CPExcel &KVTMain::driver() const {
    if (!mDriver)
        failNotInitialised();
    return *mDriver;
}

Change &KVTMain::engine() const {
    if (!mChange)
        failNotInitialised();
    return *mChange;
}

std::string KVTMain::DeviseFrom() const {
    return sharedDG()->DeviseFrom();
}

std::string KVTMain::DeviseTo() const {
    return sharedDG()->DeviseTo();
}

MethodeArondiType KVTMain::MethodeArondi() const {
    return sharedDG()->MethodeArondi();
}

std::string KVTMain::ValeurCible() const {
    return sharedDG()->DevFormat();
}

std::int16_t KVTMain::NbDecEuroInter() const {
    return sharedDG()->NbDecEuroInter();
}

bool KVTMain::FormatDef() const {
    return sharedDG()->FormatDef();
}

std::int32_t KVTMain::Language() const {
    return sharedDG()->Langue();
}

bool KVTMain::ParValeur() const {
    return driver().ConvParValeur();
}

bool KVTMain::InsertAuto() const {
    return driver().InsAuto();
}

std::int32_t KVTMain::InsertAutoType() const {
    return driver().InsAutoType();
}

bool KVTMain::ShowStatusBar() const {
    return driver().ShowStatus();
}

void KVTMain::InverseDevise() {
    tracedQuietly(
        *mTrace, [] { return std::string("Inverse Devise"); },
        [this] {
            sharedDG()->InverseDevise();
            driver().TranslateCombo();
        },
        noEndWord);
}

std::string KVTMain::Translate(std::int32_t ID) {
    return tracedQuietly(
        *mTrace, [ID] { return "Translate " + std::to_string(ID); },
        [ID] { return kvt::Translate(ID); }, noEndWord);
}

void KVTMain::WriteRegistry() {
    tracedQuietly(
        *mTrace, [] { return std::string("Write Registry"); },
        [this] {
            bool tables = true;
            driver().SaveReg(true, true, tables);
            engine().SaveReg();
        },
        noEndWord);
}

double KVTMain::TauxDeChangeConvert(const std::string &DeviseFrom, const std::string &DeviseTo) {
    return tracedQuietly(
        *mTrace, [&] { return "Taux de Change de " + DeviseFrom + " " + DeviseTo; },
        [&] { return engine().TauxDeChangeConvert(DeviseFrom, DeviseTo); },
        [](double rate) { return "Taux = " + numberText(rate); });
}

double KVTMain::convertTraced(double Montant, std::string_view DeviseFrom,
                              std::string_view DeviseTo, const std::int16_t &NbDecEuroInter,
                              MethodeArondiType MethodeArondi, std::string_view format) {
    return tracedQuietly(
        *mTrace,
        [&] {
            std::string label = "Conversion de " + numberText(Montant);
            label.append(" ").append(DeviseFrom).append(" ").append(DeviseTo);
            return label;
        },
        [&] {
            return engine().dblConvert(Montant, DeviseFrom, DeviseTo, NbDecEuroInter, MethodeArondi,
                                       format);
        },
        [](double result) { return "Conversion = " + numberText(result); });
}

void KVTMain::PsyRounds(TargetValueList &rStrList, std::int32_t &rRoundMethod) {
    engine().LoadListFormat(rStrList, static_cast<MethodeArondiType>(rRoundMethod), "");
}

bool KVTMain::FormatinDevise(const std::string &Devise, const std::string &format) {
    return engine().ColDevises()->Item(Devise)->FormatNumber(format);
}

std::string KVTMain::DeviseFormat(const std::string &Devise) {
    return engine().ColDevises()->Item(Devise)->FormatAlias();
}

std::string KVTMain::DeviseFormatNumber(const std::string &Devise, MethodeArondiType MethodeArondi,
                                        const std::string &format) {
    return engine().FormatNumbOut(MethodeArondi, Devise, format);
}

CodeNameList KVTMain::Currencies() {
    CodeNameList list;
    engine().LoadListDevise(list);
    return list;
}

std::vector<std::string> KVTMain::Alias(const std::string &rstrCur) {
    std::vector<std::string> list;
    engine().LoadListDeviseAlias(list, rstrCur);
    return list;
}

std::string KVTMain::AliasDefault(const std::string &rstrCur) {
    return engine().ColISO()->Item(rstrCur)->aliasDef();
}

void KVTMain::UpdateRateLabels(RateLabels &rstrLabels, const std::string &rstrCurFrom,
                               const std::string &rstrCurTo) {
    engine().UpdateRateLabels(rstrLabels, rstrCurFrom, rstrCurTo);
}

bool KVTMain::AskRateRequired(const std::string &rstrCurFrom, const std::string &rstrCurTo) {
    return engine().AskRateRequired(rstrCurFrom, rstrCurTo);
}

std::int32_t KVTMain::LegalNrOfDec(const std::string &rstrCur) {
    return FrmControlPanel::NrOfDec(engine().ColISO()->Item(rstrCur)->LegalFormat());
}

std::string KVTMain::LegalFormatFromNrDec(std::int32_t nrDec) {
    return FrmControlPanel::LegalFormatFromNrDec(nrDec);
}

std::int32_t KVTMain::NrOfDec(const std::string &rstrLegal) {
    return FrmControlPanel::NrOfDec(rstrLegal);
}

double KVTMain::LastRatesUpdate() {
    return engine().LastRatesUpdate();
}

std::string KVTMain::LanguageName(std::int32_t LanguageId) {
    return sharedMessage()->strGetLangMsg(LanguageId, 2);
}

void KVTMain::setShowMsgNumbers(bool on) {
    kvt::setShowMsgNumbers(on);
}

const std::shared_ptr<HostWindows> &KVTMain::ColVBAWindows() {
    if (!mColVBAWindows)
        mColVBAWindows = std::make_shared<HostWindows>();
    return mColVBAWindows;
}

} // namespace kvt
