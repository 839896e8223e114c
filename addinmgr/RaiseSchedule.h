#pragma once

#include "Subscriber.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace addinmgr {

// Event identifiers, as the subscribers' Event(i) receives them.
enum class EventId : std::int32_t {
    xevtCommonDataEditRunning = 1,
    xevtUpdateCommonData = 2,
    xevtCommonDataEditAllowed = 3,
};

using RaiseId = std::uint64_t;

// One raise's event on its way to one subscriber.
struct Delivery {
    RaiseId raise = 0;
    EventId event{};
    int depth = 0; // how deep the raise is nested
    Subscriber to;
    bool awaited = true; // the raise waits for its answer
    bool late = false;
};

// When each raise is delivered, and to whom.
//
// Raises take turns in arrival order, except one that comes from a connection whose event
// handler the manager is calling right now: that handler waits for it, so it is delivered at
// once, nested in the raise being delivered, up to kDeepestNesting deep.
//
// A raise goes to every connection at the same time; the subscribers of one connection get it
// one after the other in subscription order, as that connection's handlers expect. Each
// subscriber receives the events in the order the raises began, except that a nested raise's
// comes before those it is nested in. A raise ends when every subscriber has answered, is gone,
// or is late: a connection that has not answered for a while is no longer waited for, and its
// next events queue up behind the one it has not answered, so stuck subscribers delay a raise
// by that while, however many they are.
//
// Nothing here waits or keeps time: the manager sends what takeSendable gives and reports each
// answer, and each delivery it finds late.
class RaiseSchedule {
public:
    static constexpr int kDeepestNesting = 8;

    enum class Admission {
        Now,     // begin it at once
        Queued,  // takeNext gives it in its turn
        TooDeep, // refused: nested deeper than kDeepestNesting
    };

    // A raise of event from the connection from (empty for the manager's own), numbered id.
    Admission admit(RaiseId id, EventId event, std::string_view from);
    // The raise's event is for these subscribers, in this order.
    void begin(RaiseId id, const std::vector<Subscriber> &recipients);
    // The deliveries that may be sent now.
    std::vector<Delivery> takeSendable();
    // The delivery was answered, or failed without its subscriber being gone.
    void answered(const Delivery &delivery);
    // The delivery has gone unanswered for a while: neither its raise nor the raises whose
    // events queue up behind it on its connection wait for them any more.
    void late(const Delivery &delivery);
    // The subscriber, or every subscriber of the connection, is gone: nothing more goes to it
    // and no raise waits for it.
    void forget(std::uint64_t subscriber);
    void forgetConnection(std::string_view connection);

    // The raises that ended since the last call, in the order they ended.
    std::vector<RaiseId> takeEnded();
    // The raise whose turn has come, once the one before it (not counting nested ones) ended.
    std::optional<RaiseId> takeNext();

    // How deep a raise from the connection would nest now; 0 when it would not.
    int nestingOf(std::string_view connection) const;
    bool idle() const;

private:
    struct Running {
        EventId event{};
        int depth = 0;
        bool begun = false;
        std::size_t unanswered = 0;
    };
    // What one connection is being sent: one delivery at a time, unless a deeper one is nested.
    struct Line {
        std::vector<Delivery> waiting;  // in the order they were given
        std::vector<Delivery> inFlight; // depths increasing
    };
    bool turnTaken() const;
    Delivery *inFlight(const Delivery &delivery);
    void dropDeliveries(const std::function<bool(const Delivery &)> &gone);
    void stopAwaiting(Delivery &delivery);

    std::map<RaiseId, Running> mRunning;
    std::deque<std::pair<RaiseId, EventId>> mWaiting;
    std::vector<RaiseId> mEnded;
    std::map<std::string, Line, std::less<>> mLines;
    std::set<std::string, std::less<>> mChanged; // lines that may have a delivery to send
};

} // namespace addinmgr
