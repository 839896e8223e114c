#pragma once

#include "facade/AddInMgr.h"

#include <QDBusConnection>
#include <QObject>
#include <memory>

namespace kvt {

// The add-in manager program on the session bus, started by the bus on the first call. The
// process's facades share one connection: the program is told to let go (Release) when the
// last of them does, and the bus tells it when this process ends.
class DBusAddInMgr final : public AddInMgr {
public:
    explicit DBusAddInMgr(QDBusConnection bus);
    ~DBusAddInMgr() override;
    DBusAddInMgr(const DBusAddInMgr &) = delete;
    DBusAddInMgr &operator=(const DBusAddInMgr &) = delete;

    std::string NewAddInName(const std::string &vstrAddInType) override;
    void UnRegister(const std::string &Name) override;
    std::string AddInCollectionString() override;
    std::string CommonDataEditor() override;
    void setCommonDataEditor(const std::string &name) override;
    bool ClaimCommonDataEditor(const std::string &name) override;
    std::int32_t LastId(const std::string &strType) override;
    std::shared_ptr<kvt::EventRaiser> EventRaiser() override;

private:
    QDBusConnection mBus;
};

// The object a subscriber exports on the bus: the manager calls Event on it for each raise.
class EventSinkObject final : public QObject {
    Q_OBJECT
public:
    explicit EventSinkObject(AddInEventHandler &handler)
        : mHandler(&handler) {}
    // After this, events still in flight are ignored: the handler may be ending.
    void detach() { mHandler = nullptr; }

public Q_SLOTS:
    void Event(int id);

private:
    AddInEventHandler *mHandler;
};

// The connection to the manager program that the process's facades share while one holds it.
std::shared_ptr<AddInMgr> connectSessionAddInMgr();

} // namespace kvt
