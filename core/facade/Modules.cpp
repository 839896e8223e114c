#include "facade/Modules.h"

#include "facade/ModuleServices.h"
#include "model/Error.h"
#include "ui/HelpFile.h"

#include <cstdlib>
#include <dlfcn.h>

namespace kvt {

namespace {

// The name of the function every module exports; it registers the module's services.
constexpr const char *kEntryPoint = "talvio_module_init";

} // namespace

// Loads the module file and runs its entry point. A handle is never closed: the module's code
// stays referenced by the services it registered.
void loadModule(const std::string &path, std::int32_t errNumber) {
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *reason = dlerror();
        throw Error(errNumber, "The module " + path
                                   + " cannot be loaded: " + (reason ? reason : "unknown reason"));
    }
    using Entry = void (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(handle, kEntryPoint));
    if (!entry)
        throw Error(errNumber, "The module " + path + " has no entry point " + kEntryPoint);
    entry();
}

namespace {

ModuleServices<BusServices> &busModule() {
    static ModuleServices<BusServices> module("kvtbus");
    return module;
}

// The bus module is the way to the trace viewer; a program's own factory still comes first.
struct UseBusTraceViewer {
    UseBusTraceViewer() {
        setDefaultTraceViewerFactory(
            [] { return busServices(err::TraceViewer).openTraceViewer(); });
    }
} const useBusTraceViewer;

} // namespace

std::string modulePath(std::string_view name) {
    const char *folder = std::getenv("TALVIO_MODULE_DIR");
    const std::string base = folder && *folder ? std::string(folder) : libraryFolder() + "/talvio";
    return base + "/" + std::string(name) + ".so";
}

void registerBusServices(BusServices services) {
    busModule().put(std::move(services));
}

const BusServices &busServices(std::int32_t errNumber) {
    return busModule().get(errNumber);
}

void serveLines(int fd, const LineHandler &handler) {
    busServices(err::AddInMgr).serveLines(fd, handler);
}

std::shared_ptr<void> serveBusOnOwnThread(HostPoster post) {
    return busServices(err::AddInMgr).serveOnOwnThread(std::move(post));
}

} // namespace kvt
