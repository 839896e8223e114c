#include "facade/Windows.h"

#include "engine/RatePrompt.h"
#include "facade/ModuleServices.h"

namespace kvt {

namespace {

ModuleServices<WindowServices> &windowModule() {
    static ModuleServices<WindowServices> module("kvtwindows");
    return module;
}

} // namespace

void registerWindowServices(WindowServices services) {
    windowModule().put(std::move(services));
}

const WindowServices &windowServices() {
    return windowModule().get(err::Windows);
}

bool windowsLoaded() {
    return windowModule().loaded();
}

void requireWindows() {
    windowServices().requireDisplay();
}

void useWindowDialogs() {
    const WindowServices &services = windowServices();
    setMessageBoxes(services.messageBoxes);
    setRatePrompt(services.ratePrompt);
}

} // namespace kvt
