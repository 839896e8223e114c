#pragma once

#include "RaiseSchedule.h"
#include "Subscriber.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// What the manager knows about its clients. A client is one bus connection, named by its
// unique name (":1.42"); every operation here is told which connection asks.
namespace addinmgr {

// The name of the add-in editing the common data, and the connection that recorded it, so
// that the role can be given back when that connection leaves the bus without clearing it.
class EditorRole {
public:
    const std::string &CommonDataEditor() const { return mEditor; }
    // Replaces the editor; a non-empty one is owned by caller, the empty one by nobody. Both
    // throw LimitExceeded for a name longer than kLongestName, changing nothing.
    void setCommonDataEditor(std::string_view editor, std::string_view caller);
    // Makes name the editor only when nobody is; true when name is the editor afterwards
    // (claiming again under the same name succeeds and makes caller the owner). The empty
    // name is never claimed.
    bool ClaimCommonDataEditor(std::string_view name, std::string_view caller);
    // The connection left the bus: when it owned the role, the role is cleared and true is
    // returned, so that the others can be told that editing is allowed again.
    bool connectionLeft(std::string_view connection);

    const std::string &owner() const { return mOwner; }

private:
    std::string mEditor;
    std::string mOwner;
};

// The event sinks in subscription order. One connection may subscribe several objects; the
// same object twice counts once and keeps its first place.
class SubscriberList {
public:
    // The subscription of (connection, path), made now unless it exists.
    const Subscriber &subscribe(std::string_view connection, std::string_view path);
    // The subscriber removed, if there was one.
    std::optional<Subscriber> unsubscribe(std::string_view connection, std::string_view path);
    // Drops every subscription of the connection; returns how many there were.
    std::size_t removeConnection(std::string_view connection);
    bool drop(std::uint64_t id);

    bool contains(std::uint64_t id) const;
    std::size_t countFor(std::string_view connection) const;
    const std::vector<Subscriber> &all() const { return mSubscribers; }

private:
    std::uint64_t mNextId = 1;
    std::vector<Subscriber> mSubscribers;
};

// The program's whole client-side state, and the rule of its lifetime: a connection holds the
// program from its first call until it calls Release or leaves the bus; a connection with a
// live subscription holds it too. The program ends when nobody holds it.
class ClientState {
public:
    EditorRole editor;
    SubscriberList subscribers;
    RaiseSchedule raises;

    void noteCall(std::string_view connection);
    void release(std::string_view connection);
    // A subscription ends (Unsubscribe) or a subscriber is dropped as gone: no raise waits for
    // it any more.
    void unsubscribe(std::string_view connection, std::string_view path);
    void drop(std::uint64_t subscriber);
    // Drops every subscriber of a connection that is gone or stuck.
    void dropConnection(std::string_view connection);
    // Forgets everything of a connection that left the bus; true when it owned the editor
    // role, which is then cleared.
    bool connectionLeft(std::string_view connection);

    bool holds(std::string_view connection) const;
    bool isHeld() const { return !mCallers.empty() || !subscribers.all().empty(); }

private:
    std::set<std::string, std::less<>> mCallers;
};

} // namespace addinmgr
