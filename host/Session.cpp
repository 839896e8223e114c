#include "Session.h"

#include "Store.h"
#include "messages/Message.h"
#include "messages/ShippedMessageFile.h"
#include "model/Collections.h"
#include "model/DateNumber.h"
#include "model/Devise.h"
#include "model/ISO.h"

namespace talvio {

Session::Session(const std::string &explicitSettings, const std::string &explicitMessages) {
    mChange = std::make_shared<kvt::Change>();
    openSettings(explicitSettings);
    mDG = kvt::sharedDG();
    mDG->setProjectName(kApplication);
    mDG->setRegSection("UserChoice");
    const auto messages = kvt::sharedMessage();
    messages->subLoadIndex(kvt::shippedMessageFile(explicitMessages));
    mChange->initialize(mDG, messages, {});
    mChange->setProjectName(kApplication);
    mDG->ReadReg();
    mChange->ReadReg();
}

kvt::MethodeArondiType Session::MethodeArondi() const {
    return mDG->MethodeArondi();
}

std::string Session::ValeurCible() const {
    return mDG->DevFormat();
}

std::int16_t Session::NbDecEuroInter() const {
    return mDG->NbDecEuroInter();
}

bool Session::FormatDef() const {
    return mDG->FormatDef();
}

double Session::Convert(double amount, const std::string &from, const std::string &to,
                        std::int16_t nbDecEuroInter, kvt::MethodeArondiType method,
                        const std::string &pattern) {
    return mChange->dblConvert(amount, from, to, nbDecEuroInter, method, pattern);
}

std::string Session::DeviseFormat(const std::string &code) {
    return mChange->ColDevises()->Item(code)->FormatAlias();
}

std::string Session::DeviseFormatNumber(const std::string &code, kvt::MethodeArondiType method,
                                        const std::string &pattern) {
    return mChange->FormatNumbOut(method, code, pattern);
}

bool Session::AskRateRequired(const std::string &from, const std::string &to) {
    return mChange->AskRateRequired(from, to);
}

double Session::TauxDeChangeConvert(const std::string &from, const std::string &to) {
    return mChange->TauxDeChangeConvert(from, to);
}

void Session::UpdateRateLabels(kvt::RateLabels &labels, const std::string &from,
                               const std::string &to) {
    mChange->UpdateRateLabels(labels, from, to);
}

void Session::UpdateTaux(double amount, kvt::ConversionDetail &source,
                         kvt::ConversionDetail &target, const std::string &from,
                         const std::string &to, kvt::MethodeArondiType method,
                         const std::string &pattern) {
    const std::string storedFrom = mDG->DeviseFrom();
    const std::string storedTo = mDG->DeviseTo();
    mDG->setDeviseFrom(from);
    mDG->setDeviseTo(to);
    double rate = 0.0;
    mChange->UpdateTaux(amount, source, target, from, to, rate, method, pattern);
    mDG->setDeviseFrom(storedFrom);
    mDG->setDeviseTo(storedTo);
}

void Session::PsyRounds(kvt::TargetValueList &list, kvt::MethodeArondiType method) {
    mChange->LoadListFormat(list, method, "");
}

kvt::CodeNameList Session::Currencies() {
    kvt::CodeNameList list;
    mChange->LoadListDevise(list);
    return list;
}

kvt::CodeNameList Session::Catalogue() {
    kvt::CodeNameList list;
    mChange->LoadListISO(list);
    return list;
}

bool Session::InEuroArea(const std::string &code) {
    return mChange->ColDevises()->Item(code)->InEuro();
}

bool Session::IsSelected(const std::string &code) {
    return mChange->ColDevises()->find(code) != nullptr;
}

void Session::EnterRate(const std::string &from, const std::string &to, double rate) {
    mChange->setTauxDeChange(from, to, rate);
    mChange->setTauxDeChange(to, from, 1.0 / rate);
    mChange->ColISO()->Item(to)->ColTaux()->Item(from)->Exist = false;
    mChange->setLastRatesUpdate(kvt::currentDateNumber());
    mChange->PropagateTaux(from, to);
}

void Session::WriteRegistry() {
    mDG->SaveReg();
    mChange->SaveReg();
}

} // namespace talvio
