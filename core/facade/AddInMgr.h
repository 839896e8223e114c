#pragma once

#include "facade/EventRaiser.h"
#include "kvt_export.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kvt {

// The add-in manager as an add-in sees it: it names add-in instances, records which add-in
// edits the common currency data, and hands out the shared event source. Failures to reach
// it throw kvt::Error(err::AddInMgr).
class KVT_EXPORT AddInMgr {
public:
    virtual ~AddInMgr() = default;
    // "type N", N one more than the last number given for the type.
    virtual std::string NewAddInName(const std::string &vstrAddInType) = 0;
    virtual void UnRegister(const std::string &Name) = 0;
    // One line per registered instance, each ended by CR LF.
    virtual std::string AddInCollectionString() = 0;
    virtual std::string CommonDataEditor() = 0;
    virtual void setCommonDataEditor(const std::string &name) = 0;
    // Records name as the editor only when nobody is recorded; says whether name is the
    // editor now. Two add-ins claiming at the same moment never both succeed.
    virtual bool ClaimCommonDataEditor(const std::string &name) = 0;
    virtual std::int32_t LastId(const std::string &strType) = 0;
    virtual std::shared_ptr<kvt::EventRaiser> EventRaiser() = 0;
};

// Connects to the add-in manager; throws kvt::Error when it cannot be reached.
using AddInMgrFactory = std::function<std::shared_ptr<AddInMgr>()>;

// Tests install an in-process manager; an empty factory restores the manager program on the
// session bus, which the bus starts on first use.
KVT_EXPORT void setAddInMgrFactory(AddInMgrFactory factory);
KVT_EXPORT std::shared_ptr<AddInMgr> connectAddInMgr();

} // namespace kvt
