#pragma once

#include <QObject>
#include <functional>

namespace addinmgr {

// A client's event sink: export it on a connection and subscribe its path; each event the
// manager raises arrives as Event(id). Used by the tests and the benchmarks.
class EventSinkObject : public QObject {
    Q_OBJECT
public:
    explicit EventSinkObject(std::function<void(int id)> handler, QObject *parent = nullptr);

    void Event(int id);

private:
    std::function<void(int id)> mHandler;
};

} // namespace addinmgr
