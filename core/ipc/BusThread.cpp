#include "ipc/BusThread.h"

#include "ipc/Bus.h"
#include "model/Error.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEventLoop>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <string>

namespace kvt::ipc {

namespace {

struct OwnThreadMode {
    std::mutex mutex;
    std::shared_ptr<BusThread> thread;
    std::weak_ptr<void> hold;
};

OwnThreadMode &ownThreadMode() {
    static OwnThreadMode mode;
    return mode;
}

// What serveOnOwnThread returns: the thread ends when the host lets go of it.
class BusThreadHold {
public:
    explicit BusThreadHold(std::shared_ptr<BusThread> thread)
        : mThread(std::move(thread)) {}
    ~BusThreadHold() { mThread->stop(); }
    BusThreadHold(const BusThreadHold &) = delete;
    BusThreadHold &operator=(const BusThreadHold &) = delete;

private:
    std::shared_ptr<BusThread> mThread;
};

// Qt has one application object per process: the first bus thread makes it and a later one uses
// it. One that Qt made elsewhere means that the host's own thread has served the bus, whose
// objects live there.
void requireApplication() {
    static bool madeByBusThread = false;
    if (!madeByBusThread && QCoreApplication::instance())
        throw Error(err::AddInMgr, "The bus is already served on another thread of this process");
    // Qt's application applies the environment's locale to the whole process; the host chose
    // the one the library's number formats follow, so it is put back.
    const std::string hostLocale = std::setlocale(LC_ALL, nullptr);
    ensureApplication();
    std::setlocale(LC_ALL, hostLocale.c_str());
    madeByBusThread = true;
}

// A host that keeps the thread until the process ends would end it after Qt's bus has gone.
// Registered once Qt's bus exists, this hook runs before Qt's own end, and ends the thread.
void endBeforeQtAtExit() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        std::atexit([] {
            if (const std::shared_ptr<BusThread> thread = ownBusThread())
                thread->stop();
        });
    });
}

} // namespace

BusThread::BusThread(HostPoster post)
    : mPost(std::move(post)) {
    std::promise<void> started;
    std::future<void> served = started.get_future();
    mThread = std::thread([this, &started] { serve(started); });
    try {
        served.get();
    } catch (...) {
        mThread.join();
        throw;
    }
}

void BusThread::serve(std::promise<void> &started) {
    mId = std::this_thread::get_id();
    try {
        requireApplication();
        QDBusConnection::sessionBus(); // Qt's bus, made before the exit hook
        endBeforeQtAtExit();
    } catch (...) {
        started.set_exception(std::current_exception());
        return;
    }
    QEventLoop loop;
    {
        const std::lock_guard lock(mMutex);
        mLoop = &loop;
    }
    started.set_value();
    loop.exec();
    // The newest first: a subscription ends before the connection it came from.
    while (!mKept.empty())
        mKept.pop_back();
}

void BusThread::dispatch(std::int32_t errNumber, std::function<void()> task) {
    // Posted under the lock: a task is either refused or runs before the loop's quit.
    const std::lock_guard lock(mMutex);
    if (!mLoop)
        throw Error(errNumber, "The bus is no longer served: the thread that served it has ended");
    QMetaObject::invokeMethod(mLoop, std::move(task), Qt::QueuedConnection);
}

void BusThread::release(const void *object) noexcept {
    try {
        run(err::AddInMgr, [&] {
            std::erase_if(mKept,
                          [&](const std::shared_ptr<void> &kept) { return kept.get() == object; });
        });
    } catch (const Error &) {
        // The thread has ended, and ended what it kept.
    }
}

void BusThread::stop() noexcept {
    {
        const std::lock_guard lock(mMutex);
        if (QEventLoop *loop = std::exchange(mLoop, nullptr))
            QMetaObject::invokeMethod(
                loop, [loop] { loop->quit(); }, Qt::QueuedConnection);
    }
    const std::lock_guard lock(mJoinMutex);
    if (!mThread.joinable())
        return;
    // Ended from one of its own tasks, it cannot wait for itself.
    if (std::this_thread::get_id() == mId)
        mThread.detach();
    else
        mThread.join();
}

std::shared_ptr<BusThread> ownBusThread() {
    OwnThreadMode &mode = ownThreadMode();
    const std::lock_guard lock(mode.mutex);
    return mode.thread;
}

std::shared_ptr<void> serveOnOwnThread(HostPoster post) {
    if (!post)
        throw Error(err::AddInMgr, "The bus thread needs a way to post to the host's thread");
    OwnThreadMode &mode = ownThreadMode();
    const std::lock_guard lock(mode.mutex);
    if (std::shared_ptr<void> hold = mode.hold.lock())
        return hold;
    // A hold let go of a moment ago may still be ending its thread: one thread serves at a time.
    if (mode.thread)
        mode.thread->stop();
    mode.thread = std::make_shared<BusThread>(std::move(post));
    auto hold = std::make_shared<BusThreadHold>(mode.thread);
    mode.hold = hold;
    return hold;
}

} // namespace kvt::ipc
