#include "engine/RateImport.h"

#include "engine/Change.h"
#include "engine/RateEntry.h"
#include "model/BuiltInCurrencies.h"
#include "model/Collections.h"
#include "model/Devise.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "model/Taux.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace kvt {

namespace {

const ReferenceDay &chosenDay(const ReferenceRates &rates, const std::string &date) {
    const ReferenceDay *day = date.empty() ? rates.newest() : rates.day(date);
    if (day == nullptr)
        throw Error(err::InvalidArgument, "The file has no rates for " + date + ".");
    return *day;
}

} // namespace

std::optional<double> givenEuroRate(Change &change, const std::string &code) {
    const std::string euro(kEuroCode);
    if (const Taux *forward = change.ColISO()->Item(euro)->ColTaux()->find(code);
        forward != nullptr && forward->Exist && forward->Change > 0.0)
        return forward->Change;
    if (const Taux *reverse = change.ColISO()->Item(code)->ColTaux()->find(euro);
        reverse != nullptr && reverse->Exist && reverse->Change > 0.0)
        return 1.0 / reverse->Change;
    return std::nullopt;
}

RateImport planRateImport(Change &change, const ReferenceRates &rates, const std::string &date,
                          bool addCurrencies) {
    const ReferenceDay &day = chosenDay(rates, date);
    RateImport import;
    import.date = day.date;
    for (const ReferenceRate &rate : day.rates) {
        ISO *record = change.ColISO()->find(rate.currency);
        if (rate.currency == kEuroCode)
            import.skipped.push_back({rate.currency, "the euro itself"});
        else if (record == nullptr)
            import.skipped.push_back({rate.currency, "not in Talvio's catalogue"});
        else if (record->MasterISO() == kEuroCode)
            import.skipped.push_back({rate.currency, "in the euro area: its rate is fixed"});
        else if (change.ColDevises()->find(rate.currency) != nullptr)
            import.entered.push_back(
                {rate.currency, givenEuroRate(change, rate.currency), rate.rate, false});
        else if (addCurrencies)
            import.entered.push_back(
                {rate.currency, givenEuroRate(change, rate.currency), rate.rate, true});
        else
            import.skipped.push_back({rate.currency, "not selected (--add selects it)"});
    }
    return import;
}

void applyRateImport(Change &change, const RateImport &import, double when) {
    const std::string euro(kEuroCode);
    for (const RateImportEntry &entry : import.entered)
        if (entry.added)
            selectCurrency(change, entry.code);
    for (const RateImportEntry &entry : import.entered)
        enterRate(change, euro, entry.code, entry.rate, when);
}

ReferenceDay givenEuroRates(Change &change) {
    ReferenceDay day{isoDateOf(change.LastRatesUpdate()), {}};
    ColDevises &selection = *change.ColDevises();
    for (int i = 1; i <= selection.Count(); ++i) {
        Devise &currency = *selection.Item(i);
        if (currency.ISO() == kEuroCode || currency.InEuro())
            continue;
        if (const auto rate = givenEuroRate(change, currency.ISO()))
            day.rates.push_back({currency.ISO(), *rate});
    }
    return day;
}

std::string isoDateOf(double dateNumber) {
    using namespace std::chrono;
    const auto days = static_cast<int>(std::floor(dateNumber));
    const year_month_day date{sys_days{year{1899} / December / 30} + std::chrono::days{days}};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

} // namespace kvt
