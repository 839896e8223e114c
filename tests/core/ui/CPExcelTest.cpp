#include "ui/CPExcel.h"

#include "FacadeFixture.h"
#include "messages/Langue.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "support/ErrorMatchers.h"
#include "support/LocalAddInMgr.h"
#include "ui/HelpFile.h"

#include <filesystem>

namespace kvt {
namespace {

using Driver = test::FacadeFixture;

struct Preferences {
    bool insAuto;
    std::int16_t insAutoType;
    bool convParValeur;
    bool showStatus;
    bool firstTime;
    bool showWelcomDialog;
};

void expectPreferences(const CPExcel &driver, const Preferences &expected, const char *row) {
    EXPECT_EQ(driver.InsAuto(), expected.insAuto) << row;
    EXPECT_EQ(driver.InsAutoType(), expected.insAutoType) << row;
    EXPECT_EQ(driver.ConvParValeur(), expected.convParValeur) << row;
    EXPECT_EQ(driver.ShowStatus(), expected.showStatus) << row;
    EXPECT_EQ(driver.FirstTime(), expected.firstTime) << row;
    EXPECT_EQ(driver.ShowWelcomDialog(), expected.showWelcomDialog) << row;
}

const char *const kKeys[] = {"InsAuto",    "InsAutoType", "ConvParValeur",
                             "ShowStatus", "FirstTime",   "ShowWelcomDialog"};

TEST_F(Driver, aFreshStoreGivesTheDefaultsAndKeepsThem) {
    auto main = startedFacade();
    expectPreferences(main->driver(), {false, 0, false, true, true, true}, "fresh");
    const char *const defaults[] = {"OFF", "0", "OFF", "ON", "ON", "ON"};
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        EXPECT_EQ(stored("UserChoice", kKeys[i]), defaults[i]) << kKeys[i];
}

TEST_F(Driver, storedSwitchesAreOnExactlyForOnInAnyCase) {
    struct Row {
        const char *stored; // every switch gets this text; InsAutoType gets "2"
        bool on;
    };
    const Row rows[] = {{"ON", true},   {"on", true}, {"oN", true},   {"OFF", false},
                        {"yes", false}, {"1", false}, {" ON", false}, {"true", false}};
    for (const Row &row : rows) {
        for (const char *key : kKeys)
            store("UserChoice", key, row.stored);
        store("UserChoice", "InsAutoType", "2");
        auto main = startedFacade();
        expectPreferences(main->driver(), {row.on, 2, row.on, row.on, row.on, row.on}, row.stored);
    }
}

TEST_F(Driver, anInsertionPositionThatIsNoNumberFailsTheRead) {
    store("UserChoice", "InsAutoType", "left");
    KVTMain main;
    EXPECT_THAT([&] { main.init(kMessageFile); },
                test::ThrowsError(err::TypeMismatch, {"InsAutoType", "left"}));
}

TEST_F(Driver, savedPreferencesReadBackTheSame) {
    auto main = startedFacade();
    CPExcel &driver = main->driver();
    driver.setInsAuto(true);
    driver.setInsAutoType(InsAutoGauche);
    driver.setConvParValeur(true);
    driver.setShowStatus(false);
    driver.setFirstTime(false);
    driver.setShowWelcomDialog(false);
    bool tables = false;
    driver.SaveReg(false, true, tables);
    const char *const written[] = {"ON", "3", "ON", "OFF", "OFF", "OFF"};
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        EXPECT_EQ(stored("UserChoice", kKeys[i]), written[i]) << kKeys[i];
    driver.ReadReg();
    expectPreferences(driver, {true, 3, true, false, false, false}, "read back");
}

TEST_F(Driver, savingTheTablesTellsTheOtherAddInsOnlyThroughAnEventSource) {
    auto main = startedFacade();
    CPExcel &driver = main->driver();
    sharedChange()->setLastRatesUpdate(100.25);
    bool tables = true;
    // Never registered: nobody to tell, and the tables are saved all the same.
    ASSERT_NO_THROW(driver.SaveReg(false, false, tables));
    EXPECT_EQ(stored("Currencies", "LastUpdate"), "100.25");

    test::ScopedLocalAddInMgr manager;
    main->TheAddInMgr();
    driver.SaveReg(false, false, tables);
    EXPECT_EQ(manager->events->raised, std::vector{AddInEvent::UpdateCommonData});
    tables = false;
    driver.SaveReg(true, true, tables);
    EXPECT_EQ(manager->events->raised.size(), 1u);
}

TEST_F(Driver, currenciesThatMayBeAddedOrDeleted) {
    auto main = startedFacade();
    CPExcel &driver = main->driver();
    struct Row {
        const char *code;
        bool deletable;
    };
    const Row rows[] = {{"EUR", false}, {"BEF", false}, {"FRF", false}, {"USD", true},
                        {"eur", true},  {"bef", true},  {"", true}};
    for (const Row &row : rows)
        EXPECT_EQ(driver.EnabledDelDevise(row.code), row.deletable) << row.code;

    for (const auto &iso : *sharedChange()->ColISO())
        iso->setUsed(true);
    EXPECT_FALSE(driver.EnabledAddDevise());
    sharedChange()->ColISO()->Item("USD")->setUsed(false);
    EXPECT_TRUE(driver.EnabledAddDevise());
}

TEST_F(Driver, helpFileFollowsTheLanguage) {
    // The build tree's folder of the libkvt.so under test, links resolved as the library does.
    const std::string folder = std::filesystem::weakly_canonical(TALVIO_TEST_KVT_FOLDER).string();
    auto main = startedFacade();
    struct Row {
        std::int16_t langue;
        const char *relative; // to the library's folder: the language's own name, then its code
    };
    const Row rows[] = {{DE, "/../Deutsch/Talvio DE.hlp"},
                        {FR, "/../Fran\u00e7ais/Talvio FR.hlp"},
                        {NL, "/../Nederlands/Talvio NL.hlp"},
                        {9, "/..//Talvio .hlp"}};
    for (const Row &row : rows) {
        sharedDG()->setLangue(static_cast<Langue>(row.langue));
        main->driver().UpdateHelpFile();
        EXPECT_EQ(helpFile(), folder + row.relative) << row.langue;
    }
}

TEST_F(Driver, conversionCheckAndDetailUseTheGeneralSettings) {
    auto main = startedFacade();
    CPExcel &driver = main->driver();
    DG &dg = *sharedDG();
    dg.setDeviseFrom("EUR");
    dg.setDeviseTo("EUR");
    EXPECT_FALSE(driver.ConvOK());
    dg.setDeviseTo("BEF");
    dg.setMethodeArondi(Legal);
    dg.setDevFormat("X");
    EXPECT_TRUE(driver.ConvOK());
    ConversionDetail from;
    ConversionDetail to;
    driver.UpdateTaux(10, from, to);
    EXPECT_EQ(to[0], "403 BEF"); // 10 EUR at 40.3399, legal: no decimals
    EXPECT_EQ(from[1], "1 BEF");
}

} // namespace
} // namespace kvt
