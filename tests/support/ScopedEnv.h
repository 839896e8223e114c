#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace kvt::test {

// Sets (or, with nullopt, unsets) an environment variable for the life of the object, then puts
// the previous state back.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const std::optional<std::string> &value)
        : mName(name) {
        if (const char *old = std::getenv(name))
            mOld = old;
        apply(value);
    }
    ~ScopedEnv() { apply(mOld); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    void apply(const std::optional<std::string> &value) const {
        if (value)
            ::setenv(mName.c_str(), value->c_str(), 1);
        else
            ::unsetenv(mName.c_str());
    }

    std::string mName;
    std::optional<std::string> mOld;
};

} // namespace kvt::test
