#include "messages/Message.h"
#include "model/BuiltInCurrencies.h"
#include "model/CurrencyTables.h"
#include "model/Error.h"

#include <array>

namespace kvt {

namespace {

// Fields 1 to 24 of a record; the ones that differ between currencies are filled in.
constexpr std::size_t kLegalPatternField = 3;
constexpr std::size_t kNumberFormatField = 5;
constexpr std::size_t kColourField = 22;
constexpr std::array<std::string_view, 24> kRecordFields = {
    "130", "0", "0",  "",  "0", "",  "4", "0",     "0",  "0", "0", "0",
    "0",   "0", "-1", "0", "0", "0", "0", "Arial", "10", "0", "",  "0"};

template<class Row>
BuiltInCurrency builtInRow(const Row &row, std::optional<double> rate, std::string names) {
    return {std::string(row.code),         rate,
            std::string(row.legalPattern), std::move(names),
            std::string(row.aliases),      cellFormatRecord(row.cellFormat)};
}

} // namespace

std::string cellFormatRecord(const CellFormatStyle *style) {
    if (style == nullptr)
        return {};
    std::string record;
    for (std::size_t i = 0; i < kRecordFields.size(); ++i) {
        if (i > 0)
            record += '\t';
        if (i == kLegalPatternField)
            record += style->legalPattern;
        else if (i == kNumberFormatField)
            record += style->numberFormat;
        else if (i == kColourField)
            record += style->colour;
        else
            record += kRecordFields[i];
    }
    return record;
}

const BuiltInCurrency &BuiltInTable::row(std::int32_t number) const {
    if (number < 1 || number > rowCount())
        throw Error(err::PositionOutOfRange, "The built-in table has no row "
                                                 + std::to_string(number) + "; its rows are 1 to "
                                                 + std::to_string(rowCount()) + ".");
    return mRows[static_cast<std::size_t>(number - 1)];
}

std::string CurrencyTables::BuiltInNames(std::int32_t N) {
    std::string names;
    for (std::int16_t language = 0; language < NrLanguages(); ++language) {
        names += messages().strGetLangMsg(language, N);
        names += '|';
    }
    return names;
}

void CurrencyTables::InitIsosInitInEuro() {
    mIsosInitInEuro.clear();
    for (const EuroAreaCurrency &row : kEuroAreaCurrencies)
        mIsosInitInEuro.append(builtInRow(row, row.rateToEuro, BuiltInNames(row.namesMessage)));
}

void CurrencyTables::InitOutIsos() {
    mOutIsos.clear();
    for (const OtherCurrency &row : kOtherCurrencies)
        mOutIsos.append(builtInRow(row, std::nullopt, BuiltInNames(row.namesMessage)));
}

BuiltInTable CurrencyTables::IsosInitInEuro() {
    return euroAreaTable();
}

// Tables still empty when first needed are filled from the messages of that moment.
const BuiltInTable &CurrencyTables::euroAreaTable() {
    if (mIsosInitInEuro.empty())
        InitIsosInitInEuro();
    return mIsosInitInEuro;
}

const BuiltInTable &CurrencyTables::otherTable() {
    if (mOutIsos.empty())
        InitOutIsos();
    return mOutIsos;
}

void CurrencyTables::initializeTables(std::shared_ptr<DG> rDG, std::shared_ptr<Message> rMsg) {
    setGeneralSettings(std::move(rDG));
    setMessages(std::move(rMsg));
    InitIsosInitInEuro();
    InitOutIsos();
}

} // namespace kvt
