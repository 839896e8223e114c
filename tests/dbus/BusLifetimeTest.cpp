// Both programs end when their bus goes away: no client could reach them any more.
#include "support/ChildProcess.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace kvt::test {
namespace {

using namespace std::chrono_literals;

// Ended, or a zombie nobody has reaped yet.
bool processEnded(unsigned pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidField, command, state;
    return !(stat >> pidField >> command >> state) || state == "Z";
}

bool endsWithin(unsigned pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!processEnded(pid)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

struct Program {
    const char *busName;
    const char *path;
    const char *interface;
    const char *method;
    QVariantList arguments;
};

TEST(ProgramsOnTheBus, endWhenTheirBusGoesAway) {
    const std::vector<Program> table = {
        {"org.talvio.TlvAddInMgr", "/AddInMgr", "org.talvio.AddInMgr", "LastId", {"Sheet"}},
        {"org.talvio.KVTDebug", "/MainDebug", "org.talvio.KVTDebug", "Create", {}},
    };
    int round = 0;
    for (const Program &program : table) {
        SCOPED_TRACE(program.busName);
        ChildProcess daemon(DBUS_DAEMON, {"--config-file=" TALVIO_TEST_BUS_CONFIG, "--nofork",
                                          "--print-address=1"});
        const auto address = daemon.readLine();
        ASSERT_TRUE(address);
        const QString connectionName = QStringLiteral("own-bus-%1").arg(++round);
        QDBusConnection bus =
            QDBusConnection::connectToBus(QString::fromStdString(*address), connectionName);
        ASSERT_TRUE(bus.isConnected());
        QDBusMessage call = QDBusMessage::createMethodCall(program.busName, program.path,
                                                           program.interface, program.method);
        call.setArguments(program.arguments);
        // The call starts the program, and holds it: only the bus's end can end it now.
        ASSERT_EQ(bus.call(call, QDBus::Block, 20'000).type(), QDBusMessage::ReplyMessage);
        const unsigned pid = bus.interface()->servicePid(program.busName).value();
        ASSERT_NE(pid, 0u);
        daemon.signal(SIGTERM);
        EXPECT_TRUE(daemon.wait());
        EXPECT_TRUE(endsWithin(pid, 10s)) << "pid " << pid;
        QDBusConnection::disconnectFromBus(connectionName);
    }
}

} // namespace
} // namespace kvt::test

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
