#include "BusTestSupport.h"

#include "ipc/ServedWait.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QTimer>

namespace addinmgr::test {

bool waitFor(const std::function<bool()> &condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    // Sleeps until something happens, and looks again at least this often.
    QTimer lookAgain;
    lookAgain.start(5);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool managerRunning() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(kService).value();
}

bool waitForManagerGone(int timeoutMs) {
    return waitFor([] { return !managerRunning(); }, timeoutMs);
}

Client::Client(const QString &name)
    : mName(name)
    , mBus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name))
    , mManager(std::make_unique<AddInMgrProxy>(kService, QStringLiteral("/AddInMgr"), mBus))
    , mRaiser(std::make_unique<EventRaiserProxy>(kService, QStringLiteral("/EventRaiser"), mBus)) {}

Client::~Client() {
    disconnect();
}

QDBusPendingCall Client::callAsync(const QString &method, const QVariantList &arguments) {
    QDBusAbstractInterface &target = method.startsWith(QLatin1String("Raise_"))
                                             || method.endsWith(QLatin1String("subscribe"))
                                             || method == QLatin1String("Subscribe")
                                         ? static_cast<QDBusAbstractInterface &>(*mRaiser)
                                         : static_cast<QDBusAbstractInterface &>(*mManager);
    return target.asyncCallWithArgumentList(method, arguments);
}

QDBusMessage Client::call(const QString &method, const QVariantList &arguments) {
    return kvt::ipc::waitServing(callAsync(method, arguments));
}

QDBusPendingCall Client::raiseAsync(int eventId) {
    static const char *const names[] = {"Raise_xevtCommonDataEditRunning",
                                        "Raise_xevtUpdateCommonData",
                                        "Raise_xevtCommonDataEditAllowed"};
    return callAsync(QString::fromLatin1(names[eventId - 1]));
}

void Client::setTimeout(int timeoutMs) {
    mManager->setTimeout(timeoutMs);
    mRaiser->setTimeout(timeoutMs);
}

QDBusMessage Client::raise(int eventId) {
    return kvt::ipc::waitServing(raiseAsync(eventId));
}

void Client::subscribe(const QString &path, std::function<void(int)> onEvent) {
    auto sink = std::make_unique<EventSinkObject>([this, onEvent](int id) {
        mEvents.push_back(id);
        if (onEvent)
            onEvent(id);
    });
    mBus.registerObject(path, sink.get(), QDBusConnection::ExportAdaptors);
    mSinks.push_back(std::move(sink));
    call(QStringLiteral("Subscribe"), {QVariant::fromValue(QDBusObjectPath(path))});
}

void Client::disconnect() {
    if (mName.isEmpty())
        return;
    // The connection closes with its last reference: the proxies' and this object's own.
    mManager.reset();
    mRaiser.reset();
    mBus = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(mName);
    mName.clear();
}

SinkProcess::SinkProcess(const QStringList &arguments) {
    QObject::connect(&mProcess, &QProcess::readyReadStandardOutput, [this] { readLines(); });
    mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    mProcess.start(QStringLiteral(TALVIO_TEST_SINK), arguments);
}

SinkProcess::~SinkProcess() {
    kill();
}

void SinkProcess::kill() {
    if (mProcess.state() == QProcess::NotRunning)
        return;
    mProcess.kill();
    mProcess.waitForFinished(5000);
}

void SinkProcess::readLines() {
    mPartial += QString::fromUtf8(mProcess.readAllStandardOutput());
    qsizetype end;
    while ((end = mPartial.indexOf(u'\n')) >= 0) {
        mLines.append(mPartial.left(end));
        mPartial.remove(0, end + 1);
    }
}

bool SinkProcess::waitForLine(const QString &text, int timeoutMs) {
    return waitFor(
        [&] {
            readLines();
            return mLines.contains(text);
        },
        timeoutMs);
}

QStringList SinkProcess::lines() {
    readLines();
    return mLines;
}

std::vector<int> SinkProcess::events() {
    std::vector<int> ids;
    for (const QString &line : lines()) {
        if (line.startsWith(QLatin1String("event ")))
            ids.push_back(line.section(u' ', 1, 1).toInt());
    }
    return ids;
}

} // namespace addinmgr::test
