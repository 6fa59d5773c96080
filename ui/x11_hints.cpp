#include "ui/x11_hints.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <array>
#include <cstdlib>
#include <string_view>

namespace korvel {
namespace {

xcb_atom_t atom(xcb_connection_t* connection, std::string_view name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data());
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr) {
        return XCB_ATOM_NONE;
    }
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}

xcb_connection_t* x11Connection() {
    // Other platforms (offscreen, for one) may offer the X11 interface without
    // a connection behind it.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr) {
        return nullptr;
    }
    return x11->connection();
}

}  // namespace

void skipTaskbar(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    // A window that is not mapped yet sets the state itself; Qt merges its own
    // states into it when it maps the window.
    const auto id = static_cast<xcb_window_t>(window.winId());
    const std::array<xcb_atom_t, 2> states{atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                           atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, atom(connection, "_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(states.size()),
                        states.data());
    xcb_flush(connection);
}

bool blackFromServer(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return false;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    const std::uint32_t black =
        xcb_setup_roots_iterator(xcb_get_setup(connection)).data->black_pixel;
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXEL, &black);
    xcb_flush(connection);
    return true;
}

}  // namespace korvel
