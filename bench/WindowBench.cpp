// How long each window of the library takes to show, offscreen: from the host's call to the
// window on screen, every iteration a new showing (a window the library keeps is shown again).
// Then the control panel's own work for 17 and 150 selected currencies: a new panel shown, its
// refresh, and the fill of its rate grid.
#include "engine/SharedChange.h"
#include "facade/KVTMain.h"
#include "model/Alias.h"
#include "model/ISO.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "model/Taux.h"
#include "support/LibraryWindows.h"
#include "support/ShownWindow.h"
#include "ui/CPExcel.h"
#include "ui/ControlPanel.h"
#include "windows/Application.h"
#include "windows/FrmControlPanel.h"
#include "windows/Grid.h"
#include "windows/Services.h"

#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

// Selects the built-in currencies and, beyond them, currencies made up for the benchmark up to
// `count` in all, with a rate between every two; the made-up ones past `count` are unselected.
void selectCurrencies(int count) {
    constexpr int kMost = 150;
    kvt::Change &change = *kvt::sharedChange();
    static std::vector<std::string> madeUp;
    if (madeUp.empty()) {
        const int builtIn = change.ColDevises()->Count();
        for (int k = 0; builtIn + k < kMost; ++k) {
            std::string code = {'Q', static_cast<char>('A' + k / 26),
                                static_cast<char>('A' + k % 26)};
            change.mSubAddISO(code, 0, "X.XX", "");
            kvt::ISO &entry = *change.ColISO()->Item(code);
            entry.setColNames(std::vector<std::string>(6, "Bench " + code));
            entry.ColAlias()->Add(std::make_shared<kvt::Alias>(kvt::Alias{code, true}), "ISO");
            madeUp.push_back(std::move(code));
        }
        for (const std::string &code : madeUp)
            change.AddDevise(code);
        // Every currency gets a rate towards every other one and itself, as a loaded table has.
        const kvt::CodeNameList selected = facade().Currencies();
        for (const std::string &code : selected[0])
            for (const std::string &other : selected[0])
                if (const auto &rates = change.ColISO()->Item(code)->ColTaux(); !rates->find(other))
                    rates->Add(std::make_shared<kvt::Taux>(kvt::Taux{1.25, false, other}), other);
    }
    const int builtIn = kMost - static_cast<int>(madeUp.size());
    for (std::size_t k = 0; k < madeUp.size(); ++k) {
        const bool wanted = builtIn + static_cast<int>(k) < count;
        const bool selected = change.ColDevises()->find(madeUp[k]) != nullptr;
        if (wanted && !selected)
            change.AddDevise(madeUp[k]);
        else if (!wanted && selected)
            change.DelDevise(madeUp[k]);
    }
}

// A new control panel each iteration: made, loaded and shown until it is on screen.
void BM_PanelNewShow(benchmark::State &state) {
    kvt::KVTMain &main = facade();
    selectCurrencies(static_cast<int>(state.range(0)));
    double first = -1;
    for (auto _ : state) {
        kvt::FrmControlPanel panel(main.driver());
        std::unique_ptr<kvt::windows::FrmControlPanelWindow> window;
        const double shownAfter = kvt::test::actWhenShown(
            [&] {
                window = std::make_unique<kvt::windows::FrmControlPanelWindow>(panel);
                window->show();
            },
            [](QWidget &) {});
        if (shownAfter < 0) {
            state.SkipWithError("the panel did not show");
            break;
        }
        state.SetIterationTime(shownAfter / 1000.0);
        if (first < 0)
            first = shownAfter;
    }
    state.counters["first_ms"] = first;
}
BENCHMARK(BM_PanelNewShow)->Arg(17)->Arg(150)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RefreshData(benchmark::State &state) {
    kvt::KVTMain &main = facade();
    selectCurrencies(static_cast<int>(state.range(0)));
    kvt::FrmControlPanel panel(main.driver());
    kvt::windows::FrmControlPanelWindow window(panel);
    for (auto _ : state)
        window.RefreshData();
}
BENCHMARK(BM_RefreshData)->Arg(17)->Arg(150)->Unit(benchmark::kMillisecond);

void BM_LoadTableauTaux(benchmark::State &state) {
    kvt::KVTMain &main = facade();
    selectCurrencies(static_cast<int>(state.range(0)));
    kvt::windows::Grid grid;
    for (auto _ : state)
        main.driver().LoadTableauTaux(grid);
    state.counters["cells"] = static_cast<double>(grid.Rows() * grid.Cols());
}
BENCHMARK(BM_LoadTableauTaux)->Arg(17)->Arg(150)->Unit(benchmark::kMillisecond);

const int registered = [] {
    for (const kvt::test::WindowShot &shot : kvt::test::libraryWindows())
        benchmark::RegisterBenchmark((std::string("BM_ShowWindow/") + shot.name).c_str(),
                                     BM_ShowWindow, shot)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace
