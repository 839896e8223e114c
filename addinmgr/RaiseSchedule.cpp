#include "RaiseSchedule.h"

#include <algorithm>

namespace addinmgr {

RaiseSchedule::Admission RaiseSchedule::admit(RaiseId id, EventId event, std::string_view from) {
    const int depth = nestingOf(from);
    if (depth > kDeepestNesting)
        return Admission::TooDeep;
    if (depth == 0 && (!mWaiting.empty() || turnTaken())) {
        mWaiting.emplace_back(id, event);
        return Admission::Queued;
    }
    mRunning.emplace(id, Running{event, depth, false, 0});
    return Admission::Now;
}

void RaiseSchedule::begin(RaiseId id, const std::vector<Subscriber> &recipients) {
    const auto found = mRunning.find(id);
    if (found == mRunning.end())
        return;
    Running &raise = found->second;
    raise.begun = true;
    for (const Subscriber &to : recipients) {
        Line &line = mLines[to.connection];
        // Behind an event the connection is late with, this one is not waited for either.
        const bool behindLate =
            std::any_of(line.inFlight.begin(), line.inFlight.end(),
                        [&](const Delivery &d) { return d.late && d.depth >= raise.depth; });
        line.waiting.push_back(Delivery{id, raise.event, raise.depth, to, !behindLate, false});
        raise.unanswered += behindLate ? 0 : 1;
        mChanged.insert(to.connection);
    }
    if (raise.unanswered == 0) {
        mEnded.push_back(id);
        mRunning.erase(found);
    }
}

std::vector<Delivery> RaiseSchedule::takeSendable() {
    std::vector<Delivery> sendable;
    for (const std::string &connection : mChanged) {
        const auto line = mLines.find(connection);
        if (line == mLines.end())
            continue;
        std::vector<Delivery> &waiting = line->second.waiting;
        std::vector<Delivery> &inFlight = line->second.inFlight;
        if (waiting.empty()) {
            if (inFlight.empty())
                mLines.erase(line);
            continue;
        }
        // The deepest waiting delivery, the first given among equals; it goes only when the
        // handlers being called on this connection are all waiting for something deeper.
        const auto next = std::max_element(
            waiting.begin(), waiting.end(),
            [](const Delivery &a, const Delivery &b) { return a.depth < b.depth; });
        if (!inFlight.empty() && inFlight.back().depth >= next->depth)
            continue;
        inFlight.push_back(*next);
        sendable.push_back(*next);
        waiting.erase(next);
    }
    mChanged.clear();
    return sendable;
}

void RaiseSchedule::answered(const Delivery &delivery) {
    Delivery *sent = inFlight(delivery);
    if (sent == nullptr)
        return;
    stopAwaiting(*sent);
    std::vector<Delivery> &line = mLines.find(delivery.to.connection)->second.inFlight;
    line.erase(line.begin() + (sent - line.data()));
    mChanged.insert(delivery.to.connection);
}

void RaiseSchedule::late(const Delivery &delivery) {
    Delivery *sent = inFlight(delivery);
    if (sent == nullptr)
        return;
    sent->late = true;
    stopAwaiting(*sent);
    for (Delivery &queued : mLines.find(delivery.to.connection)->second.waiting)
        if (queued.depth <= sent->depth)
            stopAwaiting(queued);
}

void RaiseSchedule::forget(std::uint64_t subscriber) {
    dropDeliveries([&](const Delivery &d) { return d.to.id == subscriber; });
}

void RaiseSchedule::forgetConnection(std::string_view connection) {
    dropDeliveries([&](const Delivery &d) { return d.to.connection == connection; });
}

Delivery *RaiseSchedule::inFlight(const Delivery &delivery) {
    const auto line = mLines.find(delivery.to.connection);
    if (line == mLines.end())
        return nullptr;
    for (Delivery &sent : line->second.inFlight)
        if (sent.raise == delivery.raise && sent.to.id == delivery.to.id)
            return &sent;
    return nullptr;
}

void RaiseSchedule::dropDeliveries(const std::function<bool(const Delivery &)> &gone) {
    for (auto &[connection, line] : mLines) {
        for (std::vector<Delivery> *deliveries : {&line.waiting, &line.inFlight})
            std::erase_if(*deliveries, [&](Delivery &d) {
                if (!gone(d))
                    return false;
                stopAwaiting(d);
                return true;
            });
        mChanged.insert(connection);
    }
}

// The delivery's raise does not wait for it any more, and ends when it waits for nothing else.
void RaiseSchedule::stopAwaiting(Delivery &delivery) {
    if (!delivery.awaited)
        return;
    delivery.awaited = false;
    const auto raise = mRunning.find(delivery.raise);
    if (raise == mRunning.end() || --raise->second.unanswered > 0)
        return;
    mEnded.push_back(delivery.raise);
    mRunning.erase(raise);
}

std::vector<RaiseId> RaiseSchedule::takeEnded() {
    return std::exchange(mEnded, {});
}

std::optional<RaiseId> RaiseSchedule::takeNext() {
    if (mWaiting.empty() || turnTaken())
        return std::nullopt;
    const auto [next, event] = mWaiting.front();
    mWaiting.pop_front();
    mRunning.emplace(next, Running{event, 0, false, 0});
    return next;
}

int RaiseSchedule::nestingOf(std::string_view connection) const {
    const auto line = mLines.find(connection);
    if (connection.empty() || line == mLines.end() || line->second.inFlight.empty())
        return 0;
    // Depths in flight increase: the last is the handler being called right now.
    return line->second.inFlight.back().depth + 1;
}

bool RaiseSchedule::idle() const {
    return mRunning.empty() && mWaiting.empty() && mEnded.empty()
           && std::all_of(mLines.begin(), mLines.end(), [](const auto &line) {
                  return line.second.waiting.empty() && line.second.inFlight.empty();
              });
}

// A raise that is not nested is being delivered: the waiting ones wait for it.
bool RaiseSchedule::turnTaken() const {
    return std::any_of(mRunning.begin(), mRunning.end(),
                       [](const auto &raise) { return raise.second.depth == 0; });
}

} // namespace addinmgr
