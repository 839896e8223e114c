#include "BenchStore.h"
#include "engine/Change.h"
#include "messages/Message.h"
#include "model/DG.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using kvt::bench::BenchStore;

// The shipped messages, so that the names are the real ones.
std::shared_ptr<kvt::Message> shippedMessages() {
    static const std::shared_ptr<kvt::Message> messages = [] {
        auto loaded = std::make_shared<kvt::Message>();
        loaded->subLoadIndex(TALVIO_BENCH_MESSAGE_FILE);
        return loaded;
    }();
    return messages;
}

// Tables on their own store, the library's shared one while they live.
class BenchTables {
public:
    BenchTables() {
        kvt::setSharedRegistry(mStore.shared());
        mTables.initializeTables(std::make_shared<kvt::DG>(), shippedMessages());
    }
    ~BenchTables() { kvt::setSharedRegistry(nullptr); }
    BenchTables(const BenchTables &) = delete;
    BenchTables &operator=(const BenchTables &) = delete;

    kvt::Change &tables() { return mTables; }
    kvt::Registry &registry() { return mStore.registry(); }

private:
    BenchStore mStore;
    kvt::Change mTables;
};

// The loading of the tables' data from a store that holds a saved default catalogue (the rates
// derived for display afterwards are not part of it).
void BM_ReadReg_Populated(benchmark::State &state) {
    BenchTables bench;
    bench.tables().ReadReg();
    bench.tables().SaveReg();
    for (auto _ : state)
        bench.tables().ReadReg();
}
BENCHMARK(BM_ReadReg_Populated)->Unit(benchmark::kMillisecond);

// The first load ever: every default is written. The database file itself is created and
// opened before the clock runs.
void BM_ReadReg_FirstRun(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            BenchTables bench;
            bench.registry().strGetSetting("ENGINE", "DEBUGCHANGE", "OFF");
            state.ResumeTiming();
            bench.tables().ReadReg();
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReadReg_FirstRun)->Unit(benchmark::kMillisecond);

// Saving the default catalogue after one rate was entered, as a rate entry does: only the rates
// of one currency are merged and written.
void BM_SaveReg(benchmark::State &state) {
    BenchTables bench;
    bench.tables().ReadReg();
    double rate = 1.0;
    for (auto _ : state) {
        bench.tables().setTauxDeChange("EUR", "USD", rate += 0.001);
        bench.tables().SaveReg();
    }
}
BENCHMARK(BM_SaveReg)->Unit(benchmark::kMillisecond);

// Saving with nothing changed since the load: every value is compared, none written.
void BM_SaveReg_Unchanged(benchmark::State &state) {
    BenchTables bench;
    bench.tables().ReadReg();
    for (auto _ : state)
        bench.tables().SaveReg();
}
BENCHMARK(BM_SaveReg_Unchanged)->Unit(benchmark::kMillisecond);

} // namespace
