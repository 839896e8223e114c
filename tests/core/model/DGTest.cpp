#include "model/DG.h"

#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "support/ErrorMatchers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kvt {
namespace {

using test::ThrowsError;
using testing::Pair;
using testing::UnorderedElementsAre;

class DGTest : public testing::Test {
protected:
    DGTest() {
        setSharedRegistry(std::make_shared<Registry>(mBackend));
        mDG.setProjectName("Talvio");
        mDG.setRegSection("UserChoice");
    }
    ~DGTest() override { setSharedRegistry(nullptr); }

    void store(const char *key, const char *value) {
        mBackend->write("Talvio", "UserChoice", key, value);
    }
    std::string stored(const char *key) { return mBackend->read("Talvio", "UserChoice", key); }

    std::shared_ptr<MemorySettingsBackend> mBackend = std::make_shared<MemorySettingsBackend>();
    DG mDG;
};

TEST_F(DGTest, firstReadTakesAndStoresEveryDefault) {
    mDG.ReadReg();
    EXPECT_EQ(mDG.Langue(), EN);
    EXPECT_EQ(mDG.DeviseFrom(), "EUR");
    EXPECT_EQ(mDG.DeviseTo(), "EUR");
    EXPECT_EQ(mDG.MethodeArondi(), Legal);
    EXPECT_EQ(mDG.DevFormat(), "0.0X");
    EXPECT_TRUE(mDG.FormatDef());
    EXPECT_EQ(mDG.NbDecEuroInter(), 15);
    EXPECT_THAT(mBackend->enumerate("Talvio", "UserChoice"),
                UnorderedElementsAre(Pair("Language", "1"), Pair("MoneyIN", "EUR"),
                                     Pair("MoneyOUT", "EUR"), Pair("RoundType", "130"),
                                     Pair("TargetValue", "0.0X"), Pair("FormatDef", "ON"),
                                     Pair("NbDecEuroInter", "15")));
}

TEST_F(DGTest, sourceCurrencyDefaultsToTheCurrencyOfTheStoredLanguage) {
    store("Language", "3");
    mDG.ReadReg();
    EXPECT_EQ(mDG.Langue(), FR);
    EXPECT_EQ(mDG.DeviseFrom(), "BEF");
    EXPECT_EQ(stored("MoneyIN"), "BEF");
}

TEST_F(DGTest, storedTextsAreNormalisedOrKeptAsTheyAre) {
    store("TargetValue", "x.x9");
    store("FormatDef", "on");
    store("Language", " 7 ");       // outside the languages: kept, the users of it decide
    store("RoundType", "-3");       // likewise for the rounding method
    store("NbDecEuroInter", "+40"); // and the decimals
    store("MoneyIN", "xyz");
    mDG.ReadReg();
    EXPECT_EQ(mDG.DevFormat(), "X.X9");
    EXPECT_TRUE(mDG.FormatDef());
    EXPECT_EQ(mDG.Langue(), static_cast<Langue>(7));
    EXPECT_EQ(mDG.MethodeArondi(), static_cast<MethodeArondiType>(-3));
    EXPECT_EQ(mDG.NbDecEuroInter(), 40);
    EXPECT_EQ(mDG.DeviseFrom(), "xyz");
    EXPECT_EQ(stored("TargetValue"), "x.x9"); // reading does not rewrite a present value

    store("FormatDef", "yes");
    mDG.ReadReg();
    EXPECT_FALSE(mDG.FormatDef());
}

TEST_F(DGTest, badNumberStopsReadingAndKeepsTheFieldsNotYetRead) {
    struct Row {
        const char *key;
        const char *text;
        int fieldsUpdated; // in reading order: Language, MoneyIN, MoneyOUT, RoundType, ...
    };
    const Row rows[] = {
        {"Language", "abc", 0}, {"RoundType", "130.5", 3}, {"NbDecEuroInter", "32768", 6}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.key);
        for (const auto &[key, value] : mBackend->enumerate("Talvio", "UserChoice"))
            mBackend->remove("Talvio", "UserChoice", key);
        store("MoneyOUT", "USD");
        store("TargetValue", "X0");
        store(row.key, row.text);

        DG dg; // every field still at its initial value
        dg.setRegSection("UserChoice");
        EXPECT_THAT([&] { dg.ReadReg(); },
                    ThrowsError(err::TypeMismatch, {row.key, std::string("\"") + row.text + "\""}));
        EXPECT_EQ(dg.Langue() == EN, row.fieldsUpdated > 0);
        EXPECT_EQ(dg.DeviseFrom() == "EUR", row.fieldsUpdated > 1);
        EXPECT_EQ(dg.DeviseTo() == "USD", row.fieldsUpdated > 2);
        EXPECT_EQ(dg.MethodeArondi() == Legal, row.fieldsUpdated > 3);
        EXPECT_EQ(dg.DevFormat() == "X0", row.fieldsUpdated > 4);
        EXPECT_EQ(dg.FormatDef(), row.fieldsUpdated > 5);
        EXPECT_EQ(dg.NbDecEuroInter(), 0);
    }
}

TEST_F(DGTest, saveWritesEveryFieldInItsStoredForm) {
    mDG.setLangue(NL);
    mDG.setDeviseFrom("NLG");
    mDG.setDeviseTo("EUR");
    mDG.setMethodeArondi(infTargetValue);
    mDG.setDevFormat("X.X5");
    mDG.setFormatDef(false);
    mDG.setNbDecEuroInter(-2);
    mDG.SaveReg();
    EXPECT_THAT(mBackend->enumerate("Talvio", "UserChoice"),
                UnorderedElementsAre(Pair("Language", "5"), Pair("MoneyIN", "NLG"),
                                     Pair("MoneyOUT", "EUR"), Pair("RoundType", "133"),
                                     Pair("TargetValue", "X.X5"), Pair("FormatDef", "OFF"),
                                     Pair("NbDecEuroInter", "-2")));

    DG reread;
    reread.setRegSection("UserChoice");
    reread.ReadReg();
    EXPECT_EQ(reread.Langue(), NL);
    EXPECT_EQ(reread.MethodeArondi(), infTargetValue);
    EXPECT_FALSE(reread.FormatDef());
    EXPECT_EQ(reread.NbDecEuroInter(), -2);
}

TEST_F(DGTest, inverseDeviseSwapsInMemoryAndSavesEverything) {
    store("MoneyIN", "BEF");
    store("MoneyOUT", "EUR");
    mDG.ReadReg();
    mDG.setNbDecEuroInter(4); // changed in memory only, until a save
    mDG.InverseDevise();
    EXPECT_EQ(mDG.DeviseFrom(), "EUR");
    EXPECT_EQ(mDG.DeviseTo(), "BEF");
    EXPECT_EQ(stored("MoneyIN"), "EUR");
    EXPECT_EQ(stored("MoneyOUT"), "BEF");
    EXPECT_EQ(stored("NbDecEuroInter"), "4");
}

TEST(DG, defaultIsoOfEachLanguage) {
    const std::pair<Langue, const char *> rows[] = {{DE, "DEM"},
                                                    {EN, "EUR"},
                                                    {ES, "ESP"},
                                                    {FR, "BEF"},
                                                    {IT, "ITL"},
                                                    {NL, "BEF"},
                                                    {static_cast<Langue>(6), "EUR"},
                                                    {static_cast<Langue>(-1), "EUR"}};
    for (const auto &[langue, iso] : rows)
        EXPECT_EQ(DG::DefaultIso(langue), iso) << langue;
}

} // namespace
} // namespace kvt
