#include "windows/Clipboard.h"
#include "windows/ColorFontDialogs.h"
#include "windows/Services.h"

namespace kvt::windows {

void addClipboardServices(WindowServices &services) {
    services.clipboardClear = ClipboardClear;
    services.clipboardSetData = ClipboardSetData;
    services.clipboardGetData = ClipboardGetData;
    services.clipboardSave = ClipboardSave;
    services.clipboardRestore = ClipboardRestore;
    services.colorByDialog = ColorByDialog;
    services.fontByDialog = FontByDialog;
}

} // namespace kvt::windows
