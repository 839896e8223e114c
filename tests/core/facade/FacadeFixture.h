#pragma once

#include "engine/SharedChange.h"
#include "facade/KVTMain.h"
#include "messages/Message.h"
#include "messages/MessageBoxes.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "support/RecordingViewer.h"
#include "trace/KVTBug.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kvt::test {

// Fresh library-wide objects for every test: a memory settings store, a trace client whose
// viewer records every report, scripted message boxes; facades are initialised with the shipped
// message file.
class FacadeFixture : public testing::Test {
protected:
    void SetUp() override {
        setSharedRegistry(std::make_shared<Registry>(backend));
        setSharedTrace(trace);
        viewers.install();
        setMessageBoxes(boxes);
    }
    void TearDown() override {
        setShowMsgNumbers(false);
        setTraceViewerFactory(nullptr);
        setSharedTrace(nullptr);
        releaseSharedChange();
        releaseSharedMessage();
        releaseSharedDG();
        setSharedRegistry(nullptr);
        setMessageBoxes(nullptr);
    }

    // A stored value as a host or the user left it before the facade starts.
    void store(const std::string &section, const std::string &key, const std::string &value) {
        backend->write("Talvio", section, key, value);
    }
    std::string stored(const std::string &section, const std::string &key) {
        return backend->read("Talvio", section, key);
    }

    std::unique_ptr<KVTMain> startedFacade() {
        auto main = std::make_unique<KVTMain>();
        main->init(kMessageFile);
        return main;
    }

    static constexpr const char *kMessageFile = TALVIO_TEST_MESSAGE_FILE;

    std::shared_ptr<MemorySettingsBackend> backend = std::make_shared<MemorySettingsBackend>();
    std::shared_ptr<KVTBug> trace = std::make_shared<KVTBug>();
    RecordingViewers viewers;
    std::shared_ptr<ScriptedMessageBoxes> boxes = std::make_shared<ScriptedMessageBoxes>();
    const std::vector<std::string> &traceLog() const { return *viewers.log; }
};

} // namespace kvt::test
