#include "ui/CPExcel.h"

#include "FacadeFixture.h"
#include "messages/Langue.h"
#include "model/Devise.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "support/ErrorMatchers.h"
#include "support/FakeControls.h"
#include "support/LocalAddInMgr.h"
#include "support/ScopedNumericLocale.h"
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

TEST_F(Driver, conversionExampleListsSixAmountsOnlyForAPairThatConverts) {
    test::ScopedNumericLocale english({"en_US.UTF-8", "en_US.utf8"});
    if (!english.ok())
        GTEST_SKIP() << "no English locale";
    auto main = startedFacade();
    sharedChange()->ColDevises()->Item("BEF")->setStoredAliasDef("FB");
    struct Row {
        const char *to;
        bool formatDef;
        std::vector<std::string> results; // column 1 of rows 1 to 6; none when not convertible
    };
    const Row rows[] = {
        {"BEF", false, {"403,399 ", "20,170 ", "4,962 ", "40 ", "-40 ", "-4,962 "}},
        {"BEF", true, {"403,399 FB", "20,170 FB", "4,962 FB", "40 FB", "-40 FB", "-4,962 FB"}},
        {"EUR", false, {}},
    };
    for (const Row &row : rows) {
        DG &dg = *sharedDG();
        dg.setDeviseFrom("EUR");
        dg.setDeviseTo(row.to);
        dg.setMethodeArondi(Legal);
        dg.setDevFormat("X");
        dg.setFormatDef(row.formatDef);
        test::FakeGrid grid;
        main->driver().LoadExConv(grid);
        EXPECT_EQ(grid.rows, 7);
        EXPECT_EQ(grid.cols, 2);
        EXPECT_FALSE(grid.enabled);
        EXPECT_EQ(grid.widths, (std::map<int, int>{{0, 1050}, {1, 1500}}));
        EXPECT_EQ(grid.TextMatrix(0, 0), "EUR");
        EXPECT_EQ(grid.TextMatrix(0, 1), row.to);
        EXPECT_EQ(grid.cellAlignment(0, 1), CellAlignment::Centre);
        const std::vector<std::string> amounts = {"10,000", "500", "123", "1", "-1", "-123"};
        for (int r = 1; r <= 6; ++r) {
            const auto i = static_cast<std::size_t>(r - 1);
            EXPECT_EQ(grid.TextMatrix(r, 0), row.results.empty() ? "" : amounts[i]) << row.to;
            EXPECT_EQ(grid.TextMatrix(r, 1), row.results.empty() ? "" : row.results[i]) << row.to;
        }
    }
}

TEST_F(Driver, targetValuesFollowTheRoundingMethod) {
    auto main = startedFacade();
    struct Row {
        MethodeArondiType method;
        const char *to;
        const char *before; // DevFormat before
        ListStyle style;
        bool enabled;
        int count;
        const char *first;     // first entry
        const char *devFormat; // DevFormat after
    };
    const Row rows[] = {
        {Legal, "BEF", "X.XX", ListStyle::DropDownCombo, false, 0, "", "X"},
        {suptargetValue, "BEF", "x.x9", ListStyle::DropDownCombo, true, 9, "X.XX", "X.X9"},
        {infTargetValue, "BEF", "X00", ListStyle::DropDownCombo, true, 9, "X.XX", "X00"},
        {NearValue, "BEF", "X.X", ListStyle::DropDownList, true, 1, "X.X", "X.X"},
        {NearValue, "BEF", "", ListStyle::DropDownList, true, 0, "", ""},
        {suptargetValue, "", "X9", ListStyle::DropDownCombo, true, 0, "", ""},
    };
    for (const Row &row : rows) {
        DG &dg = *sharedDG();
        dg.setDeviseTo(row.to);
        dg.setMethodeArondi(row.method);
        dg.setDevFormat(row.before);
        main->driver().setEventsActive(true);
        test::FakeList combo;
        combo.AddItem("stale");
        main->driver().UpdateValeurCible(combo);
        const std::string label = std::to_string(row.method) + " " + row.before;
        EXPECT_EQ(combo.style, row.style) << label;
        EXPECT_EQ(combo.enabled, row.enabled) << label;
        EXPECT_EQ(combo.ListCount(), row.count) << label;
        EXPECT_EQ(combo.List(0), row.first) << label;
        EXPECT_EQ(combo.columnCount, 2) << label;
        EXPECT_EQ(combo.columnWidths, std::vector<double>{50}) << label;
        EXPECT_EQ(combo.listWidth, 200) << label;
        EXPECT_EQ(dg.DevFormat(), row.devFormat) << label;
        EXPECT_TRUE(main->driver().EventsActive()) << label;
    }
}

TEST_F(Driver, rateTableShowsEveryPairWithGivenRatesOnWhite) {
    auto main = startedFacade();
    test::FakeGrid grid;
    grid.rows = grid.cols = 30;
    grid.setTextMatrix(29, 29, "stale");
    main->driver().LoadTableauTaux(grid);
    const int n = sharedChange()->ColDevises()->Count();
    ASSERT_GT(n, 2);
    EXPECT_EQ(grid.rows, n + 1);
    EXPECT_EQ(grid.cols, n + 1);
    EXPECT_EQ(grid.fixedRows, 1);
    EXPECT_EQ(grid.fixedCols, 1);
    EXPECT_EQ(grid.backColor, 0xC0C0C0u);
    EXPECT_TRUE(grid.enabled);
    EXPECT_EQ(grid.currentRow, 1);
    EXPECT_EQ(grid.currentCol, 1);
    auto position = [&](const std::string &code) {
        for (int i = 1; i <= n; ++i)
            if (grid.TextMatrix(0, i) == code && grid.TextMatrix(i, 0) == code)
                return i;
        return -1;
    };
    struct Row {
        const char *from;
        const char *to;
        const char *text;
        std::uint32_t colour;
    };
    const Row rows[] = {{"EUR", "BEF", "40.339900", 0xFFFFFF},
                        {"BEF", "EUR", "0.024789", 0xC0C0C0},
                        {"USD", "GBP", "0.000000", 0xC0C0C0}};
    for (const Row &row : rows) {
        const int i = position(row.from);
        const int j = position(row.to);
        ASSERT_GT(i, 0) << row.from;
        ASSERT_GT(j, 0) << row.to;
        EXPECT_EQ(grid.TextMatrix(i, j), row.text) << row.from << row.to;
        EXPECT_EQ(grid.CellBackColor(i, j), row.colour) << row.from << row.to;
        EXPECT_EQ(grid.cellAlignment(i, j), CellAlignment::Right);
        EXPECT_EQ(grid.cellAlignment(0, j), CellAlignment::Centre);
    }

    // No currency selected: only the corner, and no cell to select.
    sharedChange()->ColDevises()->clear();
    test::FakeGrid empty;
    EXPECT_NO_THROW(main->driver().LoadTableauTaux(empty));
    EXPECT_EQ(empty.rows, 1);
}

TEST_F(Driver, listsOfCurrenciesMethodsAndAliasesInTheLanguage) {
    auto main = startedFacade();
    sharedDG()->setLangue(EN);
    CPExcel &driver = main->driver();
    test::FakeList devises;
    driver.LoadcboDevise(devises);
    test::FakeList isos;
    driver.LoadcboISO(isos);
    for (const test::FakeList *list : {&devises, &isos}) {
        EXPECT_EQ(list->columnCount, 2);
        EXPECT_EQ(list->columnWidths, std::vector<double>{50});
        EXPECT_EQ(list->listWidth, 200);
    }
    EXPECT_EQ(devises.ListCount(), sharedChange()->ColDevises()->Count());
    EXPECT_EQ(isos.ListCount(), sharedChange()->ColISO()->Count());
    EXPECT_EQ(isos.List(0), "ATS");
    EXPECT_EQ(isos.List(0, 1), "Austrian schilling");

    test::FakeList methods;
    driver.LoadcboMethodeArondi(methods);
    EXPECT_EQ(methods.codes(),
              (std::vector<std::string>{"Legal rounding", "Round to nearest",
                                        "Round up to target value", "Round down to target value"}));
    struct Row {
        bool noAlias;
        std::vector<std::string> entries;
    };
    const Row rows[] = {{false, {"BEF", "BF", "FB", "F"}},
                        {true, {"(no default alias)", "BEF", "BF", "FB", "F"}}};
    for (const Row &row : rows) {
        test::FakeList aliases;
        aliases.AddItem("stale");
        driver.LoadCboDeviseAlias(aliases, "BEF", row.noAlias);
        EXPECT_EQ(aliases.codes(), row.entries) << row.noAlias;
    }
}

} // namespace
} // namespace kvt
