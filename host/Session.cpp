#include "Session.h"

#include "Store.h"
#include "engine/RateEntry.h"
#include "messages/ShippedMessageFile.h"
#include "model/Collections.h"
#include "model/DateNumber.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "model/SqliteSettingsBackend.h"

namespace talvio {

Session::Session(const std::string &explicitSettings, const std::string &explicitMessages)
    : mDatabase(openSettings(explicitSettings).database)
    , mMessagesPath(kvt::shippedMessageFile(explicitMessages)) {
    mMain.init(mMessagesPath);
}

std::string Session::SettingsPath() const {
    return mDatabase->path().string();
}

kvt::MethodeArondiType Session::MethodeArondi() const {
    return mMain.MethodeArondi();
}

std::string Session::ValeurCible() const {
    return mMain.ValeurCible();
}

std::int16_t Session::NbDecEuroInter() const {
    return mMain.NbDecEuroInter();
}

bool Session::FormatDef() const {
    return mMain.FormatDef();
}

double Session::Convert(double amount, const std::string &from, const std::string &to,
                        std::int16_t nbDecEuroInter, kvt::MethodeArondiType method,
                        const std::string &pattern) {
    return mMain.Convert(amount, from, to, nbDecEuroInter, method, pattern);
}

std::string Session::DeviseFormat(const std::string &code) {
    return mMain.DeviseFormat(code);
}

std::string Session::DeviseFormatNumber(const std::string &code, kvt::MethodeArondiType method,
                                        const std::string &pattern) {
    return mMain.DeviseFormatNumber(code, method, pattern);
}

bool Session::AskRateRequired(const std::string &from, const std::string &to) {
    return mMain.AskRateRequired(from, to);
}

double Session::TauxDeChangeConvert(const std::string &from, const std::string &to) {
    return mMain.TauxDeChangeConvert(from, to);
}

void Session::UpdateRateLabels(kvt::RateLabels &labels, const std::string &from,
                               const std::string &to) {
    mMain.UpdateRateLabels(labels, from, to);
}

void Session::UpdateTaux(double amount, kvt::ConversionDetail &source,
                         kvt::ConversionDetail &target, const std::string &from,
                         const std::string &to, kvt::MethodeArondiType method,
                         const std::string &pattern) {
    // The driver details the pair and rounding the general settings hold; this command's choice
    // stands in for them while it runs and is never saved.
    kvt::DG &settings = *kvt::sharedDG();
    const kvt::DG stored = settings;
    settings.setDeviseFrom(from);
    settings.setDeviseTo(to);
    settings.setMethodeArondi(method);
    settings.setDevFormat(pattern);
    try {
        mMain.driver().UpdateTaux(amount, source, target);
    } catch (...) {
        settings = stored;
        throw;
    }
    settings = stored;
}

void Session::PsyRounds(kvt::TargetValueList &list, kvt::MethodeArondiType method) {
    std::int32_t number = method;
    mMain.PsyRounds(list, number);
}

kvt::CodeNameList Session::Currencies() {
    return mMain.Currencies();
}

kvt::CodeNameList Session::Catalogue() {
    kvt::CodeNameList list;
    mMain.mChange->LoadListISO(list);
    return list;
}

bool Session::InEuroArea(const std::string &code) {
    return mMain.mChange->ColDevises()->Item(code)->InEuro();
}

bool Session::IsSelected(const std::string &code) {
    return mMain.mChange->ColDevises()->find(code) != nullptr;
}

void Session::EnterRate(const std::string &from, const std::string &to, double rate) {
    kvt::enterRate(*mMain.mChange, from, to, rate, kvt::currentDateNumber());
}

// The driver's save, as Apply does it, rather than the facade's WriteRegistry: that one keeps
// a failure in the trace only, and a command must not report a save that failed as done.
void Session::WriteRegistry() {
    mDatabase->prepareToWrite();
    bool tables = true;
    mMain.driver().SaveReg(true, true, tables);
}

void Session::PrepareToWrite() {
    mDatabase->prepareToWrite();
}

void Session::SaveGeneralSettings() {
    mDatabase->prepareToWrite();
    bool tables = false;
    mMain.driver().SaveReg(true, false, tables);
}

void Session::SaveTables() {
    mDatabase->prepareToWrite();
    bool tables = true;
    mMain.driver().SaveReg(false, false, tables);
}

} // namespace talvio
