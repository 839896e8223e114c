#include "FacadeFixture.h"
#include "model/Devise.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "support/ErrorMatchers.h"
#include "support/ScopedNumericLocale.h"
#include "ui/HelpFile.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

namespace kvt {
namespace {

using Facade = test::FacadeFixture;

// The build tree's folder of the libkvt.so under test, with links resolved as for a file the
// library locates itself.
std::string builtLibraryFolder() {
    return std::filesystem::weakly_canonical(TALVIO_TEST_KVT_FOLDER).string();
}

TEST_F(Facade, initSetsUpTheLibraryWideObjectsAndStoresTheDefaultsInUse) {
    const std::string folder = builtLibraryFolder();
    auto main = std::make_unique<KVTMain>();
    EXPECT_EQ(helpFile(), folder + "/../help/talvio.hlp"); // until init knows the language
    main->init(kMessageFile);
    EXPECT_EQ(sharedRegistry()->ProjectName(), "Talvio");
    EXPECT_EQ(sharedDG()->RegSection(), "UserChoice");
    EXPECT_EQ(main->mChange, sharedChange());
    EXPECT_FALSE(trace->Active());
    EXPECT_EQ(*viewers.opened, 0); // tracing off: no viewer was ever needed
    EXPECT_EQ(stored("ENGINE", "DEBUGMAIN"), "OFF");
    EXPECT_EQ(stored("ENGINE", "DEBUGCHANGE"), "OFF");
    EXPECT_EQ(stored("UserChoice", "ShowWelcomDialog"), "ON");
    EXPECT_GT(sharedChange()->ColDevises()->Count(), 0);
    // English by default: the help folder bears the language's own name.
    EXPECT_EQ(helpFile(), folder + "/../English/Talvio EN.hlp");
}

TEST_F(Facade, twoFacadesShareSettingsMessagesAndEngine) {
    auto first = startedFacade();
    auto second = startedFacade();
    EXPECT_EQ(first->mChange, second->mChange);
    EXPECT_EQ(CurrentMain(), second.get());
    EXPECT_NE(&first->driver(), &second->driver());
    first->InverseDevise();
    EXPECT_EQ(second->DeviseFrom(), first->DeviseFrom());
    second.reset();
    EXPECT_EQ(CurrentMain(), first.get());
    // The engine still works for the remaining facade.
    EXPECT_EQ(first->Convert(1, "EUR", "BEF", 15, Legal, ""), 40);
}

TEST_F(Facade, operationsForwardToTheSharedObjects) {
    store("UserChoice", "MoneyIN", "BEF");
    store("UserChoice", "MoneyOUT", "FRF");
    store("UserChoice", "RoundType", "132");
    store("UserChoice", "TargetValue", "x.x9");
    store("UserChoice", "NbDecEuroInter", "3");
    store("UserChoice", "FormatDef", "off");
    store("UserChoice", "Language", "3");
    store("UserChoice", "InsAuto", "on");
    store("UserChoice", "InsAutoType", "4");
    store("UserChoice", "ConvParValeur", "ON");
    store("UserChoice", "ShowStatus", "OFF");
    auto main = startedFacade();

    EXPECT_EQ(main->DeviseFrom(), "BEF");
    EXPECT_EQ(main->DeviseTo(), "FRF");
    EXPECT_EQ(main->MethodeArondi(), suptargetValue);
    EXPECT_EQ(main->ValeurCible(), "X.X9");
    EXPECT_EQ(main->NbDecEuroInter(), 3);
    EXPECT_FALSE(main->FormatDef());
    EXPECT_EQ(main->Language(), FR);
    EXPECT_TRUE(main->InsertAuto());
    EXPECT_EQ(main->InsertAutoType(), InsautoDroite);
    EXPECT_TRUE(main->ParValeur());
    EXPECT_FALSE(main->ShowStatusBar());

    main->InverseDevise();
    EXPECT_EQ(main->DeviseFrom(), "FRF");
    EXPECT_EQ(main->DeviseTo(), "BEF");
    EXPECT_EQ(stored("UserChoice", "MoneyIN"), "FRF"); // the swap is saved
}

TEST_F(Facade, conversionsRatesAndFormats) {
    const auto locale = test::cLocale(); // the rate text uses the locale's decimal separator
    auto main = startedFacade();
    struct Row {
        double amount;
        const char *from;
        const char *to;
        std::int16_t euroDecimals;
        MethodeArondiType method;
        const char *pattern;
        double result;
    };
    const Row rows[] = {
        {1, "EUR", "BEF", 15, Legal, "", 40},
        {1000, "BEF", "FRF", 15, Legal, "", 162.61},
        {1000, "BEF", "FRF", 3, Legal, "", 162.61},
        {-1000, "BEF", "FRF", 15, Legal, "", -162.61},
        {100, "EUR", "FRF", 15, suptargetValue, "X.X9", 655.99},
        {100, "EUR", "FRF", 15, infTargetValue, "X9", 649},
        {0, "EUR", "BEF", 15, Legal, "", 0},
    };
    for (const Row &row : rows)
        EXPECT_DOUBLE_EQ(
            main->Convert(row.amount, row.from, row.to, row.euroDecimals, row.method, row.pattern),
            row.result)
            << row.amount << ' ' << row.from << ' ' << row.to << ' ' << row.pattern;

    // A host changes a record through the model's inline setters, compiled into the host: the
    // library's remembered pair must still see it.
    sharedChange()->ColDevises()->Item("FRF")->setDevFormat("X.X");
    EXPECT_DOUBLE_EQ(main->Convert(1000, "BEF", "FRF", 15, Legal, ""), 162.6);
    sharedChange()->ColDevises()->Item("FRF")->setDevFormat("X.XX");

    EXPECT_DOUBLE_EQ(main->TauxDeChangeConvert("EUR", "BEF"), 40.3399);
    EXPECT_FALSE(main->AskRateRequired("EUR", "BEF"));
    EXPECT_EQ(main->DeviseFormatNumber("EUR", Legal, ""), "#,##0.00");
    EXPECT_EQ(main->DeviseFormatNumber("BEF", Legal, ""), "#,##0");
    EXPECT_EQ(main->DeviseFormatNumber("EUR", suptargetValue, "X.X9"), "#,##0.00");
    EXPECT_EQ(main->LegalNrOfDec("EUR"), 2);
    EXPECT_EQ(main->LegalNrOfDec("BEF"), 0);
    EXPECT_EQ(main->NrOfDec("X.XXX"), 3);
    EXPECT_EQ(main->LegalFormatFromNrDec(2), "X.XX");
    EXPECT_EQ(main->LegalFormatFromNrDec(0), "X");

    RateLabels labels;
    main->UpdateRateLabels(labels, "EUR", "BEF");
    EXPECT_EQ(labels, (RateLabels{{{"Exchange rate", "1 EUR = 40.3399 BEF"}, {"", ""}, {"", ""}}}));
}

TEST_F(Facade, listsAndAliases) {
    store("Currencies\\Alias", "GBP", "-1|\u00a3"); // the user chose no default alias
    auto main = startedFacade();
    const CodeNameList currencies = main->Currencies();
    ASSERT_FALSE(currencies[0].empty());
    EXPECT_EQ(currencies[0].size(), currencies[1].size());
    EXPECT_NE(std::find(currencies[0].begin(), currencies[0].end(), "EUR"), currencies[0].end());
    EXPECT_EQ(main->Alias("EUR"), (std::vector<std::string>{"EUR", "\u20ac"}));
    const std::pair<const char *, const char *> defaults[] = {
        {"EUR", "EUR"}, {"BEF", "BEF"}, {"USD", "$"}, {"ATS", ""}, {"GBP", "(no default alias)"}};
    for (const auto &[code, alias] : defaults)
        EXPECT_EQ(main->AliasDefault(code), alias) << code;
    EXPECT_TRUE(main->FormatinDevise("EUR", "#,##0.00 [$EUR]"));
    EXPECT_FALSE(main->FormatinDevise("EUR", "#,##0.00"));

    TargetValueList patterns;
    std::int32_t method = suptargetValue;
    main->PsyRounds(patterns, method);
    EXPECT_EQ(patterns.size(), 9u);
    EXPECT_EQ(patterns.front()[0], "X.XX");
    TargetValueList none;
    method = Legal;
    main->PsyRounds(none, method);
    EXPECT_TRUE(none.empty());
}

TEST_F(Facade, translationAndLanguageNames) {
    auto main = startedFacade();
    const std::string english = main->LanguageName(EN);
    EXPECT_FALSE(english.empty());
    EXPECT_NE(main->LanguageName(FR), english);
    EXPECT_EQ(main->LanguageName(7), "");
    EXPECT_EQ(main->Translate(2), english); // English is the language in use
    main->setShowMsgNumbers(true);
    EXPECT_EQ(main->Translate(2), "2");
    main->setShowMsgNumbers(false);
    EXPECT_EQ(main->Translate(2), english);
}

TEST_F(Facade, writeRegistrySavesEverythingWithoutAnEventSource) {
    auto main = startedFacade();
    main->driver().setInsAuto(true);
    sharedDG()->setDeviseTo("FRF");
    sharedChange()->setLastRatesUpdate(45000.5);
    ASSERT_EQ(main->mEventRaiser(), nullptr);
    main->WriteRegistry();
    EXPECT_EQ(stored("UserChoice", "InsAuto"), "ON");
    EXPECT_EQ(stored("UserChoice", "MoneyOUT"), "FRF");
    EXPECT_EQ(stored("Currencies", "LastUpdate"), "45000.5");
    EXPECT_EQ(main->LastRatesUpdate(), 45000.5);
    EXPECT_TRUE(boxes->shown().empty());
}

// The conversion and settings operations report a failure on the trace only and give a
// neutral result; the others hand it to the caller.
TEST_F(Facade, quietOperationsTraceTheirFailureAndGiveANeutralResult) {
    KVTMain main; // never initialised: every operation that needs the engine fails
    EXPECT_EQ(main.Convert(1, "EUR", "BEF", 15, Legal, ""), 0); // tracing off: nothing to write
    trace->setActive(true);
    const std::string failure = "KVTMain: init has not been called";
    struct Row {
        const char *label;
        std::function<void()> run;
    };
    const Row rows[] = {
        {"Conversion de 12.5 EUR BEF",
         [&] {
             EXPECT_EQ(main.Convert(12.5, "EUR", "BEF", 15, Legal, ""), 0);
         }},
        {"Taux de Change de EUR BEF",
         [&] {
             EXPECT_EQ(main.TauxDeChangeConvert("EUR", "BEF"), 0);
         }},
        {"Write Registry",
         [&] {
             main.WriteRegistry();
         }},
    };
    for (const Row &row : rows) {
        viewers.log->clear();
        row.run();
        EXPECT_EQ(traceLog(),
                  (std::vector<std::string>{"FctBegin " + std::string(row.label) + " -> 1",
                                            "Error 1 " + failure, "FctEnd 1 "}))
            << row.label;
    }
    EXPECT_TRUE(boxes->shown().empty());
}

// Where the engine itself handles a failure, its message box is the report: message 1048, the
// engine operation's name and the description; the facade adds nothing and gives 0.
TEST_F(Facade, failuresTheEngineHandlesAreItsMessageBoxes) {
    auto main = startedFacade();
    const std::string operationFailed = main->Translate(1048);
    ASSERT_FALSE(operationFailed.empty());
    trace->setActive(true);
    EXPECT_EQ(main->TauxDeChangeConvert("EUR", "QQQ"), 0);
    sharedDG()->setDeviseTo("QQQ");
    sharedDG()->setDevFormat("X");
    ConversionDetail from;
    ConversionDetail to;
    main->driver().UpdateTaux(1, from, to);
    ASSERT_EQ(boxes->shown().size(), 2u);
    EXPECT_EQ(boxes->shown()[0].text.rfind(operationFailed + " (TauxDeChangeConvert): ", 0), 0u)
        << boxes->shown()[0].text;
    EXPECT_NE(boxes->shown()[0].text.find("QQQ"), std::string::npos);
    EXPECT_EQ(boxes->shown()[1].text.rfind(operationFailed + " (UpdateTaux): ", 0), 0u)
        << boxes->shown()[1].text;
    for (const std::string &line : traceLog())
        EXPECT_NE(line.rfind("Error", 0), 0u) << line;
}

TEST_F(Facade, quietOperationsStayQuietWhenTheTraceItselfFails) {
    auto main = startedFacade();
    test::installUnreachableViewer();
    trace->setActive(true); // on, but no viewer can be opened
    EXPECT_EQ(main->Convert(1, "EUR", "BEF", 15, Legal, ""), 0);
    EXPECT_EQ(main->Translate(2), "");
    EXPECT_NO_THROW(main->InverseDevise());
}

TEST_F(Facade, otherOperationsPassTheirFailureToTheCaller) {
    KVTMain fresh;
    EXPECT_THAT([&] { (void)fresh.ParValeur(); },
                test::ThrowsError(err::NotInitialised, {"init has not been called"}));
    auto main = startedFacade();
    struct Row {
        const char *operation;
        std::function<void()> run;
    };
    const Row rows[] = {
        {"DeviseFormat",
         [&] {
             (void)main->DeviseFormat("QQQ");
         }},
        {"FormatinDevise",
         [&] {
             (void)main->FormatinDevise("QQQ", "#");
         }},
        {"AliasDefault",
         [&] {
             (void)main->AliasDefault("QQQ");
         }},
        {"LegalNrOfDec",
         [&] {
             (void)main->LegalNrOfDec("QQQ");
         }},
        {"AskRateRequired",
         [&] {
             (void)main->AskRateRequired("QQQ", "EUR");
         }},
    };
    for (const Row &row : rows)
        EXPECT_THAT(row.run, test::ThrowsError(err::KeyNotFound, {"QQQ"})) << row.operation;
}

} // namespace
} // namespace kvt
