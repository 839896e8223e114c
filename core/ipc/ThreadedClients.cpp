// The bus clients of a host that runs no Qt event loop: each wraps the client it would use on
// its own thread, and runs every call of it on the bus thread.
#include "ipc/ThreadedClients.h"

#include "ipc/BusThread.h"
#include "ipc/BusTraceViewer.h"
#include "ipc/DBusAddInMgr.h"
#include "model/Error.h"

#include <atomic>
#include <exception>

namespace kvt::ipc {

namespace {

// An object of the bus thread that the host holds: made, used and ended on that thread. It ends
// when its holder does, or with the thread if that ends first; a use after that fails with
// kvt::Error(errNumber).
template<class T>
class OnBusThread {
public:
    // make runs on the bus thread and gives a shared or unique pointer to the object.
    template<class Make>
    OnBusThread(std::shared_ptr<BusThread> thread, std::int32_t errNumber, Make &&make)
        : mThread(std::move(thread))
        , mErrNumber(errNumber)
        , mObject(
              mThread->run(errNumber, [&] { return mThread->keep(std::shared_ptr<T>(make())); })) {}
    ~OnBusThread() { mThread->release(mObject); }
    OnBusThread(const OnBusThread &) = delete;
    OnBusThread &operator=(const OnBusThread &) = delete;

    // Runs use(object) on the bus thread while the caller waits.
    template<class Use>
    auto operator()(Use &&use) const {
        return mThread->run(mErrNumber, [&] { return use(*mObject); });
    }

    const std::shared_ptr<BusThread> &thread() const { return mThread; }

private:
    std::shared_ptr<BusThread> mThread;
    std::int32_t mErrNumber;
    T *mObject;
};

// Whether the host still wants the events of a subscription; read and written on its thread.
using Live = std::shared_ptr<std::atomic<bool>>;

// The handler of a sink on the bus thread: it hands each event to the host's thread, where the
// host's handler gets it unless the subscription has ended meanwhile, and returns at once.
class PostingHandler final : public AddInEventHandler {
public:
    PostingHandler(const BusThread &thread, AddInEventHandler &handler, Live live)
        : mThread(thread)
        , mHandler(&handler)
        , mLive(std::move(live)) {}

    void onAddInEvent(AddInEvent event) override {
        mThread.post([handler = mHandler, live = mLive, event] {
            if (!*live)
                return;
            // As on the bus: an event handler's failure has nobody to go back to.
            try {
                handler->onAddInEvent(event);
            } catch (const std::exception &) {
            }
        });
    }

private:
    const BusThread &mThread;
    AddInEventHandler *mHandler;
    Live mLive;
};

// On the bus thread: the bus's subscription and the handler of its sink, which it outlives.
class PostingSubscription {
public:
    PostingSubscription(EventRaiser &raiser, const BusThread &thread, AddInEventHandler &handler,
                        Live live)
        : mHandler(thread, handler, std::move(live))
        , mSubscription(raiser.Subscribe(mHandler)) {}

private:
    PostingHandler mHandler;
    std::unique_ptr<EventSubscription> mSubscription;
};

class ThreadedSubscription final : public EventSubscription {
public:
    ThreadedSubscription(const OnBusThread<EventRaiser> &raiser, AddInEventHandler &handler)
        : mLive(std::make_shared<std::atomic<bool>>(true))
        , mSubscription(raiser.thread(), err::AddInMgr, [&] {
            return raiser([&](EventRaiser &events) {
                return std::make_shared<PostingSubscription>(events, *raiser.thread(), handler,
                                                             mLive);
            });
        }) {}
    // Events already handed to the host are dropped there; the sink then leaves the bus.
    ~ThreadedSubscription() override { *mLive = false; }
    ThreadedSubscription(const ThreadedSubscription &) = delete;
    ThreadedSubscription &operator=(const ThreadedSubscription &) = delete;

private:
    Live mLive;
    OnBusThread<PostingSubscription> mSubscription;
};

class ThreadedEventRaiser final : public EventRaiser {
public:
    template<class Make>
    ThreadedEventRaiser(std::shared_ptr<BusThread> thread, Make &&make)
        : mRaiser(std::move(thread), err::AddInMgr, std::forward<Make>(make)) {}

    // The raiser's own subscription is called back during the raise: its sink, on the bus
    // thread, posts the event and answers at once, so the raise ends while the host waits.
    void Raise_xevtCommonDataEditRunning() override {
        mRaiser([](EventRaiser &events) { events.Raise_xevtCommonDataEditRunning(); });
    }
    void Raise_xevtUpdateCommonData() override {
        mRaiser([](EventRaiser &events) { events.Raise_xevtUpdateCommonData(); });
    }
    void Raise_xevtCommonDataEditAllowed() override {
        mRaiser([](EventRaiser &events) { events.Raise_xevtCommonDataEditAllowed(); });
    }
    std::unique_ptr<EventSubscription> Subscribe(AddInEventHandler &handler) override {
        return std::make_unique<ThreadedSubscription>(mRaiser, handler);
    }

private:
    OnBusThread<EventRaiser> mRaiser;
};

class ThreadedAddInMgr final : public AddInMgr {
public:
    explicit ThreadedAddInMgr(std::shared_ptr<BusThread> thread)
        : mManager(std::move(thread), err::AddInMgr, connectSessionAddInMgr) {}

    std::string NewAddInName(const std::string &vstrAddInType) override {
        return mManager([&](AddInMgr &manager) { return manager.NewAddInName(vstrAddInType); });
    }
    void UnRegister(const std::string &Name) override {
        mManager([&](AddInMgr &manager) { manager.UnRegister(Name); });
    }
    std::string AddInCollectionString() override {
        return mManager([](AddInMgr &manager) { return manager.AddInCollectionString(); });
    }
    std::string CommonDataEditor() override {
        return mManager([](AddInMgr &manager) { return manager.CommonDataEditor(); });
    }
    void setCommonDataEditor(const std::string &name) override {
        mManager([&](AddInMgr &manager) { manager.setCommonDataEditor(name); });
    }
    bool ClaimCommonDataEditor(const std::string &name) override {
        return mManager([&](AddInMgr &manager) { return manager.ClaimCommonDataEditor(name); });
    }
    std::int32_t LastId(const std::string &strType) override {
        return mManager([&](AddInMgr &manager) { return manager.LastId(strType); });
    }
    std::shared_ptr<kvt::EventRaiser> EventRaiser() override {
        // Made on the bus thread, where this manager's own calls run without waiting.
        return std::make_shared<ThreadedEventRaiser>(mManager.thread(), [this] {
            return mManager([](AddInMgr &manager) { return manager.EventRaiser(); });
        });
    }

private:
    OnBusThread<AddInMgr> mManager;
};

class ThreadedTraceViewer final : public TraceViewer {
public:
    explicit ThreadedTraceViewer(std::shared_ptr<BusThread> thread)
        : mViewer(std::move(thread), err::TraceViewer, openBusTraceViewer) {}

    void Title(const std::string &title) override {
        mViewer([&](TraceViewer &viewer) { viewer.Title(title); });
    }
    void Msg(std::int16_t handle, const std::string &message) override {
        mViewer([&](TraceViewer &viewer) { viewer.Msg(handle, message); });
    }
    void Error(std::int16_t handle, const std::string &message) override {
        mViewer([&](TraceViewer &viewer) { viewer.Error(handle, message); });
    }
    void Clear() override {
        mViewer([](TraceViewer &viewer) { viewer.Clear(); });
    }
    std::int16_t FctBegin(const std::string &function) override {
        return mViewer([&](TraceViewer &viewer) { return viewer.FctBegin(function); });
    }
    void FctEnd(std::int16_t handle, const std::string &endWord) override {
        mViewer([&](TraceViewer &viewer) { viewer.FctEnd(handle, endWord); });
    }

private:
    OnBusThread<TraceViewer> mViewer;
};

} // namespace

std::shared_ptr<AddInMgr> connectServedAddInMgr() {
    if (std::shared_ptr<BusThread> thread = ownBusThread())
        return std::make_shared<ThreadedAddInMgr>(std::move(thread));
    return connectSessionAddInMgr();
}

std::unique_ptr<TraceViewer> openServedTraceViewer() {
    if (std::shared_ptr<BusThread> thread = ownBusThread())
        return std::make_unique<ThreadedTraceViewer>(std::move(thread));
    return openBusTraceViewer();
}

} // namespace kvt::ipc
