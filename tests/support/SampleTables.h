#pragma once

#include <string>

namespace kvt {
class CurrencyTables;
}

namespace kvt::test {

// Fills the tables as loading does, on a small scale: the euro, four euro-area currencies
// with their fixed rates, and USD, GBP, JPY, AAA and BBB without rates; every currency
// selected, with its code alias and a rate placeholder towards every other one.
void addSampleCurrencies(CurrencyTables &tables);

// Sets a given rate: 1 from = rate to.
void setGivenRate(CurrencyTables &tables, const std::string &from, const std::string &to,
                  double rate);

} // namespace kvt::test
