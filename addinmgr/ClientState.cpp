#include "ClientState.h"

#include "Limits.h"

#include <algorithm>

namespace addinmgr {

void EditorRole::setCommonDataEditor(std::string_view editor, std::string_view caller) {
    requireNameLength("The editor's name", editor);
    mEditor = editor;
    mOwner = editor.empty() ? std::string() : std::string(caller);
}

bool EditorRole::ClaimCommonDataEditor(std::string_view name, std::string_view caller) {
    requireNameLength("The editor's name", name);
    if (name.empty() || (!mEditor.empty() && mEditor != name))
        return false;
    setCommonDataEditor(name, caller);
    return true;
}

bool EditorRole::connectionLeft(std::string_view connection) {
    if (mEditor.empty() || mOwner != connection)
        return false;
    mEditor.clear();
    mOwner.clear();
    return true;
}

const Subscriber &SubscriberList::subscribe(std::string_view connection, std::string_view path) {
    const auto found = std::find_if(mSubscribers.begin(), mSubscribers.end(), [&](const auto &s) {
        return s.connection == connection && s.path == path;
    });
    if (found != mSubscribers.end())
        return *found;
    return mSubscribers.emplace_back(
        Subscriber{mNextId++, std::string(connection), std::string(path)});
}

std::optional<Subscriber> SubscriberList::unsubscribe(std::string_view connection,
                                                      std::string_view path) {
    const auto found = std::find_if(mSubscribers.begin(), mSubscribers.end(), [&](const auto &s) {
        return s.connection == connection && s.path == path;
    });
    if (found == mSubscribers.end())
        return std::nullopt;
    Subscriber removed = std::move(*found);
    mSubscribers.erase(found);
    return removed;
}

std::size_t SubscriberList::removeConnection(std::string_view connection) {
    return std::erase_if(mSubscribers, [&](const auto &s) { return s.connection == connection; });
}

bool SubscriberList::drop(std::uint64_t id) {
    return std::erase_if(mSubscribers, [&](const auto &s) { return s.id == id; }) > 0;
}

bool SubscriberList::contains(std::uint64_t id) const {
    return std::any_of(mSubscribers.begin(), mSubscribers.end(),
                       [&](const auto &s) { return s.id == id; });
}

std::size_t SubscriberList::countFor(std::string_view connection) const {
    return static_cast<std::size_t>(
        std::count_if(mSubscribers.begin(), mSubscribers.end(),
                      [&](const auto &s) { return s.connection == connection; }));
}

void ClientState::noteCall(std::string_view connection) {
    mCallers.emplace(connection);
}

void ClientState::release(std::string_view connection) {
    const auto found = mCallers.find(connection);
    if (found != mCallers.end())
        mCallers.erase(found);
}

void ClientState::unsubscribe(std::string_view connection, std::string_view path) {
    if (const std::optional<Subscriber> removed = subscribers.unsubscribe(connection, path))
        raises.forget(removed->id);
}

void ClientState::drop(std::uint64_t subscriber) {
    subscribers.drop(subscriber);
    raises.forget(subscriber);
}

void ClientState::dropConnection(std::string_view connection) {
    subscribers.removeConnection(connection);
    raises.forgetConnection(connection);
}

bool ClientState::connectionLeft(std::string_view connection) {
    release(connection);
    dropConnection(connection);
    return editor.connectionLeft(connection);
}

bool ClientState::holds(std::string_view connection) const {
    return mCallers.find(connection) != mCallers.end() || subscribers.countFor(connection) > 0;
}

} // namespace addinmgr
