#include "AddInMgrObject.h"

#include "ManagerService.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>
#include <QFile>
#include <QVariantMap>
#include <exception>
#include <iterator>

namespace addinmgr {

namespace {

constexpr auto kInterface = "org.talvio.AddInMgr";
constexpr auto kProperties = "org.freedesktop.DBus.Properties";
constexpr auto kEditorProperty = "CommonDataEditor";

QString callerOf(const QDBusMessage &call) {
    return call.service();
}

QString textArgument(const QDBusMessage &call, int index) {
    return call.arguments().at(index).toString();
}

// The <interface> element of the installed interface file, embedded as a resource.
QString interfaceXml() {
    QFile file(QStringLiteral(":/dbus/org.talvio.AddInMgr.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString xml = QString::fromUtf8(file.readAll());
    const auto begin = xml.indexOf(QLatin1String("<interface"));
    const QLatin1String close("</interface>");
    const auto end = xml.indexOf(close);
    if (begin < 0 || end < begin)
        return {};
    return xml.mid(begin, end + close.size() - begin) + QLatin1Char('\n');
}

QDBusMessage propertyError(const QDBusMessage &call, const QString &interface,
                           const QString &property) {
    if (!interface.isEmpty() && interface != QLatin1String(kInterface))
        return call.createErrorReply(QDBusError::UnknownInterface,
                                     QStringLiteral("No interface \"%1\" here").arg(interface));
    return call.createErrorReply(QDBusError::UnknownProperty,
                                 QStringLiteral("No property \"%1\" here").arg(property));
}

} // namespace

const std::string &AddInMgrObject::RegistrationClock::now() {
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != mSecond) {
        mSecond = second;
        mText = QDateTime::fromSecsSinceEpoch(second)
                    .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                    .toStdString();
    }
    return mText;
}

const AddInMgrObject::Operation AddInMgrObject::kOperations[] = {
    {kInterface, "NewAddInName", "s", &AddInMgrObject::NewAddInName},
    {kInterface, "UnRegister", "s", &AddInMgrObject::UnRegister},
    {kInterface, "AddInCollectionString", "", &AddInMgrObject::AddInCollectionString},
    {kInterface, "LastId", "s", &AddInMgrObject::LastId},
    {kInterface, "EventRaiser", "", &AddInMgrObject::EventRaiser},
    {kInterface, "ClaimCommonDataEditor", "s", &AddInMgrObject::ClaimCommonDataEditor},
    {kInterface, "Release", "", &AddInMgrObject::Release},
    {kProperties, "Get", "ss", &AddInMgrObject::propertyGet},
    {kProperties, "Set", "ssv", &AddInMgrObject::propertySet},
    {kProperties, "GetAll", "s", &AddInMgrObject::propertyGetAll},
};

AddInMgrObject::AddInMgrObject(ManagerService &service)
    : mService(service) {}

QString AddInMgrObject::introspect(const QString &) const {
    // QtDBus adds the standard interfaces (properties, introspection, peer) itself.
    static const QString xml = interfaceXml();
    return xml;
}

bool AddInMgrObject::handleMessage(const QDBusMessage &message, const QDBusConnection &connection) {
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    const QString interface = message.interface();
    for (const Operation &operation : kOperations) {
        // A call without an interface name is matched by its member alone.
        if (message.member() != QLatin1String(operation.member)
            || (!interface.isEmpty() && interface != QLatin1String(operation.interface)))
            continue;
        QDBusMessage reply;
        if (message.signature() != QLatin1String(operation.signature)) {
            reply = message.createErrorReply(QDBusError::InvalidArgs,
                                             QStringLiteral("%1 takes arguments \"%2\", not \"%3\"")
                                                 .arg(message.member(),
                                                      QLatin1String(operation.signature),
                                                      message.signature()));
        } else {
            try {
                reply = (this->*operation.serve)(message);
            } catch (const CounterExhausted &failure) {
                reply = message.createErrorReply(
                    QStringLiteral("org.talvio.AddInMgr.Error.CounterExhausted"),
                    QString::fromStdString(failure.what()));
            } catch (const LimitExceeded &failure) {
                reply = message.createErrorReply(QString::fromLatin1(kLimitExceededError),
                                                 QString::fromStdString(failure.what()));
            } catch (const std::exception &failure) {
                reply = message.createErrorReply(QDBusError::Failed,
                                                 QString::fromStdString(failure.what()));
            }
        }
        if (!message.isReplyRequired() && reply.type() != QDBusMessage::ErrorMessage)
            return true;
        connection.send(reply);
        return true;
    }
    // Introspection is answered by QtDBus from introspect(); anything else is unknown here.
    if (interface == QLatin1String("org.freedesktop.DBus.Introspectable"))
        return false;
    connection.send(message.createErrorReply(
        QDBusError::UnknownMethod, QStringLiteral("No method \"%1\" in interface \"%2\" at %3")
                                       .arg(message.member(), interface, message.path())));
    return true;
}

QDBusMessage AddInMgrObject::NewAddInName(const QDBusMessage &call) {
    mService.noteCall(callerOf(call));
    const std::string name = mService.registry().NewAddInName(
        textArgument(call, 0).toStdString(), mClock.now(), callerOf(call).toStdString());
    return call.createReply(QString::fromStdString(name));
}

QDBusMessage AddInMgrObject::UnRegister(const QDBusMessage &call) {
    mService.noteCall(callerOf(call));
    mService.registry().UnRegister(textArgument(call, 0).toStdString());
    return call.createReply();
}

QDBusMessage AddInMgrObject::AddInCollectionString(const QDBusMessage &call) {
    mService.noteCall(callerOf(call));
    return call.createReply(QString::fromStdString(mService.registry().AddInCollectionString()));
}

QDBusMessage AddInMgrObject::LastId(const QDBusMessage &call) {
    mService.noteCall(callerOf(call));
    return call.createReply(mService.registry().LastId(textArgument(call, 0).toStdString()));
}

QDBusMessage AddInMgrObject::EventRaiser(const QDBusMessage &call) {
    mService.noteCall(callerOf(call));
    return call.createReply(
        QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(kEventRaiserPath))));
}

QDBusMessage AddInMgrObject::ClaimCommonDataEditor(const QDBusMessage &call) {
    mService.noteCall(callerOf(call));
    return call.createReply(mService.claimCommonDataEditor(textArgument(call, 0), callerOf(call)));
}

QDBusMessage AddInMgrObject::Release(const QDBusMessage &call) {
    mService.release(callerOf(call));
    return call.createReply();
}

QDBusMessage AddInMgrObject::propertyGet(const QDBusMessage &call) {
    const QString interface = textArgument(call, 0);
    const QString property = textArgument(call, 1);
    if ((!interface.isEmpty() && interface != QLatin1String(kInterface))
        || property != QLatin1String(kEditorProperty))
        return propertyError(call, interface, property);
    mService.noteCall(callerOf(call));
    const QString editor = QString::fromStdString(mService.clients().editor.CommonDataEditor());
    return call.createReply(QVariant::fromValue(QDBusVariant(editor)));
}

QDBusMessage AddInMgrObject::propertySet(const QDBusMessage &call) {
    const QString interface = textArgument(call, 0);
    const QString property = textArgument(call, 1);
    if ((!interface.isEmpty() && interface != QLatin1String(kInterface))
        || property != QLatin1String(kEditorProperty))
        return propertyError(call, interface, property);
    const QVariant value = call.arguments().at(2).value<QDBusVariant>().variant();
    if (value.metaType() != QMetaType::fromType<QString>())
        return call.createErrorReply(QDBusError::InvalidArgs,
                                     QStringLiteral("CommonDataEditor is a string"));
    mService.noteCall(callerOf(call));
    mService.setCommonDataEditor(value.toString(), callerOf(call));
    return call.createReply();
}

QDBusMessage AddInMgrObject::propertyGetAll(const QDBusMessage &call) {
    const QString interface = textArgument(call, 0);
    if (!interface.isEmpty() && interface != QLatin1String(kInterface))
        return propertyError(call, interface, {});
    mService.noteCall(callerOf(call));
    const QVariantMap values{
        {QLatin1String(kEditorProperty),
         QString::fromStdString(mService.clients().editor.CommonDataEditor())}};
    return call.createReply(QVariant::fromValue(values));
}

} // namespace addinmgr
