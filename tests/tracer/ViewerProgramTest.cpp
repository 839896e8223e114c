#include "ViewerBus.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QFile>
#include <QProcess>
#include <functional>

namespace kvt::test {
namespace {

testing::Environment *const application = testing::AddGlobalTestEnvironment(new CoreApplication);

// Gone, or a zombie that nobody reaps yet.
bool processEnded(uint pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
}

QVariant handle(int value) {
    return QVariant::fromValue(static_cast<short>(value));
}

TEST(ViewerProgram, createStartsTheProgramAndGivesEachCallAWindowOfItsOwn) {
    ViewerBus viewer;
    const QString first = viewer.create();
    const QString second = viewer.create();
    ASSERT_TRUE(first.startsWith("/MainDebug/")) << first.toStdString();
    ASSERT_TRUE(second.startsWith("/MainDebug/")) << second.toStdString();
    EXPECT_NE(first, second);
    EXPECT_TRUE(viewer.viewerRuns());

    const QDBusMessage introspection =
        viewer.call("/MainDebug", "org.freedesktop.DBus.Introspectable", "Introspect");
    const QString xml = introspection.arguments().value(0).toString();
    for (const QString &path : {first, second})
        EXPECT_TRUE(xml.contains("<node name=\"" + path.section('/', -1) + "\"/>"))
            << xml.toStdString();

    viewer.window(first, "FctBegin", {"only in the first"});
    EXPECT_EQ(viewer.text(first), "FCT only in the first\n");
    EXPECT_EQ(viewer.text(second), "");
    viewer.window(first, "Release");
    viewer.window(second, "Release");
}

TEST(ViewerProgram, reportsAppearInTheirOrder) {
    ViewerBus viewer;
    const QString path = viewer.create();
    ASSERT_FALSE(path.isEmpty());
    viewer.window(path, "Title", {"Main"});
    EXPECT_EQ(viewer.window(path, "FctBegin", {"Initialisation"}).arguments().value(0), handle(0));
    EXPECT_EQ(viewer.window(path, "FctBegin", {"ShowCP"}).arguments().value(0), handle(1));
    viewer.window(path, "Msg", {handle(1), "hello"});
    viewer.window(path, "Error", {handle(1), "oops"});
    viewer.window(path, "FctEnd", {handle(1), "Taux = 2"});
    viewer.window(path, "Msg", {handle(0), "back"});
    EXPECT_EQ(withoutTimes(viewer.text(path)),
              "FCT Initialisation\n  FCT ShowCP\n    INFO hello\n    ERROR oops\n"
              "    INFO Taux = 2\n    CLOCK Temps mis # ms\n  INFO back\n");
    viewer.window(path, "Release");
}

TEST(ViewerProgram, oddReportsNeverFail) {
    struct Row {
        const char *method;
        QVariantList arguments;
    };
    const QString longest(64 * 1024, 'x');
    const Row rows[] = {
        {"Msg", {handle(-1), "below"}},
        {"Msg", {handle(32767), "far above"}},
        {"Error", {handle(-32768), "far below"}},
        {"FctEnd", {handle(0), ""}},
        {"FctBegin", {""}},
        {"FctBegin", {longest}},
        {"FctEnd", {handle(500), "stale"}},
        {"FctBegin", {"open"}},
        {"Clear", {}},
        {"Msg", {handle(0), "after Clear"}},
        {"FctEnd", {handle(-3), ""}},
        {"Title", {QString(3, QChar(0x20AC))}},
    };
    ViewerBus viewer;
    const QString path = viewer.create();
    ASSERT_FALSE(path.isEmpty());
    for (const Row &row : rows) {
        const QDBusMessage reply = viewer.window(path, row.method, row.arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
            << row.method << ' ' << reply.errorMessage().toStdString();
    }
    EXPECT_EQ(viewer.text(path), "");
    viewer.window(path, "Release");
}

TEST(ViewerProgram, refusesLinesAndTitlesOver64KiBStatingTheLimit) {
    const QString longest(64 * 1024, 'x');
    const QString tooLong = longest + QChar(0x20AC);
    struct Row {
        const char *method;
        QVariantList arguments;
        bool accepted;
    };
    const Row rows[] = {
        {"FctBegin", {"f"}, true},
        {"Msg", {handle(0), longest}, true},
        {"Msg", {handle(0), tooLong}, false},
        {"Error", {handle(0), tooLong}, false},
        {"FctBegin", {tooLong}, false},
        {"FctEnd", {handle(0), tooLong}, false},
        {"Title", {tooLong}, false},
    };
    ViewerBus viewer;
    const QString path = viewer.create();
    ASSERT_FALSE(path.isEmpty());
    for (const Row &row : rows) {
        const QDBusMessage reply = viewer.window(path, row.method, row.arguments);
        if (row.accepted) {
            EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << row.method;
            continue;
        }
        EXPECT_EQ(reply.errorName(), "org.talvio.Error.LimitExceeded") << row.method;
        EXPECT_TRUE(reply.errorMessage().endsWith("at most 65536 bytes; this one has 65539"))
            << row.method << ": " << reply.errorMessage().toStdString();
    }
    // The refused reports changed nothing: the function is still open, with its one message.
    const QString text = viewer.text(path);
    EXPECT_TRUE(text == "FCT f\n  INFO " + longest + "\n") << text.left(80).toStdString();
    EXPECT_EQ(viewer.window(path, "FctEnd", {handle(0), ""}).type(), QDBusMessage::ReplyMessage);
    viewer.window(path, "Release");
}

TEST(ViewerProgram, refusesAClientsHundredAndFirstWindow) {
    ViewerBus viewer;
    QStringList paths;
    for (int i = 0; i < 100; ++i)
        paths << viewer.create();
    EXPECT_EQ(paths.filter("/MainDebug/").size(), 100);
    const QDBusMessage refused = viewer.call("/MainDebug", "org.talvio.KVTDebug", "Create");
    EXPECT_EQ(refused.errorName(), "org.talvio.Error.LimitExceeded");
    EXPECT_TRUE(refused.errorMessage().contains(" 100 ")) << refused.errorMessage().toStdString();
    {
        ViewerBus other(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "other"));
        EXPECT_FALSE(other.create().isEmpty());
    }
    QDBusConnection::disconnectFromBus("other");
    viewer.window(paths.front(), "Release");
    EXPECT_FALSE(viewer.create().isEmpty()) << "a released window makes room";
}

TEST(ViewerProgram, onlyTheCreatingConnectionWritesToOrReleasesAWindow) {
    ViewerBus owner;
    const QString path = owner.create();
    ASSERT_FALSE(path.isEmpty());
    owner.window(path, "Title", {"Main"});
    owner.window(path, "FctBegin", {"f"});
    struct Row {
        const char *method;
        QVariantList arguments;
    };
    const Row rows[] = {
        {"Title", {"taken"}}, {"Msg", {handle(0), "m"}},      {"Error", {handle(0), "e"}},
        {"FctBegin", {"g"}},  {"FctEnd", {handle(0), "end"}}, {"Clear", {}},
        {"Release", {}},
    };
    {
        ViewerBus stranger(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "stranger"));
        for (const Row &row : rows) {
            const QDBusMessage reply = stranger.window(path, row.method, row.arguments);
            EXPECT_EQ(reply.errorName(), "org.freedesktop.DBus.Error.AccessDenied") << row.method;
        }
        // Whoever watches the trace may read it.
        EXPECT_EQ(stranger.text(path), "FCT f\n");
    }
    QDBusConnection::disconnectFromBus("stranger");
    EXPECT_EQ(owner.text(path), "FCT f\n");
    QDBusInterface window(kViewerName, path, "org.talvio.MainDebug", owner.bus());
    EXPECT_EQ(window.property("WindowTitle").toString(), "Main");
    EXPECT_EQ(owner.window(path, "Msg", {handle(0), "mine"}).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(owner.text(path), "FCT f\n  INFO mine\n");
    owner.window(path, "Release");
}

TEST(ViewerProgram, releasingTheLastWindowEndsTheProgram) {
    ViewerBus viewer;
    const QString first = viewer.create();
    const QString second = viewer.create();
    viewer.window(first, "Release");
    EXPECT_TRUE(viewer.viewerRuns());
    EXPECT_EQ(viewer.window(first, "Text").type(), QDBusMessage::ErrorMessage);
    viewer.window(second, "Release");
    EXPECT_TRUE(viewer.viewerEnds());
}

TEST(ViewerProgram, aClientLeavingTheBusReleasesItsWindowsOnly) {
    ViewerBus viewer;
    const QString kept = viewer.create();
    {
        ViewerBus leaving(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "leaving"));
        ASSERT_FALSE(leaving.create().isEmpty());
        ASSERT_FALSE(leaving.create().isEmpty());
    }
    QDBusConnection::disconnectFromBus("leaving");
    QTest::qWait(200);
    EXPECT_TRUE(viewer.viewerRuns());
    EXPECT_EQ(viewer.window(kept, "Text").type(), QDBusMessage::ReplyMessage);

    {
        ViewerBus last(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "last"));
        ASSERT_FALSE(last.create().isEmpty());
        viewer.window(kept, "Release");
        QTest::qWait(2 * 200);
        EXPECT_TRUE(last.viewerRuns());
    }
    QDBusConnection::disconnectFromBus("last"); // without Release
    EXPECT_TRUE(viewer.viewerEnds());
}

TEST(ViewerProgram, aSecondProgramLeavesTheNameToTheFirst) {
    ViewerBus viewer;
    const QString path = viewer.create();
    ASSERT_FALSE(path.isEmpty());
    QProcess second;
    second.start(QStringLiteral(KVTDEBUG_BINARY), {});
    ASSERT_TRUE(second.waitForFinished(20'000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.readAllStandardError().contains("already owned"));
    EXPECT_EQ(viewer.window(path, "Text").type(), QDBusMessage::ReplyMessage);
    viewer.window(path, "Release");
}

TEST(ViewerProgram, theProgramEndsWithItsBus) {
    // A bus of its own, so that this one can be closed under the program.
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--config-file=" TALVIO_TEST_BUS_CONFIG),
                  QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon.waitForReadyRead(10'000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    QDBusConnection bus = QDBusConnection::connectToBus(address, "own bus");
    {
        ViewerBus viewer(bus);
        ASSERT_FALSE(viewer.create().isEmpty());
        // The bus started the program, so it is not our child: watch it by its process id.
        const QDBusReply<uint> pid = bus.interface()->servicePid(kViewerName);
        ASSERT_TRUE(pid.isValid());
        daemon.terminate();
        ASSERT_TRUE(daemon.waitForFinished(10'000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return processEnded(pid.value()); }, 10'000));
    }
    QDBusConnection::disconnectFromBus("own bus");
}

} // namespace
} // namespace kvt::test
