#include "controls/WindowHints.h"

#include <QGuiApplication>
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
    return reply ? reply->atom : XCB_ATOM_NONE;
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

} // namespace

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
