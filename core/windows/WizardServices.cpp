#include "windows/Services.h"

namespace kvt::windows {

void addWizardServices(WindowServices &) {}

bool wizardVisible(LibraryWindow) {
    return false;
}

} // namespace kvt::windows
