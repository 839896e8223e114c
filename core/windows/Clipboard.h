#pragma once

#include "facade/Windows.h"

namespace kvt::windows {

// The system clipboard as the host sees it: seven formats in a fixed order, each carried here by
// one MIME type; a format this platform has no counterpart for keeps its place and is never
// present. Every operation makes the widget application first (ensureApplication).

void ClipboardClear();

// Puts the picture on the clipboard in its own format, replacing that format only. Throws
// kvt::Error(err::InvalidArgument) for a picture without bytes, and for a bitmap or
// device-independent bitmap whose bytes are not a PNG or BMP image.
void ClipboardSetData(const Picture &picture);

// The picture on the clipboard, looked for as a bitmap, a metafile, then a device-independent
// bitmap. A clipboard without a picture gives a Picture without bytes: finding none is an
// answer, not a failure.
Picture ClipboardGetData();

// Records which of the seven formats the clipboard holds (all flags first), then their data in
// table order, and every other MIME format it holds in store.others. The clipboard is unchanged.
void ClipboardSave(ClipboardStore &store);

// Puts the saved formats back, in table order, then the others, into what the clipboard now
// holds: a format put back replaces the same format, every other one stays. Then empties the
// saved data and keeps the flags. Only saved data that is not empty goes back, so a second
// restore without a save in between changes nothing.
void ClipboardRestore(ClipboardStore &store);

} // namespace kvt::windows
