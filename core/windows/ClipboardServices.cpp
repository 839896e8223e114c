#include "windows/Services.h"

namespace kvt::windows {

void addClipboardServices(WindowServices &) {}

} // namespace kvt::windows
