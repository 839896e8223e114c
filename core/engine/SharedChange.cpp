#include "engine/SharedChange.h"

#include "model/SharedInstance.h"

namespace kvt {

namespace {

SharedInstance<Change> &sharedChangeInstance() {
    static SharedInstance<Change> instance;
    return instance;
}

} // namespace

std::shared_ptr<Change> sharedChange() {
    return sharedChangeInstance().get();
}

void setSharedChange(std::shared_ptr<Change> change) {
    sharedChangeInstance().set(std::move(change));
}

void releaseSharedChange() {
    sharedChangeInstance().release();
}

} // namespace kvt
