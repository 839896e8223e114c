#include "windows/Services.h"

namespace kvt::windows {

void addDialogServices(WindowServices &) {}

bool askRateVisible() {
    return false;
}

} // namespace kvt::windows
