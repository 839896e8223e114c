// Tracing switched on in the stored settings: the host's library opens a window of the trace
// viewer program, which the private bus starts, and reports to it.
#include "HostProcess.h"
#include "support/ChildProcess.h"
#include "tracer/ViewerBus.h"

#include <QDBusInterface>
#include <QDomDocument>
#include <gtest/gtest.h>

namespace talvio::test {
namespace {

using kvt::test::ChildProcess;
using kvt::test::ViewerBus;

// The windows the viewer holds, as its object tree lists them.
QStringList viewerWindows(ViewerBus &viewer) {
    const QDBusMessage reply =
        viewer.call(QStringLiteral("/MainDebug"),
                    QStringLiteral("org.freedesktop.DBus.Introspectable"), "Introspect");
    QDomDocument document;
    if (reply.arguments().isEmpty() || !document.setContent(reply.arguments().front().toString()))
        return {};
    QStringList paths;
    const QDomNodeList nodes = document.documentElement().elementsByTagName(QStringLiteral("node"));
    for (int i = 0; i < nodes.size(); ++i)
        paths << QStringLiteral("/MainDebug/") + nodes.at(i).toElement().attribute("name");
    return paths;
}

struct TracedRun {
    const char *name;
    const char *debugChange; // nullptr: not stored
    QString title;
    QString text; // after "Temps mis" figures are masked
};

TEST(HostTracing, theHostsReportsReachTheViewerWhileTracingIsOn) {
    const std::vector<TracedRun> table = {
        // Switched off again by the engine's own switch: the function stays open, and the
        // engine's title is not reported any more.
        {"main only", nullptr, "Main", "FCT Initialisation\n"},
        {"main and engine", "on", "Change",
         "FCT Initialisation\n"
         "  FCT Class_initialize CPExcel\n"
         "    CLOCK Temps mis # ms\n"
         "  CLOCK Temps mis # ms\n"
         "FCT Taux de Change de USD EUR\n"
         "  INFO Taux = 0\n"
         "  CLOCK Temps mis # ms\n"},
    };
    for (const TracedRun &row : table) {
        SCOPED_TRACE(row.name);
        const HostFixture host;
        ASSERT_EQ(host.run({"settings", "set", "ENGINE", "DEBUGMAIN", "ON"}).status, 0);
        if (row.debugChange) {
            ASSERT_EQ(
                host.run({"settings", "set", "ENGINE", "DEBUGCHANGE", row.debugChange}).status, 0);
        }
        ChildProcess addIn(TALVIO_BINARY, {"--settings", host.settingsPath(), "--messages",
                                           TALVIO_TEST_MESSAGE_FILE, "addin"});
        ASSERT_TRUE(addIn.waitFor("name Talvio "));
        addIn.writeLine("rate USD EUR");
        ASSERT_TRUE(addIn.waitFor("rate "));

        ViewerBus viewer;
        const QStringList windows = viewerWindows(viewer);
        ASSERT_EQ(windows.size(), 1) << windows.join(' ').toStdString();
        QDBusInterface window(kvt::test::kViewerName, windows.front(),
                              QStringLiteral("org.talvio.MainDebug"), viewer.bus());
        EXPECT_EQ(window.property("WindowTitle").toString(), row.title);
        EXPECT_EQ(kvt::test::withoutTimes(viewer.text(windows.front())).toStdString(),
                  row.text.toStdString());

        addIn.closeInput();
        EXPECT_EQ(addIn.wait(), 0);
        EXPECT_TRUE(viewer.viewerEnds()) << "the viewer ends with its last window's client";
    }
}

} // namespace
} // namespace talvio::test

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
