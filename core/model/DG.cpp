#include "model/DG.h"

namespace kvt {

namespace {

std::shared_ptr<DG> &sharedDGSlot() {
    static std::shared_ptr<DG> dg;
    return dg;
}

} // namespace

std::shared_ptr<DG> sharedDG() {
    auto &slot = sharedDGSlot();
    if (!slot)
        slot = std::make_shared<DG>();
    return slot;
}

void setSharedDG(std::shared_ptr<DG> dg) {
    sharedDGSlot() = std::move(dg);
}

void releaseSharedDG() {
    sharedDGSlot().reset();
}

} // namespace kvt
