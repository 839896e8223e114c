#include "windows/Services.h"

#include "windows/Application.h"
#include "windows/FrmControlPanel.h"

namespace kvt::windows {

WindowServices allServices() {
    WindowServices services;
    services.requireDisplay = ensureApplication;
    services.displayProblem = displayProblem;
    services.controlPanel = [](FrmControlPanel &panel) {
        ensureApplication();
        return FrmControlPanelWindow::make(panel);
    };
    services.visible = [](LibraryWindow window) {
        switch (window) {
        case LibraryWindow::About:
            return aboutVisible();
        case LibraryWindow::AskRate:
            return askRateVisible();
        case LibraryWindow::Welcome:
        case LibraryWindow::FirstTime:
            return wizardVisible(window);
        }
        return false;
    };
    addDialogServices(services);
    addWizardServices(services);
    addSmallDialogServices(services);
    addClipboardServices(services);
    return services;
}

} // namespace kvt::windows
