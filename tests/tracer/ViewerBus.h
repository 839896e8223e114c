#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace kvt::test {

inline const QString kViewerName = QStringLiteral("org.talvio.KVTDebug");

// Calls of the viewer program as any client makes them, on the test's private bus.
class ViewerBus {
public:
    explicit ViewerBus(QDBusConnection bus = QDBusConnection::sessionBus())
        : mBus(std::move(bus)) {}

    QDBusConnection &bus() { return mBus; }

    QDBusMessage call(const QString &path, const QString &interface, const char *method,
                      const QVariantList &arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(kViewerName, path, interface,
                                                              QString::fromLatin1(method));
        message.setArguments(arguments);
        return mBus.call(message, QDBus::Block, 10'000);
    }
    QDBusMessage window(const QString &path, const char *method,
                        const QVariantList &arguments = {}) {
        return call(path, QStringLiteral("org.talvio.MainDebug"), method, arguments);
    }
    // A new window; an empty path when the call failed.
    QString create() {
        const QDBusMessage reply =
            call(QStringLiteral("/MainDebug"), QStringLiteral("org.talvio.KVTDebug"), "Create");
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
            return {};
        return reply.arguments().front().value<QDBusObjectPath>().path();
    }
    QString text(const QString &path) {
        const QDBusMessage reply = window(path, "Text");
        return reply.arguments().isEmpty() ? QStringLiteral("<no reply>")
                                           : reply.arguments().front().toString();
    }
    bool viewerRuns() { return mBus.interface()->isServiceRegistered(kViewerName).value(); }
    // The program ends within a few seconds.
    bool viewerEnds() {
        return QTest::qWaitFor([this] { return !viewerRuns(); }, 10'000);
    }

private:
    QDBusConnection mBus;
};

// Times vary from run to run; the tests compare the rest.
inline QString withoutTimes(QString text) {
    static const QRegularExpression time(QStringLiteral("Temps mis [0-9.,\u00a0\u202f ]+ ms"));
    return text.replace(time, QStringLiteral("Temps mis # ms"));
}

// One application for all cases of a test program, ended after the last one.
class CoreApplication final : public testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "talvio_test";
        static char *argv[] = {name, nullptr};
        mApp = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { mApp.reset(); }

private:
    std::unique_ptr<QCoreApplication> mApp;
};

} // namespace kvt::test
