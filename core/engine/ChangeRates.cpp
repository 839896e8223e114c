#include "engine/Change.h"
#include "engine/RatePrompt.h"
#include "engine/UserNumber.h"
#include "messages/Message.h"
#include "messages/MessageBoxes.h"
#include "messages/MsgIds.h"
#include "model/BuiltInCurrencies.h"
#include "model/Devise.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "model/Registry.h"
#include "model/Taux.h"

#include <optional>

namespace kvt {

namespace {

const std::string kEuroIso(kEuroCode);
constexpr std::string_view kLineBreak = "\r\n";

Error rateError(const std::string &from, const std::string &to) {
    return Error(err::RateIsZero, "Conversion rate is 0 or does not exist."
                                      + std::string(kLineBreak) + "The conversion rate between "
                                      + from + " and " + to + " is 0." + std::string(kLineBreak)
                                      + "Please, provide a non zero conversion rate for them in "
                                        "the control panel.");
}

// The Change of a given rate; null when the record holds no given rate.
const double *givenRate(const Taux &record) {
    return record.Exist ? &record.Change : nullptr;
}

} // namespace

Taux &Change::rateRecord(std::string_view owner, std::string_view other) {
    return *ColISO()->Item(owner)->ColTaux()->Item(other);
}

bool Change::inEuroArea(std::string_view code) {
    return ColDevises()->Item(code)->InEuro();
}

// A copy of the selection to walk over: asking for a rate in the middle of a walk hands control
// to the user interface, which must not be able to pull the collection from under the walk.
std::vector<std::shared_ptr<Devise>> Change::selection() {
    const std::shared_ptr<kvt::ColDevises> &selected = ColDevises();
    return {selected->begin(), selected->end()};
}

std::string Change::messageText(std::int32_t number) {
    if (showMsgNumbers())
        return std::to_string(number);
    return messages().strGetLangMsg(generalSettings().Langue(), number);
}

double Change::TauxDeChange(const std::string &vDeviseFrom, const std::string &vDeviseTo) {
    double rate = 0.0;
    try {
        rate = givenOrAskedRate(vDeviseFrom, vDeviseTo);
    } catch (const std::exception &) {
        throw rateError(vDeviseFrom, vDeviseTo);
    }
    if (rate == 0.0)
        throw rateError(vDeviseFrom, vDeviseTo);
    return rate;
}

double Change::givenOrAskedRate(const std::string &from, const std::string &to) {
    const auto ask = [&] {
        return AskRate(from, to, "1", sharedRegistry()->ProjectName());
    };
    if (const double *forward = givenRate(rateRecord(from, to)))
        return *forward != 0.0 ? *forward : ask();
    // A given reverse rate of 0 cannot be inverted: the user is asked for this direction.
    if (const double *reverse = givenRate(rateRecord(to, from)))
        return *reverse != 0.0 ? 1.0 / *reverse : ask();
    if (from == to)
        return 1.0;
    return ask();
}

double Change::TauxDeChangeConvert(const std::string &vDeviseFrom, const std::string &vDeviseTo) {
    try {
        // Both are looked up: an unknown code on either side is a failure.
        const bool fromInEuroArea = inEuroArea(vDeviseFrom);
        const bool toInEuroArea = inEuroArea(vDeviseTo);
        if (fromInEuroArea || toInEuroArea)
            return TauxDeChange(vDeviseFrom, kEuroIso) * TauxDeChange(kEuroIso, vDeviseTo);
        return TauxDeChange(vDeviseFrom, vDeviseTo);
    } catch (const std::exception &failure) {
        messageBoxes().show(BoxRequest{{},
                                       messageText(msg::OperationFailed)
                                           + " (TauxDeChangeConvert): " + failure.what(),
                                       BoxIcon::None,
                                       BoxButtons::Ok});
        return 0.0;
    }
}

bool Change::AskRateRequired(const std::string &vDeviseFrom, const std::string &vDeviseTo) {
    const std::string &from = vDeviseFrom;
    const std::string &to = vDeviseTo;
    const bool fromInEuroArea = inEuroArea(from);
    const bool toInEuroArea = inEuroArea(to);

    if (fromInEuroArea) {
        const double *fixed = givenRate(rateRecord(kEuroIso, from));
        if (fixed == nullptr || *fixed == 0.0)
            return true;
        const double *second = givenRate(rateRecord(kEuroIso, to));
        if (second == nullptr)
            second = givenRate(rateRecord(to, kEuroIso));
        if (second == nullptr)
            return to != kEuroIso;
        return *second == 0.0;
    }

    if (toInEuroArea) {
        const double *first = givenRate(rateRecord(from, kEuroIso));
        if (first == nullptr)
            first = givenRate(rateRecord(kEuroIso, from));
        if (first == nullptr && from != kEuroIso)
            return true;
        if (first != nullptr && *first == 0.0)
            return true;
        const double *fixed = givenRate(rateRecord(kEuroIso, to));
        return fixed != nullptr && *fixed == 0.0;
    }

    const double *rate = givenRate(rateRecord(from, to));
    if (rate == nullptr)
        rate = givenRate(rateRecord(to, from));
    if (rate == nullptr)
        return from != to;
    return *rate == 0.0;
}

RatePrompt &Change::FrmAskRate() {
    return ratePrompt();
}

double Change::AskRate(const std::string &vDeviseFrom, const std::string &vDeviseTo,
                       const std::string &vtxtRateText, const std::string &vProjectName) {
    RateQuestion question{messageText(msg::AskRateExplanation) + std::string(kLineBreak)
                              + messageText(msg::AskRateHowTo),
                          vDeviseFrom, vDeviseTo, vtxtRateText, vProjectName};
    double rate = askOnce(question);
    while (!isUsableRate(rate)) {
        const std::int32_t refusal = rate == 0.0 ? msg::AskRateNotZero : msg::AskRateNotUsable;
        messageBoxes().show(BoxRequest{{}, messageText(refusal), BoxIcon::None, BoxButtons::Ok});
        rate = askOnce(question);
    }
    setTauxDeChange(vDeviseFrom, vDeviseTo, rate);
    PropagateTaux(vDeviseFrom, vDeviseTo);
    if (const std::shared_ptr<RateTableListener> listener = mRateTableListener.lock())
        listener->LoadClickTableTaux();
    return rate;
}

// One showing of the question. The next one starts from what the user typed, as a window shown
// again would. A prompt that cannot ask would get the same answer for ever: give up at once.
double Change::askOnce(RateQuestion &question) {
    std::optional<std::string> typed = FrmAskRate().ask(question);
    if (!typed)
        throw rateError(question.from, question.to);
    question.initialText = std::move(*typed);
    return userNumber(question.initialText);
}

bool Change::givenRateWithEuro(Devise &currency, const std::string &code) {
    return currency.ColTaux()->Item(kEuroCode)->Exist || rateRecord(kEuroCode, code).Exist;
}

bool Change::connected(Devise &d1, const std::string &code1, Devise &d2, const std::string &code2) {
    if (d1.ColTaux()->Item(code2)->Exist || d2.ColTaux()->Item(code1)->Exist)
        return true;
    if (d1.InEuro() && givenRateWithEuro(d2, code2))
        return true;
    if (d2.InEuro() && givenRateWithEuro(d1, code1))
        return true;
    return code1 == code2;
}

void Change::UpdateAllTaux() {
    const std::vector<std::shared_ptr<Devise>> selected = selection();
    for (const std::shared_ptr<Devise> &d1 : selected) {
        const std::string code1 = d1->ISO();
        for (const std::shared_ptr<Devise> &d2 : selected) {
            const std::string code2 = d2->ISO();
            if (connected(*d1, code1, *d2, code2))
                d1->ColTaux()->Item(code2)->Change = TauxDeChangeConvert(code1, code2);
        }
    }
}

void Change::PropagateTaux(const std::string &strDev1, const std::string &strDev2) {
    const bool firstIsEuro = strDev1 == kEuroIso;
    if (firstIsEuro == (strDev2 == kEuroIso))
        return;
    const std::string other = firstIsEuro ? strDev2 : strDev1;
    for (const std::shared_ptr<Devise> &zone : selection()) {
        if (!zone->InEuro())
            continue;
        const std::string code = zone->ISO();
        zone->ColTaux()->Item(other)->Change = TauxDeChangeConvert(code, other);
        rateRecord(other, code).Change = TauxDeChangeConvert(other, code);
    }
}

void Change::ReadReg() {
    CurrencyTables::ReadReg();
    // Told after the load's batch has ended: a box open inside it would keep every other add-in
    // from saving until the user closed it.
    std::string problems;
    for (const std::string &problem : takeLoadProblems())
        problems += (problems.empty() ? "" : std::string(kLineBreak)) + problem;
    if (!problems.empty())
        messageBoxes().show(BoxRequest{"Talvio", problems, BoxIcon::Information, BoxButtons::Ok});
    UpdateAllTaux();
}

bool Change::ConvOK() {
    const DG &settings = generalSettings();
    return !settings.DeviseFrom().empty() && !settings.DeviseTo().empty()
           && settings.DevFormat().find('X') != std::string::npos
           && settings.DeviseFrom() != settings.DeviseTo();
}

} // namespace kvt
