// The add-in manager's round trips, on the session bus (scripts/bench-addinmgr.sh gives it a
// private one whose programs are the build tree's).
#include "AddInMgrProxy.h"
#include "EventRaiserProxy.h"
#include "EventSinkObject.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QSemaphore>
#include <QThread>
#include <atomic>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

const QString kService = QStringLiteral("org.talvio.TlvAddInMgr");

// A subscriber served on a thread and a connection of its own, as another add-in would be.
class SinkThread : public QThread {
public:
    SinkThread(int index, QSemaphore &ready)
        : mName(QStringLiteral("bench-sink-%1").arg(index))
        , mReady(ready) {}

    long long received() const { return mReceived.load(); }

protected:
    void run() override {
        {
            QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, mName);
            addinmgr::EventSinkObject sink([this](int) { ++mReceived; });
            bus.registerObject(QStringLiteral("/Sink"), &sink, QDBusConnection::ExportAdaptors);
            EventRaiserProxy raiser(kService, QStringLiteral("/EventRaiser"), bus);
            raiser.call(QStringLiteral("Subscribe"),
                        QVariant::fromValue(QDBusObjectPath(QStringLiteral("/Sink"))));
            mReady.release();
            exec();
            bus.unregisterObject(QStringLiteral("/Sink"));
        }
        QDBusConnection::disconnectFromBus(mName);
    }

private:
    QString mName;
    QSemaphore &mReady;
    std::atomic<long long> mReceived{0};
};

// The floor of any round trip to the manager: the bus's peer interface, which the manager's bus
// library answers itself on its connection thread, without dispatching the call to the program.
void BM_PeerPing(benchmark::State &state) {
    const QDBusMessage ping = QDBusMessage::createMethodCall(
        kService, QStringLiteral("/"), QStringLiteral("org.freedesktop.DBus.Peer"),
        QStringLiteral("Ping"));
    QDBusConnection bus = QDBusConnection::sessionBus();
    for (auto _ : state) {
        const QDBusMessage reply = bus.call(ping);
        if (reply.type() != QDBusMessage::ReplyMessage)
            state.SkipWithError(qPrintable(reply.errorMessage()));
    }
}
BENCHMARK(BM_PeerPing)->Unit(benchmark::kMicrosecond);

void BM_NewAddInName(benchmark::State &state) {
    AddInMgrProxy manager(kService, QStringLiteral("/AddInMgr"), QDBusConnection::sessionBus());
    for (auto _ : state) {
        const QDBusMessage reply =
            manager.call(QStringLiteral("NewAddInName"), QStringLiteral("Bench"));
        if (reply.type() != QDBusMessage::ReplyMessage)
            state.SkipWithError(qPrintable(reply.errorMessage()));
    }
}
BENCHMARK(BM_NewAddInName)->Unit(benchmark::kMicrosecond);

void BM_RaiseToSubscribers(benchmark::State &state) {
    const int count = static_cast<int>(state.range(0));
    QSemaphore ready;
    std::vector<std::unique_ptr<SinkThread>> sinks;
    for (int i = 0; i < count; ++i) {
        sinks.push_back(std::make_unique<SinkThread>(i, ready));
        sinks.back()->start();
    }
    ready.acquire(count);
    EventRaiserProxy raiser(kService, QStringLiteral("/EventRaiser"),
                            QDBusConnection::sessionBus());
    long long raised = 0;
    for (auto _ : state) {
        const QDBusMessage reply = raiser.call(QStringLiteral("Raise_xevtUpdateCommonData"));
        if (reply.type() != QDBusMessage::ReplyMessage)
            state.SkipWithError(qPrintable(reply.errorMessage()));
        ++raised;
    }
    for (auto &sink : sinks) {
        if (sink->received() != raised)
            state.SkipWithError("a subscriber missed an event");
        sink->quit();
        sink->wait();
    }
}
BENCHMARK(BM_RaiseToSubscribers)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
