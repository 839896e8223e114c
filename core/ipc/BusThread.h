#pragma once

#include "facade/Modules.h"

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

class QEventLoop;

namespace kvt::ipc {

// The thread that serves the bus for a host that runs no Qt event loop. The first one makes Qt's
// application object; the bus clients' objects and the exported event sinks live on it, the
// host's calls run on it while the host waits, and the events it receives go to the host's
// thread through the host's poster.
class BusThread {
public:
    // Returns once the thread serves; a failure to start is thrown here.
    explicit BusThread(HostPoster post);
    ~BusThread() { stop(); }
    BusThread(const BusThread &) = delete;
    BusThread &operator=(const BusThread &) = delete;

    // Runs work on this thread and waits for it: gives its result, or throws what it threw.
    // Once the thread has ended, throws kvt::Error(errNumber) instead.
    template<class Work>
    std::invoke_result_t<Work &> run(std::int32_t errNumber, Work &&work) {
        if (std::this_thread::get_id() == mId)
            return work();
        std::packaged_task<std::invoke_result_t<Work &>()> task([&work] { return work(); });
        auto result = task.get_future();
        dispatch(errNumber, [&task] { task(); });
        return result.get();
    }

    // On this thread: keeps object here until released, or until the thread ends.
    template<class T>
    T *keep(std::shared_ptr<T> object) {
        T *kept = object.get();
        mKept.push_back(std::move(object));
        return kept;
    }
    // From any thread: ends a kept object on this thread; nothing when the thread has ended,
    // which ended it.
    void release(const void *object) noexcept;

    // On this thread: hands a task to the host's thread.
    void post(std::function<void()> task) const { mPost(std::move(task)); }

    // Quits the thread's event loop, ends what it keeps there, and joins it; once.
    void stop() noexcept;

private:
    void serve(std::promise<void> &started);
    void dispatch(std::int32_t errNumber, std::function<void()> task);

    const HostPoster mPost;
    std::mutex mMutex;
    QEventLoop *mLoop = nullptr;              // while the thread serves; under mMutex
    std::vector<std::shared_ptr<void>> mKept; // used on this thread only
    std::thread::id mId;
    std::mutex mJoinMutex;
    std::thread mThread;
};

// The thread of the latest serveOnOwnThread, even once ended; null before the first.
std::shared_ptr<BusThread> ownBusThread();

// The bus module's serveBusOnOwnThread.
std::shared_ptr<void> serveOnOwnThread(HostPoster post);

} // namespace kvt::ipc
