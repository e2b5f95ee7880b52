#include "app/WindowHints.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace kavelon {

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// Adds the modal state to the window's _NET_WM_STATE before it is mapped; Qt keeps the states it
// finds there when it adds its own at mapping.
void addModalState(xcb_connection_t* connection, xcb_window_t window) {
    const xcb_atom_t state = atom(connection, "_NET_WM_STATE");
    const xcb_atom_t modal = atom(connection, "_NET_WM_STATE_MODAL");
    if (state == XCB_ATOM_NONE || modal == XCB_ATOM_NONE)
        return;
    std::vector<xcb_atom_t> states;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        states.assign(values, values + xcb_get_property_value_length(reply.get()) / 4);
    }
    if (std::find(states.begin(), states.end(), modal) != states.end())
        return;
    states.push_back(modal);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

std::vector<uint32_t> property32(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                                 xcb_atom_t type) {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), nullptr),
        &std::free);
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

bool managerAnswersFrameRequests(xcb_connection_t* connection, xcb_window_t root) {
    const auto supported =
        property32(connection, root, atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    const xcb_atom_t request = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    return std::find(supported.begin(), supported.end(), request) != supported.end() &&
           !property32(connection, root, atom(connection, "_NET_SUPPORTING_WM_CHECK"),
                       XCB_ATOM_WINDOW)
                .empty();
}

} // namespace

QMargins frameBeforeMapping(QWidget* window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window || window->isVisible())
        return {};
    window->winId();
    const QWindow* handle = window->windowHandle();
    if (!handle)
        return {};
    const auto id = static_cast<xcb_window_t>(handle->winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    if (!managerAnswersFrameRequests(connection, root))
        return {};
    const xcb_atom_t extents = atom(connection, "_NET_FRAME_EXTENTS");
    xcb_delete_property(connection, id, extents);
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = id;
    event.type = atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
    // The manager answers at once; a manager that does not is not waited for long.
    QDeadlineTimer deadline(500);
    do {
        const auto values = property32(connection, id, extents, XCB_ATOM_CARDINAL);
        if (values.size() == 4)
            return QMargins(int(values[0]), int(values[2]), int(values[1]), int(values[3]));
        QThread::msleep(2);
    } while (!deadline.hasExpired());
    return {};
}

void hintModalTo(QWidget* window, QWidget* owner) {
    if (!window || !window->isWindow() || window->isVisible() || !x11Connection())
        return;
    window->winId(); // the native window, to carry the hints
    QWindow* handle = window->windowHandle();
    if (!handle)
        return;
    if (owner) {
        owner->window()->winId();
        if (QWindow* ownerHandle = owner->window()->windowHandle(); ownerHandle != handle)
            handle->setTransientParent(ownerHandle);
    }
    addModalState(x11Connection(), static_cast<xcb_window_t>(handle->winId()));
}

void hintOwnerOfShown(QWidget* window, QWidget* owner) {
    xcb_connection_t* connection = x11Connection();
    if (!connection || !window || !owner || !window->isVisible())
        return;
    const QWindow* handle = window->windowHandle();
    const QWindow* ownerHandle = owner->window()->windowHandle();
    if (!handle || !ownerHandle || handle == ownerHandle)
        return;
    const auto ownerId = static_cast<xcb_window_t>(ownerHandle->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(handle->winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                        XCB_ATOM_WINDOW, 32, 1, &ownerId);
    xcb_flush(connection);
}

} // namespace kavelon
