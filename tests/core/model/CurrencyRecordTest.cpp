#include "messages/Message.h"
#include "messages/MsgIds.h"
#include "model/BuiltInCurrencies.h"
#include "model/CurrencyTables.h"
#include "model/DG.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "support/MessageFiles.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

// A catalogue with message 153 in English and French, and English as current language.
class CurrencyRecordTest : public testing::Test {
protected:
    void SetUp() override {
        auto catalogue = std::make_shared<Message>();
        catalogue->loadFromBytes(test::messageFileOf(
            {{msg::NoDefaultAlias, EN, "(none)"}, {msg::NoDefaultAlias, FR, "(aucun)"}}));
        setSharedMessage(catalogue);
        setShowMsgNumbers(false);
        sharedDG()->setLangue(EN);
    }
    void TearDown() override {
        releaseSharedMessage();
        releaseSharedDG();
    }
};

TEST_F(CurrencyRecordTest, defaultAliasNoneRoundTripsThroughItsShownTextInAnyLanguage) {
    ISO entry;
    EXPECT_EQ(entry.aliasDef(), ""); // nothing stored yet
    entry.setAliasDef("(none)");
    EXPECT_EQ(entry.aliasDef(), "(none)");

    Devise devise;
    devise.setAliasDef(entry.aliasDef()); // copied as AddDevise does
    EXPECT_EQ(devise.FormatAlias(), "");
    sharedDG()->setLangue(FR);
    EXPECT_EQ(devise.aliasDef(), "(aucun)");
    EXPECT_EQ(entry.aliasDef(), "(aucun)");

    devise.setAliasDef("FB");
    EXPECT_EQ(devise.aliasDef(), "FB");
    EXPECT_EQ(devise.FormatAlias(), "FB");
}

TEST_F(CurrencyRecordTest, showingMessageNumbersShowsNoneAs153) {
    ISO entry;
    entry.setAliasDef("(none)");
    setShowMsgNumbers(true);
    EXPECT_EQ(entry.aliasDef(), "153");
    setShowMsgNumbers(false);
}

TEST_F(CurrencyRecordTest, allAliasJoinsInOrderAndIncludesTheCodeOnlyOnRequest) {
    struct Row {
        std::vector<std::pair<std::string, bool>> aliases; // value, code flag
        std::string withoutCode;
        std::string withCode;
    };
    const std::vector<Row> rows = {
        {{}, "", ""},
        {{{"GRD", true}}, "", "GRD"},
        {{{"BEF", true}, {"BF", false}, {"FB", false}, {"F", false}}, "BF|FB|F", "BEF|BF|FB|F"},
        {{{"x", false}, {"EUR", true}, {"y", false}}, "x|y", "x|EUR|y"},
    };
    for (const Row &row : rows) {
        ISO entry;
        std::int32_t id = 1;
        for (const auto &[value, isCode] : row.aliases) {
            if (isCode)
                entry.AddAlias("ISO", value, true);
            else
                entry.AddAlias(id++, value, false);
        }
        EXPECT_EQ(entry.AllAlias(false), row.withoutCode);
        EXPECT_EQ(entry.AllAlias(true), row.withCode);
    }
}

TEST_F(CurrencyRecordTest, aSelectedCurrencySharesAliasesAndRatesWithItsCatalogueEntry) {
    CurrencyTables tables;
    tables.mSubAddISO("BEF", 0, "X", "EUR");
    auto entry = tables.ColISO()->Item("BEF");
    entry->AddAlias("ISO", "BEF", true);
    entry->setAliasDef("(none)");

    auto devise = tables.AddDevise("BEF");
    EXPECT_EQ(devise->ColAlias(), entry->ColAlias());
    EXPECT_EQ(devise->ColTaux(), entry->ColTaux());
    EXPECT_TRUE(entry->Used());
    EXPECT_TRUE(devise->InEuro());
    EXPECT_EQ(devise->DevFormat(), "X");
    EXPECT_EQ(devise->FormatAlias(), "");

    devise->AddAlias(1, "FB", false);
    devise->AddTaux("EUR", 0.0);
    EXPECT_EQ(entry->AllAlias(true), "BEF|FB");
    EXPECT_FALSE(entry->ColTaux()->Item("EUR")->Exist);
    EXPECT_EQ(entry->ColTaux()->Item("eur")->Devise, "EUR");
}

TEST_F(CurrencyRecordTest, selectionFailuresLeaveTablesAsTheyWere) {
    CurrencyTables tables;
    tables.mSubAddISO("USD", 0, "X.XX", "");
    EXPECT_THROW(tables.mSubAddISO("usd", 0, "X", ""), Error);
    EXPECT_THROW(tables.AddDevise("GBP"), Error);
    auto usd = tables.AddDevise("USD");
    EXPECT_FALSE(usd->InEuro());
    EXPECT_THROW(tables.AddDevise("USD"), Error);
    EXPECT_EQ(tables.ColDevises()->Count(), 1);

    EXPECT_TRUE(CurrencyTables::InCollection(*tables.ColDevises(), "usd"));
    tables.DelDevise("USD");
    EXPECT_FALSE(tables.ColISO()->Item("USD")->Used());
    EXPECT_FALSE(CurrencyTables::InCollection(*tables.ColDevises(), "USD"));
    EXPECT_THROW(tables.DelDevise("USD"), Error);
    EXPECT_TRUE(CurrencyTables::InCollection(*tables.ColISO(), "USD"));
}

TEST_F(CurrencyRecordTest, deviseCodeAndNumberFormatsComeFromItsAliases) {
    Devise devise;
    EXPECT_THROW(devise.ISO(), Error); // no code alias yet
    devise.AddAlias("ISO", "BEF", true);
    devise.AddAlias(1, "FB", false);
    EXPECT_EQ(devise.ISO(), "BEF");

    struct Row {
        const char *format;
        bool carriesAlias;
    };
    const Row rows[] = {{"#,##0 [$FB]", true},       {"[$BEF-813] #,##0", true},
                        {"#,##0 [$fb]", false},      {"#,##0 \"FB\"", false},
                        {"[$$-409]#,##0.00", false}, {"", false}};
    for (const Row &row : rows)
        EXPECT_EQ(devise.FormatNumber(row.format), row.carriesAlias) << row.format;
}

TEST(IsoInitInEuro, knowsTheTwelveEuroAreaCodesExactly) {
    for (const EuroAreaCurrency &row : kEuroAreaCurrencies)
        EXPECT_TRUE(CurrencyTables::IsoInitInEuro(row.code)) << row.code;
    for (const char *code : {"EUR", "bef", "USD", "", "BEFX"})
        EXPECT_FALSE(CurrencyTables::IsoInitInEuro(code)) << code;
}

} // namespace
} // namespace kvt
