#include "support/ConversionFixture.h"

#include "model/BuiltInCurrencies.h"
#include "model/Devise.h"
#include "model/ISO.h"

namespace kvt::test {

namespace {

struct FixtureCurrency {
    const char *code;
    const char *legalPattern;
    bool inEuro;
};

constexpr FixtureCurrency kCurrencies[] = {
    {"EUR", "X.XX", false}, {"BEF", "X", true},    {"DEM", "X.XX", true},
    {"FRF", "X.XX", true},  {"ITL", "X", true},    {"USD", "X.XX", false},
    {"GBP", "X.XX", false}, {"JPY", "X", false},   {"AAA", "X.XX", false},
    {"BBB", "X.XX", false},
};

} // namespace

void ConversionFixture::SetUp()
{
    boxes = std::make_shared<ScriptedMessageBoxes>();
    setMessageBoxes(boxes);
    for (const FixtureCurrency &c : kCurrencies) {
        change.mSubAddISO(c.code, 0, c.legalPattern, c.inEuro ? "EUR" : "");
        change.ColISO()->Item(c.code)->AddAlias("ISO", c.code, true);
    }
    for (const FixtureCurrency &owner : kCurrencies)
        for (const FixtureCurrency &other : kCurrencies)
            change.ColISO()->Item(owner.code)->AddTaux(other.code, 0.0);
    for (const FixtureCurrency &c : kCurrencies)
        change.AddDevise(c.code);
    for (const EuroAreaCurrency &row : kEuroAreaCurrencies)
        if (change.ColISO()->find(row.code) != nullptr)
            setRate("EUR", std::string(row.code), row.rateToEuro);
}

void ConversionFixture::TearDown()
{
    setMessageBoxes(nullptr);
}

void ConversionFixture::setRate(const std::string &from, const std::string &to, double rate)
{
    Taux &record = *change.ColISO()->Item(from)->ColTaux()->Item(to);
    record.Change = rate;
    record.Exist = true;
}

std::string ConversionFixture::lastFailure() const
{
    return boxes->shown().empty() ? std::string() : boxes->shown().back().text;
}

} // namespace kvt::test
