#pragma once

#include "kvt_export.h"
#include "ui/ListControl.h"

namespace kvt {

// Fills a list with the six languages, each named in its own language (message 2), in the
// order of kvt::Langue, so that an entry's position is its language's value. Traced as
// "LoadcboLangue".
KVT_EXPORT void LoadcboLangue(ListControl &list);

} // namespace kvt
