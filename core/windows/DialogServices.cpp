#include "windows/FrmAskRate.h"
#include "windows/QtMessageBoxes.h"
#include "windows/Services.h"

namespace kvt::windows {

void addDialogServices(WindowServices &services) {
    services.messageBoxes = std::make_shared<QtMessageBoxes>();
    services.ratePrompt = std::make_shared<AskRateWindowPrompt>();
}

bool askRateVisible() {
    const FrmAskRate *window = askRateWindow();
    return window != nullptr && window->isVisible();
}

} // namespace kvt::windows
