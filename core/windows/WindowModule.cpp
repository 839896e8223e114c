// The windows module: the library loads it on the first call that needs a window, and its
// entry point hands the library the windows, dialogs and clipboard.
#include "kvt_export.h"
#include "windows/Services.h"

extern "C" KVT_EXPORT void talvio_module_init() {
    kvt::registerWindowServices(kvt::windows::allServices());
}
