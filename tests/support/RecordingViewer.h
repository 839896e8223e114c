#pragma once

#include "model/Error.h"
#include "trace/KVTBug.h"

#include <memory>
#include <string>
#include <vector>

namespace kvt::test {

// A trace viewer that writes every report as one line ("FctBegin Convert -> 1") into a log
// shared with the test, and hands out nesting levels as handles.
class RecordingViewer final : public TraceViewer {
public:
    explicit RecordingViewer(std::shared_ptr<std::vector<std::string>> log)
        : mLog(std::move(log)) {}

    void Title(const std::string &title) override { mLog->push_back("Title " + title); }
    void Msg(std::int16_t handle, const std::string &message) override {
        mLog->push_back("Msg " + std::to_string(handle) + ' ' + message);
    }
    void Error(std::int16_t handle, const std::string &message) override {
        mLog->push_back("Error " + std::to_string(handle) + ' ' + message);
    }
    void Clear() override { mLog->push_back("Clear"); }
    std::int16_t FctBegin(const std::string &function) override {
        ++mLevel;
        mLog->push_back("FctBegin " + function + " -> " + std::to_string(mLevel));
        return mLevel;
    }
    void FctEnd(std::int16_t handle, const std::string &endWord) override {
        mLog->push_back("FctEnd " + std::to_string(handle) + ' ' + endWord);
        mLevel = static_cast<std::int16_t>(handle - 1);
    }

private:
    std::shared_ptr<std::vector<std::string>> mLog;
    std::int16_t mLevel = 0;
};

// Installs a factory of recording viewers that all write into one log, and counts the windows
// opened.
struct RecordingViewers {
    std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
    std::shared_ptr<int> opened = std::make_shared<int>(0);

    void install() const {
        setTraceViewerFactory([log = log, opened = opened] {
            ++*opened;
            return std::make_unique<RecordingViewer>(log);
        });
    }
};

// As if the viewer program were missing: opening a viewer fails the way the bus reports it.
inline void installUnreachableViewer() {
    setTraceViewerFactory([]() -> std::unique_ptr<TraceViewer> {
        throw Error(err::TraceViewer, "The trace viewer KVTDebug cannot be reached");
    });
}

} // namespace kvt::test
