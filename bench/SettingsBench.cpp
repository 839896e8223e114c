#include "BenchStore.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using kvt::bench::BenchStore;

// "C0", "C1", ...: codes of a catalogue. (Built by appending: GCC 12 warns falsely on
// code(i) at -O3.)
std::string code(int i) {
    std::string key = "C";
    key.append(std::to_string(i));
    return key;
}

// The hot path: reading a setting that exists, among a catalogue-sized section.
void BM_GetSetting(benchmark::State &state) {
    BenchStore store;
    kvt::Registry &registry = store.registry();
    for (int i = 0; i < 200; ++i)
        registry.SetReg("Currencies\\ISOCodes", code(i), "|1|X.XX|EUR|");
    registry.SetReg("UserChoice", "TargetValue", "0.0X");
    const std::string section = "UserChoice";
    const std::string key = "TargetValue";
    const std::string fallback = "0.0X";
    for (auto _ : state)
        benchmark::DoNotOptimize(registry.strGetSetting(section, key, fallback));
}
BENCHMARK(BM_GetSetting);

// One value written outside a batch: a transaction of its own.
void BM_SetReg(benchmark::State &state) {
    BenchStore store;
    kvt::Registry &registry = store.registry();
    std::int64_t n = 0;
    for (auto _ : state)
        registry.SetReg("Currencies\\Rates", "USD", std::to_string(++n));
}
BENCHMARK(BM_SetReg);

// A catalogue-sized save: 100 values in one batch.
void BM_SaveBatch(benchmark::State &state) {
    BenchStore store;
    kvt::Registry &registry = store.registry();
    for (auto _ : state) {
        kvt::Registry::Batch batch(registry);
        for (int i = 0; i < 100; ++i)
            registry.SetReg("Currencies\\Names", code(i), "a|b|c|d|e|f|");
        batch.commit();
    }
}
BENCHMARK(BM_SaveBatch);

} // namespace
