#include "engine/Change.h"
#include "messages/MessageBoxes.h"
#include "support/SampleTables.h"

#include <benchmark/benchmark.h>

namespace {

using kvt::Change;

Change &sampleEngine() {
    static Change *change = [] {
        auto *engine = new Change;
        kvt::test::addSampleCurrencies(*engine);
        return engine;
    }();
    return *change;
}

void runConversion(benchmark::State &state, const char *from, const char *to,
                   kvt::MethodeArondiType method, const char *pattern, std::int16_t decimals) {
    Change &change = sampleEngine();
    double amount = 1234.567;
    for (auto _ : state) {
        benchmark::DoNotOptimize(amount);
        benchmark::DoNotOptimize(change.dblConvert(amount, from, to, decimals, method, pattern));
    }
}

void BM_dblConvert_Direct(benchmark::State &state) {
    runConversion(state, "EUR", "BEF", kvt::Legal, "", 15);
}
BENCHMARK(BM_dblConvert_Direct);

void BM_dblConvert_ThroughEuro(benchmark::State &state) {
    runConversion(state, "BEF", "FRF", kvt::Legal, "", 3);
}
BENCHMARK(BM_dblConvert_ThroughEuro);

void BM_dblConvert_TargetUp(benchmark::State &state) {
    runConversion(state, "EUR", "BEF", kvt::suptargetValue, "X.X9", 15);
}
BENCHMARK(BM_dblConvert_TargetUp);

} // namespace
