#include "ipc/DBusAddInMgr.h"

#include "eventsinkadaptor.h"
#include "ipc/Bus.h"
#include "model/Error.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <exception>

namespace kvt {

namespace {

const QString kService = QStringLiteral("org.talvio.TlvAddInMgr");
const QString kManagerPath = QStringLiteral("/AddInMgr");
const QString kManagerInterface = QStringLiteral("org.talvio.AddInMgr");
const QString kRaiserInterface = QStringLiteral("org.talvio.EventRaiser");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kEditorProperty = QStringLiteral("CommonDataEditor");
const QString kSinkPathPrefix = QStringLiteral("/org/talvio/EventSink/");

QString toQt(const std::string &text) {
    return QString::fromStdString(text);
}

// The first argument of a reply, as T; a reply of another shape is the manager's fault.
template<class T>
T firstArgument(const QDBusMessage &reply) {
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.isEmpty() || !arguments.first().canConvert<T>())
        throw Error(err::AddInMgr, "The add-in manager gave an unexpected reply");
    return arguments.first().value<T>();
}

QDBusMessage managerCall(const QString &method, const QList<QVariant> &arguments = {}) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kManagerPath, kManagerInterface, method);
    message.setArguments(arguments);
    return message;
}

class DBusSubscription final : public EventSubscription {
public:
    DBusSubscription(QDBusConnection bus, QString raiserPath, AddInEventHandler &handler)
        : mBus(std::move(bus))
        , mRaiserPath(std::move(raiserPath))
        , mSink(std::make_unique<EventSinkObject>(handler)) {
        static int lastSink = 0;
        mSinkPath = kSinkPathPrefix + QString::number(++lastSink);
        new EventSinkAdaptor(mSink.get()); // owned by the sink object
        if (!mBus.registerObject(mSinkPath, mSink.get()))
            throw Error(err::AddInMgr, "Cannot export the event sink " + mSinkPath.toStdString());
        try {
            ipc::call(mBus, raiserCall(QStringLiteral("Subscribe")), err::AddInMgr);
        } catch (...) {
            mBus.unregisterObject(mSinkPath);
            throw;
        }
    }

    ~DBusSubscription() override {
        // Leave the bus before telling the manager, and without waiting for it: waiting would
        // serve incoming calls, and an event must not reach a handler that is ending.
        mSink->detach();
        mBus.unregisterObject(mSinkPath);
        mBus.send(raiserCall(QStringLiteral("Unsubscribe")));
    }

    DBusSubscription(const DBusSubscription &) = delete;
    DBusSubscription &operator=(const DBusSubscription &) = delete;

private:
    QDBusMessage raiserCall(const QString &method) const {
        QDBusMessage message =
            QDBusMessage::createMethodCall(kService, mRaiserPath, kRaiserInterface, method);
        message.setArguments({QVariant::fromValue(QDBusObjectPath(mSinkPath))});
        return message;
    }

    QDBusConnection mBus;
    QString mRaiserPath;
    QString mSinkPath;
    std::unique_ptr<EventSinkObject> mSink;
};

class DBusEventRaiser final : public EventRaiser {
public:
    DBusEventRaiser(QDBusConnection bus, QString path)
        : mBus(std::move(bus))
        , mPath(std::move(path)) {}

    void Raise_xevtCommonDataEditRunning() override {
        raise(QStringLiteral("Raise_xevtCommonDataEditRunning"));
    }
    void Raise_xevtUpdateCommonData() override {
        raise(QStringLiteral("Raise_xevtUpdateCommonData"));
    }
    void Raise_xevtCommonDataEditAllowed() override {
        raise(QStringLiteral("Raise_xevtCommonDataEditAllowed"));
    }
    std::unique_ptr<EventSubscription> Subscribe(AddInEventHandler &handler) override {
        return std::make_unique<DBusSubscription>(mBus, mPath, handler);
    }

private:
    void raise(const QString &method) {
        // Our own subscription is called back while we wait: the wait serves it.
        ipc::call(mBus, QDBusMessage::createMethodCall(kService, mPath, kRaiserInterface, method),
                  err::AddInMgr, ipc::kRaiseTimeoutMs);
    }

    QDBusConnection mBus;
    QString mPath;
};

// The connection every facade of the process shares, while one holds it.
std::weak_ptr<AddInMgr> &sharedConnection() {
    static std::weak_ptr<AddInMgr> connection;
    return connection;
}

} // namespace

void EventSinkObject::Event(int id) {
    if (!mHandler)
        return;
    // An event handler's failure has nobody to go back to: the manager only relays.
    try {
        mHandler->onAddInEvent(static_cast<AddInEvent>(id));
    } catch (const std::exception &) {
    }
}

DBusAddInMgr::DBusAddInMgr(QDBusConnection bus)
    : mBus(std::move(bus)) {}

DBusAddInMgr::~DBusAddInMgr() {
    // Without waiting: the process may be ending, and the bus releases us then anyway.
    mBus.send(managerCall(QStringLiteral("Release")));
}

std::string DBusAddInMgr::NewAddInName(const std::string &vstrAddInType) {
    return firstArgument<QString>(
               ipc::call(mBus, managerCall(QStringLiteral("NewAddInName"), {toQt(vstrAddInType)}),
                         err::AddInMgr))
        .toStdString();
}

void DBusAddInMgr::UnRegister(const std::string &Name) {
    ipc::call(mBus, managerCall(QStringLiteral("UnRegister"), {toQt(Name)}), err::AddInMgr);
}

std::string DBusAddInMgr::AddInCollectionString() {
    return firstArgument<QString>(
               ipc::call(mBus, managerCall(QStringLiteral("AddInCollectionString")), err::AddInMgr))
        .toStdString();
}

std::string DBusAddInMgr::CommonDataEditor() {
    QDBusMessage get = QDBusMessage::createMethodCall(kService, kManagerPath, kPropertiesInterface,
                                                      QStringLiteral("Get"));
    get.setArguments({kManagerInterface, kEditorProperty});
    const QVariant value =
        firstArgument<QDBusVariant>(ipc::call(mBus, get, err::AddInMgr)).variant();
    return value.toString().toStdString();
}

void DBusAddInMgr::setCommonDataEditor(const std::string &name) {
    QDBusMessage set = QDBusMessage::createMethodCall(kService, kManagerPath, kPropertiesInterface,
                                                      QStringLiteral("Set"));
    set.setArguments(
        {kManagerInterface, kEditorProperty, QVariant::fromValue(QDBusVariant(toQt(name)))});
    ipc::call(mBus, set, err::AddInMgr);
}

bool DBusAddInMgr::ClaimCommonDataEditor(const std::string &name) {
    return firstArgument<bool>(ipc::call(
        mBus, managerCall(QStringLiteral("ClaimCommonDataEditor"), {toQt(name)}), err::AddInMgr));
}

std::int32_t DBusAddInMgr::LastId(const std::string &strType) {
    return firstArgument<std::int32_t>(
        ipc::call(mBus, managerCall(QStringLiteral("LastId"), {toQt(strType)}), err::AddInMgr));
}

std::shared_ptr<kvt::EventRaiser> DBusAddInMgr::EventRaiser() {
    const QDBusObjectPath path = firstArgument<QDBusObjectPath>(
        ipc::call(mBus, managerCall(QStringLiteral("EventRaiser")), err::AddInMgr));
    return std::make_shared<DBusEventRaiser>(mBus, path.path());
}

std::shared_ptr<AddInMgr> connectSessionAddInMgr() {
    if (std::shared_ptr<AddInMgr> existing = sharedConnection().lock())
        return existing;
    auto connection = std::make_shared<DBusAddInMgr>(ipc::sessionBus(err::AddInMgr));
    sharedConnection() = connection;
    return connection;
}

} // namespace kvt
