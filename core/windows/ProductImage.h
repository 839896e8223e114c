#pragma once

#include <QPixmap>

namespace kvt::windows {

// The product's picture, a euro sign on a blue disc, drawn at the size asked (in device-
// independent pixels) for the wizard, the welcome screen and the about box.
QPixmap productImage(int size);

} // namespace kvt::windows
