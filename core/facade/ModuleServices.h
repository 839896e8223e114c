#pragma once

#include "model/Error.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace kvt {

std::string modulePath(std::string_view name);
// Loads the module file and runs its entry point; a failure throws Error(errNumber).
void loadModule(const std::string &path, std::int32_t errNumber);

// The services one module registers, loaded on the first call that needs them.
template<typename Services>
class ModuleServices {
public:
    explicit ModuleServices(const char *name)
        : mName(name) {}

    // Takes no lock: the module's entry point calls it from inside get's load, which holds it.
    void put(Services services) {
        mServices = std::move(services);
        mRegistered = true;
    }

    const Services &get(std::int32_t errNumber) {
        std::lock_guard lock(mMutex);
        if (!mRegistered) {
            // The entry point registers from inside the load, on this thread.
            const std::string path = modulePath(mName);
            loadModule(path, errNumber);
            if (!mRegistered)
                throw Error(errNumber, "The module " + path + " did not register its services");
        }
        return mServices;
    }

    bool loaded() {
        std::lock_guard lock(mMutex);
        return mRegistered;
    }

private:
    const char *mName;
    std::mutex mMutex;
    Services mServices;
    bool mRegistered = false;
};

} // namespace kvt
