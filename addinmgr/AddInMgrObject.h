#pragma once

#include <QDBusVirtualObject>
#include <limits>
#include <string>

namespace addinmgr {

class ManagerService;

// /AddInMgr, interface org.talvio.AddInMgr. Served by hand rather than through a generated
// adaptor: a property write reached through org.freedesktop.DBus.Properties.Set does not tell
// an adaptor who writes, and the manager must know which connection recorded the editor.
class AddInMgrObject : public QDBusVirtualObject {
    Q_OBJECT
public:
    explicit AddInMgrObject(ManagerService &service);

    QString introspect(const QString &path) const override;
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override;

private:
    QDBusMessage NewAddInName(const QDBusMessage &call);
    QDBusMessage UnRegister(const QDBusMessage &call);
    QDBusMessage AddInCollectionString(const QDBusMessage &call);
    QDBusMessage LastId(const QDBusMessage &call);
    QDBusMessage EventRaiser(const QDBusMessage &call);
    QDBusMessage ClaimCommonDataEditor(const QDBusMessage &call);
    QDBusMessage Release(const QDBusMessage &call);
    QDBusMessage propertyGet(const QDBusMessage &call);
    QDBusMessage propertySet(const QDBusMessage &call);
    QDBusMessage propertyGetAll(const QDBusMessage &call);

    struct Operation {
        const char *interface;
        const char *member;
        const char *signature;
        QDBusMessage (AddInMgrObject::*serve)(const QDBusMessage &);
    };
    static const Operation kOperations[];

    // The registration time in an entry of the add-in list: local time, to the second. It is
    // formatted once a second, since formatting it costs more than the rest of a call.
    class RegistrationClock {
    public:
        const std::string &now();

    private:
        qint64 mSecond = std::numeric_limits<qint64>::min();
        std::string mText;
    };

    ManagerService &mService;
    RegistrationClock mClock;
};

} // namespace addinmgr
