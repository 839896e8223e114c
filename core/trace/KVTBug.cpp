#include "trace/KVTBug.h"

#include "model/Error.h"
#include "model/SettingsValues.h"
#include "model/SharedInstance.h"

namespace kvt {

namespace {

TraceViewerFactory &viewerFactory() {
    static TraceViewerFactory factory;
    return factory;
}

TraceViewerFactory &defaultViewerFactory() {
    static TraceViewerFactory factory;
    return factory;
}

SharedInstance<KVTBug> &sharedTraceInstance() {
    static SharedInstance<KVTBug> instance;
    return instance;
}

} // namespace

void setTraceViewerFactory(TraceViewerFactory factory) {
    viewerFactory() = std::move(factory);
}

void setDefaultTraceViewerFactory(TraceViewerFactory factory) {
    defaultViewerFactory() = std::move(factory);
}

TraceViewer &KVTBug::viewer() {
    if (!mViewer) {
        const TraceViewerFactory &factory =
            viewerFactory() ? viewerFactory() : defaultViewerFactory();
        if (!factory)
            throw kvt::Error(err::TraceViewer,
                             "The trace viewer KVTDebug cannot be started: no connection to it "
                             "is available in this program");
        mViewer = factory();
        if (!mViewer)
            throw kvt::Error(err::TraceViewer, "The trace viewer KVTDebug did not open a window");
    }
    return *mViewer;
}

std::shared_ptr<KVTBug> sharedTrace() {
    return sharedTraceInstance().get();
}

void setSharedTrace(std::shared_ptr<KVTBug> trace) {
    sharedTraceInstance().set(std::move(trace));
}

void switchTracing(KVTBug &trace, const std::string &storedSwitch, const std::string &module) {
    trace.setActive(parseSwitch(storedSwitch));
    trace.setModule(module);
}

} // namespace kvt
