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

std::string windowProblem() {
    try {
        return windowServices().displayProblem();
    } catch (const Error &error) {
        return error.description();
    }
}

WindowDialogs::WindowDialogs()
    : mPreviousBoxes(sharedMessageBoxes())
    , mPreviousPrompt(sharedRatePrompt()) {
    const WindowServices &services = windowServices();
    setMessageBoxes(services.messageBoxes);
    setRatePrompt(services.ratePrompt);
}

WindowDialogs::~WindowDialogs() {
    setMessageBoxes(std::move(mPreviousBoxes));
    setRatePrompt(std::move(mPreviousPrompt));
}

} // namespace kvt
