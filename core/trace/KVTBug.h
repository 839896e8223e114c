#pragma once

#include "kvt_export.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kvt {

// A trace window of the viewer program: shows nested functions, messages, errors and timings.
// The handle that FctBegin returns is the function's nesting level in that window.
class KVT_EXPORT TraceViewer {
public:
    virtual ~TraceViewer() = default;
    virtual void Title(const std::string &title) = 0;
    virtual void Msg(std::int16_t handle, const std::string &message) = 0;
    virtual void Error(std::int16_t handle, const std::string &message) = 0;
    virtual void Clear() = 0;
    virtual std::int16_t FctBegin(const std::string &function) = 0;
    virtual void FctEnd(std::int16_t handle, const std::string &endWord) = 0;
};

// Opens a new trace window, or throws kvt::Error when the viewer cannot be reached.
using TraceViewerFactory = std::function<std::unique_ptr<TraceViewer>()>;

// The way the library reaches the viewer program; tests install a recording viewer. While none
// is installed, the default connection is used.
KVT_EXPORT void setTraceViewerFactory(TraceViewerFactory factory);

// The connection the library itself provides: the shared library installs the session-bus one
// when it is loaded. Without either factory, opening a viewer fails.
KVT_EXPORT void setDefaultTraceViewerFactory(TraceViewerFactory factory);

// The library's trace client. While Active is off every report is dropped after one test of
// the flag; while on, the first report opens a viewer window and every report goes to it.
class KVT_EXPORT KVTBug {
public:
    KVTBug() = default;
    KVTBug(const KVTBug &) = delete;
    KVTBug &operator=(const KVTBug &) = delete;

    bool Active() const { return mActive; }
    void setActive(bool active) { mActive = active; }

    // Sets the viewer window's title.
    void setModule(const std::string &rstrModule) {
        if (mActive)
            viewer().Title(rstrModule);
    }
    void Msg(std::int16_t vintHandle, const std::string &rstrMessage) {
        if (mActive)
            viewer().Msg(vintHandle, rstrMessage);
    }
    void Error(std::int16_t vintHandle, const std::string &rstrMessage) {
        if (mActive)
            viewer().Error(vintHandle, rstrMessage);
    }
    void Clear() {
        if (mActive)
            viewer().Clear();
    }
    // The handle to pass back with the function's reports; 0 while tracing is off.
    std::int16_t BeginFct(const std::string &rstrFct) {
        return mActive ? viewer().FctBegin(rstrFct) : std::int16_t{0};
    }
    void EndFct(std::int16_t vintHandle, const std::string &rstrMotdeFin = {}) {
        if (mActive)
            viewer().FctEnd(vintHandle, rstrMotdeFin);
    }

    // Label-building forms: the label is made only while tracing is on, so a label that
    // formats an amount costs nothing when tracing is off.
    template<class MakeLabel>
    std::int16_t beginWith(MakeLabel &&makeLabel) {
        return mActive ? viewer().FctBegin(makeLabel()) : std::int16_t{0};
    }
    template<class MakeEndWord>
    void endWith(std::int16_t handle, MakeEndWord &&makeEndWord) {
        if (mActive)
            viewer().FctEnd(handle, makeEndWord());
    }

private:
    TraceViewer &viewer();

    bool mActive = false;
    std::unique_ptr<TraceViewer> mViewer; // opened on the first report while active
};

// A traced function for the length of a scope: begun on construction, ended (without end
// word) on every way out.
class KVT_EXPORT TraceBlock {
public:
    TraceBlock(KVTBug &trace, const std::string &label)
        : mTrace(trace)
        , mHandle(trace.BeginFct(label)) {}
    ~TraceBlock() {
        // A destructor must not throw; the viewer was reached when the block began, so a
        // report failing now is lost rather than thrown over an operation's own outcome.
        try {
            mTrace.EndFct(mHandle);
        } catch (...) {
        }
    }
    TraceBlock(const TraceBlock &) = delete;
    TraceBlock &operator=(const TraceBlock &) = delete;

    std::int16_t handle() const { return mHandle; }

private:
    KVTBug &mTrace;
    std::int16_t mHandle;
};

// The library's one trace client, created on first use.
KVT_EXPORT std::shared_ptr<KVTBug> sharedTrace();
KVT_EXPORT void setSharedTrace(std::shared_ptr<KVTBug> trace);

// Applies a stored tracing switch ("ON" in any case turns tracing on) and names the module.
void switchTracing(KVTBug &trace, const std::string &storedSwitch, const std::string &module);

} // namespace kvt
