#include "engine/SharedChange.h"
#include "facade/KVTMain.h"
#include "messages/MessageBoxes.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"

#include <benchmark/benchmark.h>

namespace {

// A facade as a host starts it, on a fresh memory store and the shipped message file; tracing
// stays off (no switch stored).
kvt::KVTMain &startedFacade() {
    static kvt::KVTMain *main = [] {
        kvt::setSharedRegistry(
            std::make_shared<kvt::Registry>(std::make_shared<kvt::MemorySettingsBackend>()));
        auto *facade = new kvt::KVTMain;
        facade->init(TALVIO_BENCH_MESSAGE_FILE);
        return facade;
    }();
    return *main;
}

constexpr std::int16_t kEuroDecimals = 15;

// The engine call the facade forwards to, in the same process: the facade's cost is the
// difference.
void BM_dblConvert_Direct(benchmark::State &state) {
    kvt::Change &change = *startedFacade().mChange;
    double amount = 1234.567;
    for (auto _ : state) {
        benchmark::DoNotOptimize(amount);
        benchmark::DoNotOptimize(
            change.dblConvert(amount, "EUR", "BEF", kEuroDecimals, kvt::Legal, ""));
    }
}
BENCHMARK(BM_dblConvert_Direct);

void BM_Convert_Facade(benchmark::State &state) {
    kvt::KVTMain &main = startedFacade();
    double amount = 1234.567;
    for (auto _ : state) {
        benchmark::DoNotOptimize(amount);
        benchmark::DoNotOptimize(main.Convert(amount, "EUR", "BEF", kEuroDecimals, kvt::Legal, ""));
    }
}
BENCHMARK(BM_Convert_Facade);

} // namespace
