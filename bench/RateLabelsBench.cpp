#include "engine/Change.h"
#include "messages/Message.h"
#include "model/DG.h"
#include "support/SampleTables.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

using kvt::Change;

// The sample tables with a rate between USD and GBP, and settings that allow a conversion;
// every rate needed is given, so nothing is asked.
Change &labelEngine() {
    static Change *change = [] {
        auto *engine = new Change;
        kvt::test::addSampleCurrencies(*engine);
        kvt::test::setGivenRate(*engine, "USD", "GBP", 0.8);
        auto settings = std::make_shared<kvt::DG>();
        settings->setDeviseFrom("BEF");
        settings->setDeviseTo("FRF");
        settings->setDevFormat("X.XX");
        settings->setNbDecEuroInter(3);
        engine->setGeneralSettings(settings);
        engine->setMessages(std::make_shared<kvt::Message>());
        return engine;
    }();
    return *change;
}

void BM_UpdateRateLabels(benchmark::State &state, const std::string &from, const std::string &to) {
    Change &change = labelEngine();
    kvt::RateLabels labels;
    for (auto _ : state) {
        change.UpdateRateLabels(labels, from, to);
        benchmark::DoNotOptimize(labels);
    }
}
BENCHMARK_CAPTURE(BM_UpdateRateLabels, CrossRate, "BEF", "FRF");
BENCHMARK_CAPTURE(BM_UpdateRateLabels, Direct, "USD", "GBP");

void BM_UpdateTaux(benchmark::State &state, const std::string &from, const std::string &to) {
    Change &change = labelEngine();
    kvt::ConversionDetail source;
    kvt::ConversionDetail target;
    const std::string pattern = "X.XX";
    double rate = 0.0;
    for (auto _ : state) {
        change.UpdateTaux(1234.567, source, target, from, to, rate, kvt::Legal, pattern);
        benchmark::DoNotOptimize(target);
    }
}
BENCHMARK_CAPTURE(BM_UpdateTaux, ThroughEuro, "BEF", "FRF");
BENCHMARK_CAPTURE(BM_UpdateTaux, Direct, "USD", "GBP");

} // namespace
