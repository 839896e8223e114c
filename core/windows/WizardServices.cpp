#include "windows/FrmBienvenue.h"
#include "windows/FrmFirstTime.h"
#include "windows/Services.h"

namespace kvt::windows {

void addWizardServices(WindowServices &services) {
    services.firstTime = &FrmFirstTime::GO;
    services.loadBienvenue = &FrmBienvenue::load;
    services.unloadBienvenue = &FrmBienvenue::unload;
}

bool wizardVisible(LibraryWindow window) {
    const QWidget *shown = nullptr;
    if (window == LibraryWindow::FirstTime)
        shown = FrmFirstTime::shown();
    else if (window == LibraryWindow::Welcome)
        shown = FrmBienvenue::shown();
    return shown && shown->isVisible();
}

} // namespace kvt::windows
