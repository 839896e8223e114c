#include "model/Registry.h"
#include "model/SqliteSettingsBackend.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

// A settings database in a fresh temporary folder, removed afterwards.
class BenchStore {
public:
    BenchStore() {
        std::string pattern = (fs::temp_directory_path() / "talvio-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        mDir = pattern;
        mRegistry = std::make_unique<kvt::Registry>(
            std::make_shared<kvt::SqliteSettingsBackend>(mDir / "settings.db"));
        mRegistry->setProjectName("Talvio");
    }
    ~BenchStore() {
        mRegistry.reset();
        std::error_code ignored;
        fs::remove_all(mDir, ignored);
    }
    BenchStore(const BenchStore &) = delete;
    BenchStore &operator=(const BenchStore &) = delete;

    kvt::Registry &registry() { return *mRegistry; }

private:
    fs::path mDir;
    std::unique_ptr<kvt::Registry> mRegistry;
};

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
