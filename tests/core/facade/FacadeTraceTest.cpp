#include "FacadeFixture.h"
#include "model/Error.h"
#include "support/ErrorMatchers.h"
#include "support/ScopedNumericLocale.h"

namespace kvt {
namespace {

using Log = std::vector<std::string>;
using FacadeTrace = test::FacadeFixture;

TEST_F(FacadeTrace, initTracesUntilTheEngineSwitchesTracingOffAndLeavesItsFunctionOpen) {
    int run = 0;
    for (const char *on : {"ON", "on", "On"}) {
        ++run;
        viewers.log->clear();
        store("ENGINE", "DEBUGMAIN", on);
        auto main = startedFacade();
        EXPECT_FALSE(trace->Active()) << on; // DEBUGCHANGE missing: off after init
        ASSERT_GE(traceLog().size(), 2u) << on;
        EXPECT_EQ(traceLog()[0], "Title Main");
        // The viewer window stays, and each open Initialisation nests the next one deeper.
        EXPECT_EQ(traceLog()[1], "FctBegin Initialisation -> " + std::to_string(run));
        for (const std::string &line : traceLog())
            EXPECT_NE(line.rfind("FctEnd", 0), 0u) << on << ": " << line;
    }
}

TEST_F(FacadeTrace, initWithBothSwitchesOnEndsInTheEngineModuleAndTheEndNestsTheDriver) {
    store("ENGINE", "DEBUGMAIN", "ON");
    store("ENGINE", "DEBUGCHANGE", "ON");
    auto main = startedFacade();
    EXPECT_TRUE(trace->Active());
    EXPECT_EQ(std::count(traceLog().begin(), traceLog().end(), "Title Change"), 1);
    EXPECT_EQ(traceLog().back(), "FctEnd 1 ");
    EXPECT_NE(
        std::find(traceLog().begin(), traceLog().end(), "FctBegin Class_initialize CPExcel -> 2"),
        traceLog().end());
    viewers.log->clear();
    main.reset(); // the driver ends inside the facade's end
    EXPECT_EQ(traceLog(), (Log{"FctBegin Class_Terminate KVTMain -> 1",
                               "FctBegin Class_Terminate CPExcel -> 2", "FctEnd 2 ", "FctEnd 1 "}));
}

TEST_F(FacadeTrace, initFailsWhenTracingIsOnAndNoViewerCanBeReached) {
    test::installUnreachableViewer();
    store("ENGINE", "DEBUGMAIN", "ON");
    KVTMain main;
    EXPECT_THAT([&] { main.init(kMessageFile); },
                test::ThrowsError(err::TraceViewer, {"KVTDebug"}));
}

TEST_F(FacadeTrace, operationsCarryTheirLabelsAndEndWords) {
    const auto locale = test::cLocale(); // numbers in labels use the locale's decimal separator
    auto main = startedFacade();
    trace->setActive(true);
    viewers.log->clear();
    const double converted = main->Convert(1000.5, "BEF", "FRF", 15, Legal, "");
    const double rate = main->TauxDeChangeConvert("EUR", "FRF");
    main->Translate(130);
    main->InverseDevise();
    main->WriteRegistry();
    // 1000.5 BEF: 1000.5 / 40.3399 EUR at 6.55957 FRF, legally rounded to 2 decimals.
    EXPECT_EQ(traceLog(), (Log{
                              "FctBegin Conversion de 1000.5 BEF FRF -> 1",
                              "FctEnd 1 Conversion = 162.69",
                              "FctBegin Taux de Change de EUR FRF -> 1",
                              "FctEnd 1 Taux = 6.55957",
                              "FctBegin Translate 130 -> 1",
                              "FctEnd 1 ",
                              "FctBegin Inverse Devise -> 1",
                              "FctEnd 1 ",
                              "FctBegin Write Registry -> 1",
                              "FctEnd 1 ",
                          }));
    EXPECT_DOUBLE_EQ(converted, 162.69);
    EXPECT_EQ(rate, 6.55957);
}

TEST_F(FacadeTrace, aConversionTheEngineRefusesIsItsBoxNotAnErrorLineOfTheFacade) {
    auto main = startedFacade();
    trace->setActive(true);
    viewers.log->clear();
    EXPECT_EQ(main->Convert(5, "EUR", "QQQ", 15, Legal, ""), 0);
    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].icon, BoxIcon::Critical);
    EXPECT_EQ(traceLog(),
              (Log{"FctBegin Conversion de 5 EUR QQQ -> 1", "FctEnd 1 Conversion = 0"}));
}

TEST_F(FacadeTrace, tracingOffOpensNoViewerAndReportsNothing) {
    auto main = startedFacade();
    main->Convert(1, "EUR", "BEF", 15, Legal, "");
    main->TauxDeChangeConvert("EUR", "BEF");
    main->WriteRegistry();
    EXPECT_EQ(*viewers.opened, 0);
    EXPECT_TRUE(traceLog().empty());
}

} // namespace
} // namespace kvt
