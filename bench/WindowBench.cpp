// How long each window of the library takes to show, offscreen: from the host's call to the
// window on screen, every iteration a new showing (a window the library keeps is shown again).
#include "facade/KVTMain.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "support/LibraryWindows.h"
#include "support/ShownWindow.h"
#include "windows/Application.h"
#include "windows/Services.h"

#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <string>

namespace {

// A facade as a host starts it, on a fresh memory store and the shipped message file, with
// the windows drawn offscreen unless the environment chose a platform.
kvt::KVTMain &facade() {
    static kvt::KVTMain *main = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        kvt::setSharedRegistry(
            std::make_shared<kvt::Registry>(std::make_shared<kvt::MemorySettingsBackend>()));
        kvt::windows::ensureApplication();
        kvt::registerWindowServices(kvt::windows::allServices());
        auto *made = new kvt::KVTMain;
        made->init(TALVIO_BENCH_MESSAGE_FILE);
        return made;
    }();
    return *main;
}

void BM_ShowWindow(benchmark::State &state, const kvt::test::WindowShot &shot) {
    kvt::KVTMain &main = facade();
    // The first showing in the process creates the window; the library keeps some windows,
    // which later iterations only show again.
    static std::map<std::string, double> firstShowing;
    for (auto _ : state) {
        const double shownAfter =
            kvt::test::actWhenShown([&] { shot.open(main); }, [](QWidget &) {});
        if (shownAfter < 0) {
            state.SkipWithError("the window did not show");
            break;
        }
        state.SetIterationTime(shownAfter / 1000.0);
        firstShowing.try_emplace(shot.name, shownAfter);
    }
    state.counters["first_ms"] = firstShowing[shot.name];
}

const int registered = [] {
    for (const kvt::test::WindowShot &shot : kvt::test::libraryWindows())
        benchmark::RegisterBenchmark((std::string("BM_ShowWindow/") + shot.name).c_str(),
                                     BM_ShowWindow, shot)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace
