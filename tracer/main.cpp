#include "TraceService.h"

#include <QApplication>
#include <QDBusConnection>
#include <QTimer>

namespace {

// Started by the bus for a client whose call then never came: do not linger.
constexpr int kIdleExitMs = 30'000;

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // The program ends with its objects, not with its windows: a window the user closed may
    // still receive its client's reports.
    QApplication::setQuitOnLastWindowClosed(false);

    kvt::tracer::TraceService service(QDBusConnection::sessionBus(), kvt::tracer::qtTraceDialogs());
    if (!service.start())
        return 1;
    QObject::connect(&service, &kvt::tracer::TraceService::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    QTimer::singleShot(kIdleExitMs, &service, [&service] {
        if (service.objects().empty())
            QApplication::quit();
    });
    return QApplication::exec();
}
