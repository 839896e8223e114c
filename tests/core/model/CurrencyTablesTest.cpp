#include "model/CurrencyTables.h"

#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/BuiltInCurrencies.h"
#include "model/DG.h"
#include "model/DateNumber.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "support/ErrorMatchers.h"
#include "support/ForwardingBackend.h"
#include "support/ScopedNumericLocale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace kvt {
namespace {

using test::ThrowsError;
using testing::ElementsAre;
using testing::ElementsAreArray;

// A memory store that remembers every address written, so a test can list all values written.
class RecordingBackend final : public test::ForwardingBackend {
public:
    using Address = std::pair<std::string, std::string>; // section, key

    void write(const std::string &app, const std::string &section, const std::string &key,
               const std::string &value) override {
        mWritten.emplace(section, key);
        ForwardingBackend::write(app, section, key, value);
    }

    // Every value written since the last call, with what it holds now.
    std::map<Address, std::string> takeWritten() {
        std::map<Address, std::string> values;
        for (const Address &address : mWritten)
            values[address] = read("Talvio", address.first, address.second);
        mWritten.clear();
        return values;
    }

private:
    std::set<Address> mWritten;
};

constexpr const char *kSortedBuiltIns[] = {"ATS", "BEF", "CHF", "DEM", "ESP", "EUR",
                                           "FIM", "FRF", "GBP", "GRD", "IEP", "ITL",
                                           "JPY", "LUF", "NLG", "PTE", "USD"};
constexpr const char *kBuiltInSelection[] = {"USD", "GBP", "CHF", "JPY", "EUR", "ATS",
                                             "BEF", "DEM", "ESP", "FIM", "FRF", "GRD",
                                             "IEP", "ITL", "LUF", "NLG", "PTE"};

// The names value the test messages give a built-in currency: "BEF-0|BEF-1|...|BEF-5|".
std::string testNames(std::string_view code) {
    std::string names;
    for (int language = 0; language < 6; ++language)
        names += std::string(code) + "-" + std::to_string(language) + "|";
    return names;
}

std::vector<std::string> keysOf(const auto &collection) {
    std::vector<std::string> keys;
    for (std::int32_t i = 1; i <= collection.Count(); ++i)
        keys.push_back(collection.keyAt(i));
    return keys;
}

// Tables on a recording memory store, with messages naming each built-in currency after its
// code and language (testNames), and English as the current language.
class CurrencyTablesTest : public testing::Test {
protected:
    CurrencyTablesTest() {
        std::string bytes;
        const auto addNames = [&](std::string_view code, std::int32_t number) {
            for (std::int32_t language = 0; language < 6; ++language)
                bytes += msgfile::makeRecord(number * 6 + language,
                                             std::string(code) + "-" + std::to_string(language));
        };
        for (const EuroAreaCurrency &row : kEuroAreaCurrencies)
            addNames(row.code, row.namesMessage);
        for (const OtherCurrency &row : kOtherCurrencies)
            addNames(row.code, row.namesMessage);
        addNames(kEuro.code, kEuro.namesMessage);
        bytes += msgfile::makeRecord(msg::NoDefaultAlias * 6 + EN, "(none)");
        mMessages->loadFromBytes(bytes);
        mDG->setLangue(EN);
        setSharedMessage(mMessages);
        setSharedDG(mDG);
        setShowMsgNumbers(false);
        setSharedRegistry(std::make_shared<Registry>(mBackend));
        mTables.initializeTables(mDG, mMessages);
        mTables.setProjectName("Talvio");
        mBackend->takeWritten();
    }
    ~CurrencyTablesTest() override {
        setSharedRegistry(nullptr);
        releaseSharedMessage();
        releaseSharedDG();
    }

    void store(const char *section, const char *key, const char *value) {
        mBackend->write("Talvio", section, key, value);
        mBackend->takeWritten();
    }
    std::string stored(const char *section, const char *key) {
        return mBackend->read("Talvio", section, key);
    }
    ISO &entry(const char *code) { return *mTables.ColISO()->Item(code); }
    std::vector<std::string> aliasesOf(const char *code) {
        std::vector<std::string> values;
        for (const auto &alias : *entry(code).ColAlias())
            values.push_back(alias->Value);
        return values;
    }

    std::shared_ptr<RecordingBackend> mBackend = std::make_shared<RecordingBackend>();
    std::shared_ptr<Message> mMessages = std::make_shared<Message>();
    std::shared_ptr<DG> mDG = std::make_shared<DG>();
    CurrencyTables mTables;
};

TEST_F(CurrencyTablesTest, emptyStoreLoadsTheBuiltInsAndStoresExactlyTheirDefaults) {
    const double before = currentDateNumber();
    mTables.ReadReg();

    EXPECT_THAT(keysOf(*mTables.ColISO()), ElementsAreArray(kSortedBuiltIns));
    EXPECT_THAT(keysOf(*mTables.ColDevises()), ElementsAreArray(kBuiltInSelection));
    EXPECT_GE(mTables.LastRatesUpdate(), before);
    EXPECT_LE(mTables.LastRatesUpdate(), currentDateNumber());

    const std::string bef =
        "130\t0\t0\tX\t0\t#,##0 \"FB\"\t4\t0\t0\t0\t0\t0\t0\t0\t-1\t0\t0\t0\t0\t"
        "Arial\t10\t0\t8454143\t0";
    const std::string usd = "130\t0\t0\tX.XX\t0\t#,##0.00 \"$\"\t4\t0\t0\t0\t0\t0\t0\t0\t-1\t0\t0\t"
                            "0\t0\tArial\t10\t0\t65280\t0";
    const std::string eur = "130\t0\t0\tX.XX\t0\t#,##0.00 \"\u20ac\"\t4\t0\t0\t0\t0\t0\t0\t0\t-1\t0"
                            "\t0\t0\t0\tArial\t10\t0\t16764057\t0";
    const std::map<std::string, std::string> aliases = {{"ATS", ""},
                                                        {"BEF", "BEF|BF|FB|F"},
                                                        {"DEM", "DEM|DM"},
                                                        {"ESP", "ESP|pta|pts"},
                                                        {"FIM", "FIM|mk"},
                                                        {"FRF", "FRF|F|Fr|Fr."},
                                                        {"GRD", "GRD|"},
                                                        {"IEP", "IEP|IR\u00a3"},
                                                        {"ITL", "ITL|L."},
                                                        {"LUF", "LUF|F"},
                                                        {"NLG", "NLG|fl|fl."},
                                                        {"PTE", "PTE|Esc."},
                                                        {"USD", "$|$"},
                                                        {"GBP", "\u00a3|\u00a3"},
                                                        {"JPY", "\u00a5|\u00a5"},
                                                        {"CHF", "CHF|SFr."},
                                                        {"EUR", "EUR|\u20ac"}};
    std::map<RecordingBackend::Address, std::string> expected;
    for (const auto &[code, alias] : aliases) {
        if (code != "EUR")
            expected[{"Currencies\\Names", code}] = testNames(code);
        expected[{"Currencies\\Alias", code}] = alias;
        expected[{"Talvio for Excel\\CurrencyFormats", code}] = code == "BEF"   ? bef
                                                                : code == "USD" ? usd
                                                                : code == "EUR" ? eur
                                                                                : "";
    }
    for (const char *code : {"EUR", "USD", "GBP", "JPY", "CHF"})
        expected[{"Currencies\\Rates", code}] = "";
    const std::string selection =
        "USD|GBP|CHF|JPY|EUR|ATS|BEF|DEM|ESP|FIM|FRF|GRD|IEP|ITL|LUF|NLG|PTE|";
    expected[{"Currencies", "DefaultSelection"}] = selection;
    expected[{"UserChoice", "Currencies"}] = selection;

    std::map<RecordingBackend::Address, std::string> written = mBackend->takeWritten();
    const auto lastUpdate = written.extract({"Currencies", "LastUpdate"});
    ASSERT_FALSE(lastUpdate.empty());
    EXPECT_NEAR(std::stod(lastUpdate.mapped()), mTables.LastRatesUpdate(), 1e-9);
    EXPECT_EQ(written, expected);
    EXPECT_TRUE(mBackend->enumerate("Talvio", "Currencies\\ISOCodes").empty());
}

// A store the user may only read still loads: a load of a store that holds everything writes
// nothing, not even the built-in names it checks.
TEST_F(CurrencyTablesTest, loadingAStoreThatHoldsEverythingWritesNothing) {
    mTables.ReadReg();
    mTables.SaveReg();
    mBackend->takeWritten();
    CurrencyTables again;
    again.initializeTables(mDG, mMessages);
    again.ReadReg();
    EXPECT_EQ(mBackend->takeWritten(), (std::map<RecordingBackend::Address, std::string>{}));
    EXPECT_THAT(keysOf(*again.ColISO()), ElementsAreArray(kSortedBuiltIns));
}

// Two processes that loaded the same store each enter rates and save in turn: neither loses the
// other's change, though each saves from its own, by then stale, copy.
TEST_F(CurrencyTablesTest, savesKeepWhatAnotherProcessChangedMeanwhile) {
    mTables.ReadReg();
    CurrencyTables other;
    other.initializeTables(mDG, mMessages);
    other.ReadReg();

    mTables.setTauxDeChange("EUR", "USD", 1.1);
    mTables.msubAddNames("CHF", "c0|c1|c2|c3|c4|c5|");
    other.setTauxDeChange("EUR", "GBP", 0.8);
    other.setTauxDeChange("USD", "JPY", 150);
    mTables.SaveReg();
    other.SaveReg();
    // A second change by the first process after it saved.
    mTables.setTauxDeChange("EUR", "USD", 1.2);
    mTables.SaveReg();

    EXPECT_THAT(stored("Currencies\\Rates", "EUR"),
                testing::AllOf(testing::HasSubstr("|GBP|0.8|"), testing::HasSubstr("|USD|1.2|")));
    EXPECT_EQ(stored("Currencies\\Rates", "USD"), "JPY|150|");
    EXPECT_EQ(stored("Currencies\\Names", "CHF"), "c0|c1|c2|c3|c4|c5|");
}

TEST_F(CurrencyTablesTest, builtInsGetTheirPatternsAliasesAndFixedRates) {
    mTables.ReadReg();
    struct Row {
        const char *code;
        const char *pattern;
        const char *master;
        const char *defaultAlias;
        std::vector<std::string> aliases;
    };
    const Row rows[] = {
        {"ATS", "X.XX", "EUR", "", {"ATS"}},
        {"GRD", "X", "EUR", "GRD", {"GRD"}},
        {"BEF", "X", "EUR", "BEF", {"BEF", "BF", "FB", "F"}},
        {"EUR", "X.XX", "", "EUR", {"EUR", "\u20ac"}},
        {"JPY", "X", "", "\u00a5", {"JPY", "\u00a5"}},
    };
    for (const Row &row : rows) {
        ISO &iso = entry(row.code);
        EXPECT_EQ(iso.LegalFormat(), row.pattern) << row.code;
        EXPECT_EQ(iso.MasterISO(), row.master) << row.code;
        EXPECT_EQ(iso.IndexPays(), 0) << row.code;
        EXPECT_EQ(iso.aliasDef(), row.defaultAlias) << row.code;
        EXPECT_EQ(aliasesOf(row.code), row.aliases) << row.code;
        EXPECT_TRUE(iso.Used()) << row.code;
        EXPECT_EQ(iso.ColNames()[1], std::string(row.code) + "-1") << row.code;
        EXPECT_EQ(iso.ColTaux()->Count(), 17) << row.code; // a placeholder towards each code
    }
    for (const EuroAreaCurrency &row : kEuroAreaCurrencies) {
        const Taux &fixed = *entry("EUR").ColTaux()->Item(row.code);
        EXPECT_TRUE(fixed.Exist && fixed.Change == row.rateToEuro) << row.code;
        EXPECT_FALSE(entry(std::string(row.code).c_str()).ColTaux()->Item("EUR")->Exist);
        EXPECT_TRUE(mTables.ColDevises()->Item(row.code)->InEuro());
    }
    EXPECT_FALSE(mTables.ColDevises()->Item("USD")->InEuro());
    // The fixed rates are derived at every load, not stored.
    EXPECT_EQ(stored("Currencies\\Rates", "EUR"), "");
}

TEST_F(CurrencyTablesTest, userAddedCurrenciesLoadTheirNamesAndAliasesWithDefaults) {
    struct Row {
        const char *names; // nullptr: nothing stored
        const char *alias;
        std::vector<std::string> expectedNames;
        const char *defaultAlias; // as aliasDef shows it
        std::vector<std::string> aliases;
        const char *storedNames; // afterwards
        const char *storedAlias;
    };
    const Row rows[] = {
        {nullptr,
         nullptr,
         {"XYZ", "XYZ", "XYZ", "XYZ", "XYZ", "XYZ"},
         "XYZ",
         {"XYZ", "XYZ"},
         "XYZ",
         "XYZ"},
        {"A|B|C|D|", "-1|", {"A", "B", "B", "C", "B", "D"}, "(none)", {"XYZ"}, "A|B|C|D|", "-1|"},
        {"E|F|N|",
         "xy|x1|x2",
         {"E", "E", "E", "F", "E", "N"},
         "xy",
         {"XYZ", "x1", "x2"},
         "E|F|N|",
         "xy|x1|x2"},
        {"1|2|3|4|5|6|7|", "|", {"1", "2", "3", "4", "5", "6"}, "", {"XYZ"}, "1|2|3|4|5|6|7|", "|"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.names ? row.names : "(no names)");
        mBackend->remove("Talvio", "Currencies\\Names", "XYZ");
        mBackend->remove("Talvio", "Currencies\\Alias", "XYZ");
        store("Currencies\\ISOCodes", "XYZ", "|-4|X.XXX||");
        if (row.names)
            store("Currencies\\Names", "XYZ", row.names);
        if (row.alias)
            store("Currencies\\Alias", "XYZ", row.alias);
        mTables.ReadReg();
        ISO &xyz = entry("XYZ");
        EXPECT_EQ(xyz.IndexPays(), -4);
        EXPECT_EQ(xyz.LegalFormat(), "X.XXX");
        EXPECT_EQ(xyz.ColNames(), row.expectedNames);
        EXPECT_EQ(xyz.aliasDef(), row.defaultAlias);
        EXPECT_EQ(aliasesOf("XYZ"), row.aliases);
        EXPECT_EQ(stored("Currencies\\Names", "XYZ"), row.storedNames);
        EXPECT_EQ(stored("Currencies\\Alias", "XYZ"), row.storedAlias);
    }
}

TEST_F(CurrencyTablesTest, storedBuiltInsGetCurrentNamesAndEuroAreaDataBack) {
    store("Currencies\\ISOCodes", "BEF", "|3|X.XX||");
    store("Currencies\\Names", "BEF", "old|names|");
    store("Currencies\\Alias", "BEF", "FB|BF");
    store("Currencies\\ISOCodes", "USD", "|0|X||");
    store("Currencies\\Names", "USD", "dollar|");
    store("Currencies\\ISOCodes", "EUR", "|0|X|EUR|");
    store("Currencies\\Names", "EUR", "kept|");
    mTables.ReadReg();

    EXPECT_EQ(entry("BEF").IndexPays(), 3);
    EXPECT_EQ(entry("BEF").LegalFormat(), "X");
    EXPECT_EQ(entry("BEF").MasterISO(), "EUR");
    EXPECT_EQ(entry("BEF").aliasDef(), "FB");
    EXPECT_THAT(aliasesOf("BEF"), ElementsAre("BEF", "BF"));
    EXPECT_EQ(stored("Currencies\\Names", "BEF"), testNames("BEF"));
    EXPECT_EQ(entry("USD").LegalFormat(), "X"); // outside the euro area the stored data stays
    EXPECT_EQ(entry("USD").ColNames()[0], "USD-0");
    EXPECT_EQ(stored("Currencies\\Names", "USD"), testNames("USD"));
    EXPECT_EQ(entry("EUR").LegalFormat(), "X.XX");
    EXPECT_EQ(entry("EUR").MasterISO(), "");
    EXPECT_EQ(entry("EUR").ColNames()[5], "EUR-5");
    EXPECT_EQ(stored("Currencies\\Names", "EUR"), "kept|");
}

// Everything a save writes, as text, by code: what a reload must reproduce.
std::map<std::string, std::string> snapshot(CurrencyTables &tables) {
    std::map<std::string, std::string> shot;
    for (const auto &iso : *tables.ColISO()) {
        std::string text = std::to_string(iso->IndexPays()) + " " + iso->LegalFormat() + " "
                           + iso->MasterISO() + " [" + iso->storedAliasDef() + "] "
                           + iso->AllAlias(true) + " names:";
        for (const std::string &name : iso->ColNames())
            text += name + ",";
        std::map<std::string, double> given;
        for (const auto &rate : *iso->ColTaux())
            if (rate->Exist)
                given[rate->Devise] = rate->Change;
        for (const auto &[code, rate] : given)
            text += " " + code + "=" + std::to_string(rate);
        shot[iso->Value()] = text;
    }
    return shot;
}

TEST_F(CurrencyTablesTest, saveAndReloadReproduceTheTablesUnderACommaDecimalLocale) {
    const test::ScopedNumericLocale locale = test::germanLocale();
    if (!locale.ok())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    mTables.ReadReg();
    mTables.mSubAddISO("XYZ", 7, "X.XXX", "");
    mTables.msubAddNames("XYZ", "n0|n1|n2|n3|n4|n5|");
    mTables.msubAddAlias("XYZ", "-1|xy|x-y");
    mTables.msubLoadTaux("XYZ", "");
    for (const auto &iso : *mTables.ColISO())
        if (iso->Value() != "XYZ")
            iso->AddTaux("XYZ", 0.0);
    mTables.setTauxDeChange("USD", "XYZ", 1.23456789012345);
    mTables.setTauxDeChange("EUR", "USD", 1.0837);
    mTables.setTauxDeChange("XYZ", "GBP", 1234.5);
    mTables.setTauxDeChange("GBP", "JPY", 0.00512);
    entry("BEF").setAliasDef("(none)");
    entry("GBP").setAliasDef("");
    mTables.DelDevise("JPY");
    mTables.AddDevise("XYZ");
    mTables.ColDevises()->PermuteItems(1, 3);
    mTables.setLastRatesUpdate(45292.6251157407);
    mTables.SaveReg();

    EXPECT_EQ(stored("Currencies\\Rates", "USD"), "XYZ|1.23456789012345|");
    EXPECT_EQ(stored("Currencies\\Rates", "GBP"), "JPY|0.00512|");
    EXPECT_EQ(stored("Currencies\\Alias", "BEF"), "-1|BF|FB|F");
    EXPECT_EQ(stored("Currencies\\ISOCodes", "XYZ"), "|7|X.XXX||");
    EXPECT_EQ(stored("Currencies", "LastUpdate"), "45292.6251157407");

    CurrencyTables reloaded;
    reloaded.initializeTables(mDG, mMessages);
    reloaded.ReadReg();
    EXPECT_EQ(snapshot(reloaded), snapshot(mTables));
    EXPECT_EQ(keysOf(*reloaded.ColDevises()), keysOf(*mTables.ColDevises()));
    EXPECT_EQ(reloaded.ColISO()->Item("USD")->ColTaux()->Item("XYZ")->Change, 1.23456789012345);
    EXPECT_EQ(reloaded.LastRatesUpdate(), 45292.6251157407);
    EXPECT_EQ(reloaded.ColDevises()->Item("BEF")->FormatAlias(), "");
}

TEST_F(CurrencyTablesTest, malformedValuesStopTheLoadNameTheValueAndKeepNothing) {
    struct Row {
        const char *section;
        const char *key;
        const char *value;
        std::int32_t error;
        std::vector<std::string> selected; // what the selection holds after the failure
    };
    const Row rows[] = {
        {"Currencies\\ISOCodes", "XYZ", "|0|X.XX", err::TypeMismatch, {}},
        {"Currencies\\ISOCodes", "XYZ", "|zero|X||", err::TypeMismatch, {}},
        {"Currencies", "LastUpdate", "1e999", err::Overflow, {}},
        {"UserChoice", "Currencies", "USD|QQQ|GBP|", err::KeyNotFound, {"USD"}},
        {"UserChoice", "Currencies", "USD||", err::KeyNotFound, {"USD"}},
        {"UserChoice", "Currencies", "USD|usd|", err::DuplicateKey, {"USD"}},
    };
    for (const Row &row : rows) {
        store(row.section, row.key, row.value);
        const std::string where = std::string(row.section) + " / " + row.key;
        EXPECT_THAT([&] { mTables.ReadReg(); },
                    ThrowsError(row.error, {where, "\"" + std::string(row.value) + "\""}));
        EXPECT_EQ(keysOf(*mTables.ColDevises()), row.selected) << row.value;
        EXPECT_EQ(stored("Currencies\\Names", "BEF"), "") << "a failed load keeps no default";
        mBackend->remove("Talvio", row.section, row.key);
    }
}

TEST_F(CurrencyTablesTest, storedRatesLoadOnlyTowardsKnownCurrenciesOutsideTheEuroArea) {
    struct Row {
        const char *value;
        std::map<std::string, double> given;
    };
    const Row rows[] = {
        {"GBP|0.8|EUR|0.9|", {{"GBP", 0.8}, {"EUR", 0.9}}},
        {"BEF|40|GBP|0.8|", {{"GBP", 0.8}}}, // euro-area rates are fixed
        {"QQQ|2|GBP|0.8|", {{"GBP", 0.8}}},  // an unknown code does not lose the rest
        {"GBP|1e999|EUR|0.9|", {{"EUR", 0.9}}},
        {"GBP|0.8|EUR", {{"GBP", 0.8}}},
        {"gbp|abc|", {{"GBP", 0.0}}},
    };
    for (const Row &row : rows) {
        mTables.setColISO(nullptr);
        for (const char *code : {"EUR", "BEF", "USD", "GBP"})
            mTables.mSubAddISO(code, 0, "X.XX", "");
        mTables.msubLoadTaux("USD", row.value);
        mTables.msubLoadTaux("USD", "GBP|5|"); // placeholders exist: a second load does nothing
        std::map<std::string, double> given;
        for (const auto &rate : *entry("USD").ColTaux())
            if (rate->Exist)
                given[rate->Devise] = rate->Change;
        EXPECT_EQ(given, row.given) << row.value;
        EXPECT_THAT(keysOf(*entry("USD").ColTaux()), ElementsAre("EUR", "BEF", "USD", "GBP"));
    }
}

TEST_F(CurrencyTablesTest, listsGiveCodesAndNamesInTheCurrentLanguage) {
    CodeNameList list;
    EXPECT_THAT([&] { mTables.LoadListDevise(list); }, ThrowsError(err::InvalidArgument, {}));
    EXPECT_THAT([&] { mTables.LoadListISO(list); }, ThrowsError(err::InvalidArgument, {}));

    mTables.ReadReg();
    mTables.LoadListDevise(list);
    EXPECT_THAT(list[0], ElementsAreArray(kBuiltInSelection));
    EXPECT_EQ(list[1][0], "USD-1");
    mDG->setLangue(FR);
    mTables.LoadListISO(list);
    EXPECT_THAT(list[0], ElementsAreArray(kSortedBuiltIns));
    EXPECT_EQ(list[1][16], "USD-3");

    std::vector<std::string> aliases;
    mTables.LoadListDeviseAlias(aliases, "BEF");
    EXPECT_THAT(aliases, ElementsAre("BEF", "BF", "FB", "F"));
    mTables.mSubAddISO("XYZ", 0, "X", "");
    mTables.LoadListDeviseAlias(aliases, "XYZ");
    EXPECT_THAT(aliases, ElementsAre("XYZ"));
    EXPECT_EQ(stored("Currencies\\Alias", "XYZ"), "-1|");
    EXPECT_FALSE(entry("XYZ").Used());
    EXPECT_EQ(mTables.ColDevises()->find("XYZ"), nullptr);
    EXPECT_EQ(entry("XYZ").storedAliasDef(), "-1");
    mTables.mSubAddISO("XYW", 0, "X", "");
    store("Currencies\\Alias", "XYW", "w|v|u");
    mTables.LoadListDeviseAlias(aliases, "XYW");
    EXPECT_THAT(aliases, ElementsAre("XYW", "v", "u"));
}

TEST_F(CurrencyTablesTest, sortKeepsTheSameEntriesInCaseInsensitiveOrder) {
    for (const char *code : {"b", "ABD", "abc", "AAA", "Z1"})
        mTables.mSubAddISO(code, 0, "X", "");
    std::vector<ISO *> before;
    for (const auto &iso : *mTables.ColISO())
        before.push_back(iso.get());
    std::shared_ptr<ColISO> col = mTables.ColISO();
    mTables.SortColIso(col);
    EXPECT_EQ(col, mTables.ColISO());
    EXPECT_THAT(keysOf(*col), ElementsAre("AAA", "abc", "ABD", "b", "Z1"));
    EXPECT_EQ(col->Item("abc").get(), before[2]);
    EXPECT_EQ(col->Item("B").get(), before[0]);
}

TEST_F(CurrencyTablesTest, fixedEuroRatesNeedEveryEuroAreaCodeAndFreshRecords) {
    for (const char *code : kSortedBuiltIns)
        mTables.mSubAddISO(code, 0, "X", "");
    mTables.msubLoadTaux("EUR", ""); // the euro's placeholders, as loading makes them first
    mTables.LoadInitInEuroTaux();
    EXPECT_EQ(entry("ITL").ColTaux()->Count(), 17);
    EXPECT_FALSE(entry("ITL").ColTaux()->Item("USD")->Exist);
    EXPECT_EQ(entry("EUR").ColTaux()->Item("ITL")->Change, 1936.27);
    EXPECT_THAT([&] { mTables.LoadInitInEuroTaux(); }, ThrowsError(err::DuplicateKey, {"ATS"}));

    mTables.setColISO(nullptr);
    mTables.mSubAddISO("EUR", 0, "X", "");
    mTables.mSubAddISO("ATS", 0, "X", "");
    mTables.msubLoadTaux("EUR", "");
    EXPECT_THAT([&] { mTables.LoadInitInEuroTaux(); }, ThrowsError(err::KeyNotFound, {"BEF"}));
    EXPECT_THAT([&] { mTables.setTauxDeChange("EUR", "QQQ", 1.0); },
                ThrowsError(err::KeyNotFound, {"QQQ"}));
    EXPECT_THAT([&] { mTables.setTauxDeChange("QQQ", "EUR", 1.0); },
                ThrowsError(err::KeyNotFound, {"QQQ"}));
}

TEST_F(CurrencyTablesTest, engineTracingFollowsDebugChange) {
    struct Row {
        const char *stored; // nullptr: absent
        bool tracing;
    };
    const Row rows[] = {{nullptr, false}, {"on", true}, {"ON", true}, {"1", false}, {" ON", false}};
    for (const Row &row : rows) {
        mBackend->remove("Talvio", "ENGINE", "DEBUGCHANGE");
        if (row.stored)
            store("ENGINE", "DEBUGCHANGE", row.stored);
        mTables.setProjectName("Talvio");
        EXPECT_EQ(mTables.engineTracing(), row.tracing) << (row.stored ? row.stored : "absent");
        EXPECT_EQ(stored("ENGINE", "DEBUGCHANGE"), row.stored ? row.stored : "OFF");
    }
    EXPECT_EQ(CurrencyTables::traceModule(), "Change");
}

TEST_F(CurrencyTablesTest, builtInTableRowsCountFromOneAndAbsentNamesAreEmpty) {
    BuiltInTable table = mTables.IsosInitInEuro();
    ASSERT_EQ(table.rowCount(), 12);
    EXPECT_EQ(table.row(1).code, "ATS");
    EXPECT_EQ(table.row(12).code, "PTE");
    EXPECT_EQ(table.row(2).rateToEuro, 40.3399);
    EXPECT_EQ(table.row(2).names, testNames("BEF"));
    EXPECT_THAT([&] { table.row(0); }, ThrowsError(err::PositionOutOfRange, {"0"}));
    EXPECT_THAT([&] { table.row(13); }, ThrowsError(err::PositionOutOfRange, {"13"}));

    mMessages->loadFromBytes(msgfile::makeRecord(msg::NameBEF * 6 + NL, "Belgische frank"));
    mTables.InitIsosInitInEuro();
    EXPECT_EQ(mTables.IsosInitInEuro().row(2).names, "|||||Belgische frank|");
    EXPECT_EQ(table.row(2).names, testNames("BEF")); // the copy kept its own
}

TEST(CurrencyTablesShipped, namesComeFromTheShippedMessageFile) {
    auto messages = std::make_shared<Message>();
    messages->subLoadIndex(TALVIO_TEST_MESSAGE_FILE);
    CurrencyTables tables;
    tables.initializeTables(std::make_shared<DG>(), messages);
    EXPECT_EQ(tables.IsosInitInEuro().row(1).names,
              "\u00d6sterreichischer Schilling|Austrian schilling|Chel\u00edn austriaco|"
              "Schilling autrichien|Scellino austriaco|Oostenrijkse schilling|");
}

} // namespace
} // namespace kvt
