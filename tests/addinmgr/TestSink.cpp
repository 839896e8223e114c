// talvio-test-sink: a client of the add-in manager in a process of its own. It subscribes a
// sink, prints "ready", then one line per event it receives ("event <id>", with
// " editor <name>" under --read-editor), flushed at once. Options make it misbehave:
//   --claim NAME        claim the editor role first (prints "claimed 1" or "claimed 0")
//   --set-editor NAME   write CommonDataEditor first
//   --read-editor       read CommonDataEditor inside each event handler
//   --raise-on N:M      on the first event N, raise event M from inside the handler
//   --stuck             after "ready", stop serving the bus for good
//   --exit              exit right after "ready"
#include "AddInMgrProxy.h"
#include "EventRaiserProxy.h"
#include "EventSinkObject.h"
#include "ipc/ServedWait.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr auto kService = "org.talvio.TlvAddInMgr";
constexpr auto kSinkPath = "/Sink";

QString raiseMethod(int id) {
    static const char *const names[] = {"Raise_xevtCommonDataEditRunning",
                                        "Raise_xevtUpdateCommonData",
                                        "Raise_xevtCommonDataEditAllowed"};
    return QString::fromLatin1(names[id - 1]);
}

void say(const QString &line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QString argumentAfter(const QStringList &arguments, const QString &option) {
    const auto at = arguments.indexOf(option);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QDBusConnection bus = QDBusConnection::sessionBus();
    AddInMgrProxy manager(QString::fromLatin1(kService), QStringLiteral("/AddInMgr"), bus);
    EventRaiserProxy raiser(QString::fromLatin1(kService), QStringLiteral("/EventRaiser"), bus);

    const bool readEditor = arguments.contains(QStringLiteral("--read-editor"));
    const QStringList raiseOn = argumentAfter(arguments, QStringLiteral("--raise-on")).split(u':');
    const int raiseWhen = raiseOn.size() == 2 ? raiseOn.at(0).toInt() : 0;
    const int raiseWhat = raiseOn.size() == 2 ? raiseOn.at(1).toInt() : 0;
    bool raised = false;

    addinmgr::EventSinkObject sink([&](int id) {
        QString line = QStringLiteral("event %1").arg(id);
        if (readEditor)
            line += QStringLiteral(" editor ") + manager.commonDataEditor();
        say(line);
        if (id == raiseWhen && !raised) {
            raised = true;
            kvt::ipc::waitServing(raiser.asyncCall(raiseMethod(raiseWhat)));
        }
    });
    bus.registerObject(QString::fromLatin1(kSinkPath), &sink, QDBusConnection::ExportAdaptors);

    const QString claim = argumentAfter(arguments, QStringLiteral("--claim"));
    if (!claim.isEmpty()) {
        const QDBusMessage reply = kvt::ipc::waitServing(
            manager.asyncCall(QStringLiteral("ClaimCommonDataEditor"), claim));
        say(QStringLiteral("claimed %1").arg(reply.arguments().value(0).toBool() ? 1 : 0));
    }
    const QString editor = argumentAfter(arguments, QStringLiteral("--set-editor"));
    if (!editor.isEmpty())
        manager.setCommonDataEditor(editor);

    const QDBusMessage subscribed = kvt::ipc::waitServing(raiser.asyncCall(
        QStringLiteral("Subscribe"), QVariant::fromValue(QDBusObjectPath(kSinkPath))));
    if (subscribed.type() == QDBusMessage::ErrorMessage) {
        say(QStringLiteral("error ") + subscribed.errorMessage());
        return 1;
    }
    say(QStringLiteral("ready"));
    if (arguments.contains(QStringLiteral("--exit")))
        return 0;
    if (arguments.contains(QStringLiteral("--stuck"))) {
        for (;;)
            std::this_thread::sleep_for(std::chrono::hours(1));
    }
    return QCoreApplication::exec();
}
