// The viewer under what any client on the bus can do to it. Short by default; at the full
// figures with TALVIO_STRESS_FULL=1, when each test prints what it measured.
#include "ViewerBus.h"

#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace kvt::test {
namespace {

testing::Environment *const application = testing::AddGlobalTestEnvironment(new CoreApplication);

int bySize(int shortRun, int fullRun) {
    return qEnvironmentVariable("TALVIO_STRESS_FULL") == QLatin1String("1") ? fullRun : shortRun;
}

// Sends the calls at most 100 at a time, waiting for their answers; true when each succeeded.
bool sendAll(QDBusConnection &bus, const std::vector<QDBusMessage> &calls) {
    constexpr std::size_t kInFlight = 100;
    bool succeeded = true;
    for (std::size_t first = 0; first < calls.size(); first += kInFlight) {
        std::vector<QDBusPendingCall> pending;
        for (std::size_t i = first; i < std::min(first + kInFlight, calls.size()); ++i)
            pending.push_back(bus.asyncCall(calls[i], 60'000));
        for (QDBusPendingCall &call : pending) {
            call.waitForFinished();
            succeeded = succeeded && !call.isError();
        }
    }
    return succeeded;
}

QDBusMessage windowCall(const QString &path, const char *method, const QVariantList &arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kViewerName, path, QStringLiteral("org.talvio.MainDebug"), QString::fromLatin1(method));
    call.setArguments(arguments);
    return call;
}

TEST(ViewerStress, keepsTheTextUnderTheMessageLimit) {
    const int nested = bySize(2'000, 20'000);
    constexpr int kLongLines = 140; // of 64 KiB: 9 MB of text
    ViewerBus viewer;
    const QString path = viewer.create();
    ASSERT_FALSE(path.isEmpty());
    std::vector<QDBusMessage> calls;
    for (int i = 0; i < nested; ++i)
        calls.push_back(windowCall(path, "FctBegin", {QStringLiteral("level %1").arg(i)}));
    const QString longest(64 * 1024, u'x');
    // Under the deepest function: closing 999 levels is another matter.
    const short deepest = static_cast<short>(std::min(nested - 1, 999));
    for (int i = 0; i < kLongLines; ++i)
        calls.push_back(windowCall(path, "Msg", {QVariant::fromValue(deepest), longest}));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(sendAll(viewer.bus(), calls));

    const QDBusMessage reply = viewer.window(path, "Text");
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    const qint64 elapsed = clock.elapsed();
    const QString text = reply.arguments().value(0).toString();
    const qsizetype bytes = text.toUtf8().size();
    EXPECT_LE(bytes, 8 * 1024 * 1024);
    static const QRegularExpression marker(
        QStringLiteral("\\n\\[(\\d+) more lines not shown\\]\\n$"));
    const QRegularExpressionMatch cut = marker.match(text);
    ASSERT_TRUE(cut.hasMatch()) << text.right(80).toStdString();
    // One line per report.
    const int lines = static_cast<int>(text.count(u'\n'));
    EXPECT_EQ(lines - 1 + cut.captured(1).toInt(), nested + kLongLines);
    EXPECT_TRUE(viewer.viewerRuns());
    viewer.window(path, "Release");
    std::printf("%d nested lines and %d of 64 KiB: Text of %lld bytes after %lld ms\n", nested,
                kLongLines, static_cast<long long>(bytes), static_cast<long long>(elapsed));
}

TEST(ViewerStress, limitsTheWindowsOfEachClientAndOfAll) {
    const int clients = bySize(2, 10);
    std::vector<std::unique_ptr<ViewerBus>> buses;
    int created = 0;
    QElapsedTimer clock;
    clock.start();
    for (int c = 0; c < clients; ++c) {
        const QString name = QStringLiteral("client%1").arg(c);
        buses.push_back(std::make_unique<ViewerBus>(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, name)));
        for (int i = 0; i < 100; ++i)
            created += buses.back()->create().isEmpty() ? 0 : 1;
        const QDBusMessage refused = buses.back()->call(
            QStringLiteral("/MainDebug"), QStringLiteral("org.talvio.KVTDebug"), "Create");
        EXPECT_EQ(refused.errorName(), "org.talvio.Error.LimitExceeded") << c;
    }
    EXPECT_EQ(created, 100 * clients);
    ViewerBus late(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "late"));
    const QDBusMessage last =
        late.call(QStringLiteral("/MainDebug"), QStringLiteral("org.talvio.KVTDebug"), "Create");
    if (created < 1000) {
        EXPECT_EQ(last.type(), QDBusMessage::ReplyMessage);
    } else {
        EXPECT_EQ(last.errorName(), "org.talvio.Error.LimitExceeded");
        EXPECT_TRUE(last.errorMessage().contains(" 1000 ")) << last.errorMessage().toStdString();
    }
    EXPECT_TRUE(late.viewerRuns());
    std::printf("%d windows from %d clients in %lld ms\n", created, clients,
                static_cast<long long>(clock.elapsed()));
    buses.clear();
    for (int c = 0; c < clients; ++c)
        QDBusConnection::disconnectFromBus(QStringLiteral("client%1").arg(c));
}

} // namespace
} // namespace kvt::test
