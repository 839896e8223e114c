#include "facade/AddInMgr.h"

#include "facade/Modules.h"
#include "model/Error.h"

namespace kvt {

namespace {

AddInMgrFactory &installedFactory() {
    static AddInMgrFactory factory;
    return factory;
}

} // namespace

void setAddInMgrFactory(AddInMgrFactory factory) {
    installedFactory() = std::move(factory);
}

std::shared_ptr<AddInMgr> connectAddInMgr() {
    if (installedFactory())
        return installedFactory()();
    return busServices(err::AddInMgr).connectAddInMgr();
}

} // namespace kvt
