#include "windows/Services.h"

namespace kvt::windows {

void addSmallDialogServices(WindowServices &) {}

bool aboutVisible() {
    return false;
}

} // namespace kvt::windows
