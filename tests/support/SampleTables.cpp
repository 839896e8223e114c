#include "support/SampleTables.h"

#include "model/BuiltInCurrencies.h"
#include "model/CurrencyTables.h"
#include "model/Devise.h"
#include "model/ISO.h"

namespace kvt::test {

namespace {

struct SampleCurrency {
    const char *code;
    const char *legalPattern;
    bool inEuro;
};

constexpr SampleCurrency kCurrencies[] = {
    {"EUR", "X.XX", false}, {"BEF", "X", true},     {"DEM", "X.XX", true},  {"FRF", "X.XX", true},
    {"ITL", "X", true},     {"USD", "X.XX", false}, {"GBP", "X.XX", false}, {"JPY", "X", false},
    {"AAA", "X.XX", false}, {"BBB", "X.XX", false},
};

} // namespace

void addSampleCurrencies(CurrencyTables &tables) {
    for (const SampleCurrency &c : kCurrencies) {
        tables.mSubAddISO(c.code, 0, c.legalPattern, c.inEuro ? "EUR" : "");
        tables.ColISO()->Item(c.code)->AddAlias("ISO", c.code, true);
    }
    for (const SampleCurrency &owner : kCurrencies)
        for (const SampleCurrency &other : kCurrencies)
            tables.ColISO()->Item(owner.code)->AddTaux(other.code, 0.0);
    for (const SampleCurrency &c : kCurrencies)
        tables.AddDevise(c.code);
    for (const EuroAreaCurrency &row : kEuroAreaCurrencies)
        if (tables.ColISO()->find(row.code) != nullptr)
            setGivenRate(tables, "EUR", std::string(row.code), row.rateToEuro);
}

void setGivenRate(CurrencyTables &tables, const std::string &from, const std::string &to,
                  double rate) {
    Taux &record = *tables.ColISO()->Item(from)->ColTaux()->Item(to);
    record.Change = rate;
    record.Exist = true;
}

} // namespace kvt::test
