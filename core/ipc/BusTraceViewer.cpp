#include "ipc/BusTraceViewer.h"

#include "ipc/Bus.h"
#include "model/Error.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariant>

namespace kvt {

namespace {

const QString kBusName = QStringLiteral("org.talvio.KVTDebug");
const QString kFactoryPath = QStringLiteral("/MainDebug");
const QString kFactoryInterface = QStringLiteral("org.talvio.KVTDebug");
const QString kWindowInterface = QStringLiteral("org.talvio.MainDebug");

// Every failure names the viewer, whatever part of the way failed.
[[noreturn]] void fail(const std::string &reason) {
    throw Error(err::TraceViewer, "The trace viewer KVTDebug cannot be reached: " + reason);
}

// The viewer refuses a line or title longer than this many bytes of UTF-8: a longer one is cut,
// at a character's start, and marked, so that a huge value traced never fails the operation.
constexpr std::size_t kLongestLine = 64 * 1024;

QString fitted(const std::string &text) {
    if (text.size() <= kLongestLine)
        return QString::fromStdString(text);
    static constexpr std::string_view kMark = " [...]";
    std::size_t end = kLongestLine - kMark.size();
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u)
        --end;
    return QString::fromStdString(text.substr(0, end).append(kMark));
}

QDBusMessage callViewer(const QDBusConnection &bus, const QDBusMessage &message) {
    try {
        return ipc::call(bus, message, err::TraceViewer);
    } catch (const Error &failure) {
        fail(failure.description());
    }
}

class BusTraceViewer final : public TraceViewer {
public:
    // The program that created the window, by its unique name: a viewer started anew after a
    // crash is a different program whose objects are not ours.
    BusTraceViewer(QDBusConnection bus, QString program, QString path)
        : mBus(std::move(bus))
        , mProgram(std::move(program))
        , mPath(std::move(path)) {}

    ~BusTraceViewer() override {
        // Not waited for: the viewer also releases our windows when we leave the bus, and a
        // library ending must not block on another program. Skipped once the application
        // object is gone, with the bus connection it served.
        if (QCoreApplication::instance() != nullptr)
            mBus.send(windowCall("Release"));
    }

    void Title(const std::string &title) override { call(windowCall("Title") << fitted(title)); }
    void Msg(std::int16_t handle, const std::string &message) override {
        call(windowCall("Msg") << QVariant::fromValue(handle) << fitted(message));
    }
    void Error(std::int16_t handle, const std::string &message) override {
        call(windowCall("Error") << QVariant::fromValue(handle) << fitted(message));
    }
    void Clear() override { call(windowCall("Clear")); }
    std::int16_t FctBegin(const std::string &function) override {
        const QDBusMessage reply = call(windowCall("FctBegin") << fitted(function));
        if (reply.arguments().size() != 1
            || reply.arguments().front().metaType() != QMetaType::fromType<short>())
            fail("FctBegin answered without a handle");
        return reply.arguments().front().value<short>();
    }
    void FctEnd(std::int16_t handle, const std::string &endWord) override {
        call(windowCall("FctEnd") << QVariant::fromValue(handle) << fitted(endWord));
    }

private:
    QDBusMessage windowCall(const char *method) const {
        return QDBusMessage::createMethodCall(mProgram, mPath, kWindowInterface,
                                              QString::fromLatin1(method));
    }
    QDBusMessage call(const QDBusMessage &message) { return callViewer(mBus, message); }

    QDBusConnection mBus;
    QString mProgram;
    QString mPath;
};

} // namespace

std::unique_ptr<TraceViewer> openBusTraceViewer() {
    QDBusConnection bus = [] {
        try {
            return ipc::sessionBus(err::TraceViewer);
        } catch (const Error &failure) {
            fail(failure.description());
        }
    }();
    const QDBusMessage reply =
        callViewer(bus, QDBusMessage::createMethodCall(kBusName, kFactoryPath, kFactoryInterface,
                                                       QStringLiteral("Create")));
    if (reply.arguments().size() != 1
        || reply.arguments().front().metaType() != QMetaType::fromType<QDBusObjectPath>())
        fail("Create answered without a window");
    return std::make_unique<BusTraceViewer>(
        bus, reply.service(), reply.arguments().front().value<QDBusObjectPath>().path());
}

} // namespace kvt
