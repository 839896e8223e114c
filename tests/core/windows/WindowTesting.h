#pragma once

#include "facade/Windows.h"
#include "windows/Application.h"
#include "windows/Services.h"

#include <gtest/gtest.h>

namespace kvt::test {

// The widget application of a window test program and the module's services, registered as
// the module's entry point would, so that the facade finds them without loading the file.
class WindowApplication final : public testing::Environment {
public:
    void SetUp() override {
        windows::ensureApplication();
        registerWindowServices(windows::allServices());
    }
};

} // namespace kvt::test
