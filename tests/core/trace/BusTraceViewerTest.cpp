#include "model/Error.h"
#include "support/ErrorMatchers.h"
#include "support/RecordingViewer.h"
#include "trace/KVTBug.h"
#include "tracer/ViewerBus.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

testing::Environment *const application =
    testing::AddGlobalTestEnvironment(new test::CoreApplication);

// The one window the viewer program holds, found as any client would: by introspection.
QString onlyWindow(test::ViewerBus &viewer) {
    const QString xml =
        viewer.call("/MainDebug", "org.freedesktop.DBus.Introspectable", "Introspect")
            .arguments()
            .value(0)
            .toString();
    const QRegularExpressionMatch node =
        QRegularExpression(QStringLiteral("<node name=\"([0-9]+)\"/>")).match(xml);
    return node.hasMatch() ? "/MainDebug/" + node.captured(1) : QString();
}

TEST(BusTraceViewer, theLibraryTracesIntoARealViewerWindow) {
    test::ViewerBus viewer;
    {
        KVTBug trace;
        trace.setActive(true);
        trace.setModule("Main");
        const std::int16_t outer = trace.BeginFct("Initialisation");
        const std::int16_t inner = trace.beginWith([] { return std::string("ShowCP"); });
        EXPECT_EQ(outer, 0);
        EXPECT_EQ(inner, 1);
        trace.Msg(inner, "hello");
        trace.Msg(inner, std::string(100'000, 'x')); // longer than the viewer takes: cut
        trace.Error(inner, "oops");
        trace.EndFct(inner);
        trace.endWith(outer, [] { return std::string("Taux = 2"); });
        trace.BeginFct("left open");
        trace.Msg(0, "closes it");

        const QString window = onlyWindow(viewer);
        ASSERT_FALSE(window.isEmpty());
        EXPECT_EQ(test::withoutTimes(viewer.text(window)),
                  "FCT Initialisation\n  FCT ShowCP\n    INFO hello\n    INFO "
                      + QString(65'530, 'x')
                      + " [...]\n    ERROR oops\n"
                        "    CLOCK Temps mis # ms\n  INFO Taux = 2\n  CLOCK Temps mis # ms\n"
                        "FCT left open\n  INFO closes it\n");
        trace.Clear();
        EXPECT_EQ(viewer.text(window), "");
    }
    // The client's end releases its window, and the program ends with it.
    EXPECT_TRUE(viewer.viewerEnds());
}

TEST(BusTraceViewer, aProgramsOwnViewerComesBeforeTheBus) {
    test::RecordingViewers viewers;
    viewers.install();
    {
        KVTBug trace;
        trace.setActive(true);
        trace.BeginFct("recorded");
    }
    setTraceViewerFactory(nullptr);
    EXPECT_EQ(*viewers.opened, 1);
    test::ViewerBus viewer;
    EXPECT_FALSE(viewer.viewerRuns());
}

TEST(BusTraceViewer, aReportToAWindowThatIsGoneFailsNamingTheViewer) {
    test::ViewerBus viewer;
    KVTBug trace;
    trace.setActive(true);
    trace.BeginFct("first");
    viewer.window(onlyWindow(viewer), "Release");
    EXPECT_THAT([&] { trace.Msg(0, "lost"); }, test::ThrowsError(err::TraceViewer, {"KVTDebug"}));
}

} // namespace
} // namespace kvt
