#pragma once

#include "engine/Change.h"
#include "kvt_export.h"

#include <memory>

namespace kvt {

// The library's one conversion engine, created on first use and shared by every facade of the
// process.
KVT_EXPORT std::shared_ptr<Change> sharedChange();
// Replaces the shared engine (tests); a later use of a dropped one creates a new, empty engine.
void setSharedChange(std::shared_ptr<Change> change);
KVT_EXPORT void releaseSharedChange();

} // namespace kvt
