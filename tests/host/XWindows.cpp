#include "XWindows.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <xcb/xcb.h>

namespace talvio::test {

namespace {

template<class Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template<class Reply>
ReplyPtr<Reply> own(Reply *reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

} // namespace

XWindows::XWindows() {
    if (!std::getenv("DISPLAY"))
        return;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    mConnection = connection;
    mRoot = xcb_setup_roots_iterator(xcb_get_setup(mConnection)).data->root;
}

XWindows::~XWindows() {
    if (mConnection)
        xcb_disconnect(mConnection);
}

std::uint32_t XWindows::atom(const char *name) {
    const auto reply = own(xcb_intern_atom_reply(
        mConnection,
        xcb_intern_atom(mConnection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : 0;
}

std::string XWindows::title(std::uint32_t window) {
    const auto reply = own(xcb_get_property_reply(
        mConnection,
        xcb_get_property(mConnection, 0, window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 0, 256),
        nullptr));
    if (!reply)
        return {};
    const char *text = static_cast<const char *>(xcb_get_property_value(reply.get()));
    return std::string(text, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::uint32_t XWindows::waitForWindow(const std::function<bool(const std::string &)> &matches,
                                      std::string &found, std::chrono::milliseconds wait) {
    if (!mConnection)
        return 0;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    // Nothing tells another client when a program maps its window: look until it is there.
    while (std::chrono::steady_clock::now() < deadline) {
        const auto tree =
            own(xcb_query_tree_reply(mConnection, xcb_query_tree(mConnection, mRoot), nullptr));
        const int count = tree ? xcb_query_tree_children_length(tree.get()) : 0;
        const xcb_window_t *children = tree ? xcb_query_tree_children(tree.get()) : nullptr;
        for (int i = 0; i < count; ++i) {
            const auto attributes = own(xcb_get_window_attributes_reply(
                mConnection, xcb_get_window_attributes(mConnection, children[i]), nullptr));
            if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
                continue;
            std::string text = title(children[i]);
            if (!text.empty() && matches(text)) {
                found = std::move(text);
                return children[i];
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

void XWindows::close(std::uint32_t window) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(mConnection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(mConnection);
}

} // namespace talvio::test
