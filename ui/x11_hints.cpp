#include "ui/x11_hints.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <array>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

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

// The items of a window's property (32 bits each unless told), none if it has
// none of that type and item size.
template <typename Item = std::uint32_t>
std::vector<Item> property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                           xcb_atom_t type) {
    std::vector<Item> items;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, name, type, 0, 64);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        if (reply->format == 8 * sizeof(Item)) {
            const auto* begin = static_cast<const Item*>(xcb_get_property_value(reply));
            items.assign(begin, begin + xcb_get_property_value_length(reply) / sizeof(Item));
        }
        std::free(reply);
    }
    return items;
}

xcb_screen_t* firstScreen(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

// The name that the running window manager gives itself, empty if it gives
// none.
std::string windowManagerName(xcb_connection_t* connection) {
    const std::vector<std::uint32_t> check =
        property(connection, firstScreen(connection)->root,
                 atom(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.empty()) {
        return {};
    }
    const std::vector<char> name = property<char>(
        connection, check[0], atom(connection, "_NET_WM_NAME"), atom(connection, "UTF8_STRING"));
    return {name.begin(), name.end()};
}

// Passes every X event to `seen` for as long as `owner` lives.
class EventWatch : public QObject, public QAbstractNativeEventFilter {
public:
    EventWatch(QObject& owner, std::function<void(const xcb_generic_event_t&)> seen)
        : QObject(&owner), seen_(std::move(seen)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~EventWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    EventWatch(const EventWatch&) = delete;
    EventWatch& operator=(const EventWatch&) = delete;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
        if (type == "xcb_generic_event_t") {
            seen_(*static_cast<const xcb_generic_event_t*>(message));
        }
        return false;
    }

private:
    std::function<void(const xcb_generic_event_t&)> seen_;
};

std::uint8_t eventType(const xcb_generic_event_t& event) {
    return event.response_type & 0x7F;
}

// Makes `window` a transient for `owner` now, and again each time the window
// manager maps it: one that is still taking the window on when the property
// changes misses the change (fluxbox reads it before it listens for changes).
void keepTransientFor(xcb_connection_t* connection, QWidget& window, xcb_window_t owner) {
    const auto id = static_cast<xcb_window_t>(window.winId());
    const auto write = [connection, id, owner] {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR,
                            XCB_ATOM_WINDOW, 32, 1, &owner);
        xcb_flush(connection);
    };
    write();
    new EventWatch(window, [id, write](const xcb_generic_event_t& event) {
        if (eventType(event) == XCB_MAP_NOTIFY &&
            reinterpret_cast<const xcb_map_notify_event_t&>(event).window == id) {
            write();
        }
    });
}

void writeTitle(xcb_connection_t* connection, const QWindow& window) {
    const QByteArray title = window.title().toUtf8();
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), XCB_ATOM_WM_NAME,
                        atom(connection, "UTF8_STRING"), 8,
                        static_cast<std::uint32_t>(title.size()), title.constData());
    xcb_flush(connection);
}

// Writes the title of each window as it is shown, and again whenever it
// changes.
class ReadableTitles : public QObject {
public:
    explicit ReadableTitles(xcb_connection_t* connection)
        : QObject(QCoreApplication::instance()), connection_(connection) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = qobject_cast<QWindow*>(watched);
        // Qt writes the title over ours between creating the window and
        // mapping it; the show event comes just before the mapping.
        if (window != nullptr && event->type() == QEvent::Show && window->handle() != nullptr) {
            writeTitle(connection_, *window);
            connect(window, &QWindow::windowTitleChanged, this, &ReadableTitles::titleChanged,
                    Qt::UniqueConnection);
        }
        return false;
    }

private:
    void titleChanged() {
        if (const auto* window = qobject_cast<const QWindow*>(sender());
            window && window->handle()) {
            writeTitle(connection_, *window);
        }
    }

    xcb_connection_t* connection_;
};

}  // namespace

void keepTitlesReadable() {
    if (xcb_connection_t* connection = x11Connection()) {
        QCoreApplication::instance()->installEventFilter(new ReadableTitles(connection));
    }
}

void skipTaskbar(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    // A window that is not mapped yet sets the state itself; Qt merges its own
    // states into it when it maps the window.
    const auto id = static_cast<xcb_window_t>(window.winId());
    const std::array<xcb_atom_t, 3> states{atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                           atom(connection, "_NET_WM_STATE_SKIP_PAGER"),
                                           atom(connection, "_KDE_NET_WM_STATE_SKIP_SWITCHER")};
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
    const std::uint32_t black = firstScreen(connection)->black_pixel;
    xcb_change_window_attributes(connection, id, XCB_CW_BACK_PIXEL, &black);
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    std::vector<std::uint32_t> offered = property(connection, id, protocols, XCB_ATOM_ATOM);
    std::erase(offered, atom(connection, "_NET_WM_SYNC_REQUEST"));
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, protocols, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(offered.size()), offered.data());
    xcb_delete_property(connection, id, atom(connection, "_NET_WM_SYNC_REQUEST_COUNTER"));
    xcb_flush(connection);
    return true;
}

void offerNoResize(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t motif = atom(connection, "_MOTIF_WM_HINTS");
    // flags, functions, decorations, input mode, status
    std::vector<std::uint32_t> hints = property(connection, id, motif, motif);
    if (hints.size() < 3) {
        return;
    }
    constexpr std::uint32_t FunctionsGiven = 1, DecorationsGiven = 2;
    constexpr std::uint32_t FuncAll = 1, FuncResize = 2, DecorAll = 1, DecorResizeHandles = 4;
    // With the "all" bit set, the bits that follow name what is left out.
    if ((hints[0] & FunctionsGiven) != 0) {
        hints[1] = (hints[1] & FuncAll) != 0 ? hints[1] | FuncResize : hints[1] & ~FuncResize;
    }
    if ((hints[0] & DecorationsGiven) != 0) {
        hints[2] = (hints[2] & DecorAll) != 0 ? hints[2] | DecorResizeHandles
                                              : hints[2] & ~DecorResizeHandles;
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, motif, motif, 32,
                        static_cast<std::uint32_t>(hints.size()), hints.data());
    xcb_flush(connection);
}

void showAsTransient(QWidget& window, const QWidget* owner) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        window.show();
        return;
    }
    const xcb_window_t transientFor = owner != nullptr && windowManagerName(connection) == "Fluxbox"
                                          ? static_cast<xcb_window_t>(owner->winId())
                                          : firstScreen(connection)->root;
    window.show();
    keepTransientFor(connection, window, transientFor);
}

void shareOwner(QWidget& dialog, const QWidget& parent) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    const std::vector<std::uint32_t> owner =
        property(connection, static_cast<xcb_window_t>(parent.winId()), XCB_ATOM_WM_TRANSIENT_FOR,
                 XCB_ATOM_WINDOW);
    if (owner.empty() || owner[0] == firstScreen(connection)->root) {
        return;
    }
    keepTransientFor(connection, dialog, owner[0]);
}

void requestActivation(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = static_cast<xcb_window_t>(window.winId());
    request.type = atom(connection, "_NET_ACTIVE_WINDOW");
    request.data.data32[0] = 2;  // as the player's own doing, as a pager asks
    request.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, firstScreen(connection)->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
}

bool deiconify(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return false;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_map_window(connection, id);
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = id;
    request.type = atom(connection, "_NET_WM_STATE");
    request.data.data32[0] = 0;  // remove
    request.data.data32[1] = atom(connection, "_NET_WM_STATE_HIDDEN");
    request.data.data32[3] = 1;  // asked for by the application itself
    xcb_send_event(connection, 0, firstScreen(connection)->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
    return true;
}

void watchShowingDesktop(QObject& owner, std::function<void()> changed) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return;
    }
    // The root window's property changes reach us only if we ask for them;
    // whatever else we, or Qt, asked for of it must stay.
    const xcb_window_t root = firstScreen(connection)->root;
    std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    if (xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, root), nullptr)) {
        mask |= attributes->your_event_mask;
        std::free(attributes);
    }
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    const xcb_atom_t showingDesktop = atom(connection, "_NET_SHOWING_DESKTOP");
    new EventWatch(owner, [root, showingDesktop,
                           changed = std::move(changed)](const xcb_generic_event_t& event) {
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (eventType(event) == XCB_PROPERTY_NOTIFY && notify.window == root &&
            notify.atom == showingDesktop) {
            changed();
        }
    });
}

void watchFocus(QWidget& window, std::function<void()> gained) {
    if (x11Connection() == nullptr) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window.winId());
    new EventWatch(window, [id, gained = std::move(gained)](const xcb_generic_event_t& event) {
        const auto& focus = reinterpret_cast<const xcb_focus_in_event_t&>(event);
        // Not the focus that a grab (a drag, a menu) lends and gives back.
        if (eventType(event) == XCB_FOCUS_IN && focus.event == id &&
            focus.mode == XCB_NOTIFY_MODE_NORMAL && focus.detail != XCB_NOTIFY_DETAIL_INFERIOR) {
            gained();
        }
    });
}

}  // namespace korvel
