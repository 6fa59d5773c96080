#pragma once

#include <functional>

class QObject;
class QWidget;

namespace korvel {

// Asks the window manager to give this top-level window no taskbar button and
// to leave it out of pagers and window switchers (_NET_WM_STATE_SKIP_TASKBAR,
// _NET_WM_STATE_SKIP_PAGER and KDE's _KDE_NET_WM_STATE_SKIP_SWITCHER, which
// Alt+Tab under kwin heeds instead of the other two). Call it before the window
// is first shown. Does nothing on a platform other than X11.
void skipTaskbar(QWidget& window);

// Asks the X server to fill this top-level window with black wherever it is
// exposed, and returns true; the program then need not paint it, nor keep an
// image of its size. Does nothing and returns false on a platform other than
// X11. Call it before the window is first shown.
//
// Such a window never answers a window manager's sync request (Qt answers one
// only once it has painted), so it stops offering the protocol and drops the
// protocol's counter, by which kwin also goes: a compositing window manager
// would otherwise show it only when its wait times out, a second later.
bool blackFromServer(QWidget& window);

// Takes the resize function and the resize handles out of the window's Motif
// hints. Qt offers both for any window with a title bar, whatever its size
// hints say, and some window managers (icewm) then let it be resized. Call it
// once the window exists and before it is shown.
void offerNoResize(QWidget& window);

// Shows the top-level `window` as a transient, which window managers keep above
// `owner`, the full-screen backdrop, in the highest layer among them: above the
// panels, where the backdrop stays while the window has the focus. Most are
// asked for a transient for the program's whole group of windows
// (WM_TRANSIENT_FOR the root window, as ICCCM and EWMH say): a transient for
// the backdrop alone makes some (marco, mutter) lift the backdrop and leave an
// ordinary window under it. fluxbox, though, takes a group transient for an
// ordinary window, and puts a full-screen window under all others whenever a
// window other than its own transient has the focus: there the window is a
// transient for `owner`, if one is given. Qt writes the property only for
// dialogs, and takes it off any other window as it maps it, so it is written
// again right after, and whenever the window manager maps the window; window
// managers follow its changes. On a platform other than X11 it only shows the
// window.
void showAsTransient(QWidget& window, const QWidget* owner);

// Makes the shown top-level `dialog` of `parent` a transient for the window
// that `parent` is a transient for, where that is a window and not the group
// (see showAsTransient): fluxbox keeps the backdrop up only while a transient
// of its own has the focus. Does nothing otherwise, or on a platform other
// than X11.
void shareOwner(QWidget& dialog, const QWidget& parent);

// Asks the window manager to show this top-level window and give it the
// keyboard (_NET_ACTIVE_WINDOW), also when the window manager has hidden it
// without iconifying it: Qt asks only for windows that it sees on screen. It
// asks as for the player's own action, as pagers do, which window managers
// grant even while another window of the program is full-screen with the
// focus (fluxbox refuses a program's own request then). Does nothing on a
// platform other than X11.
void requestActivation(QWidget& window);

// Asks the window manager to bring an iconified top-level window back as it
// was, full-screen if it was full-screen, by mapping it again as ICCCM says and
// by taking its hidden state off: openbox passes the mapping on to a modal
// transient for the window's group, and would leave the window iconified. Qt's
// own way, a change of the window's state, would take the full-screen state off
// and put it back, showing the window at another size in between. Returns
// false, and does nothing, on a platform other than X11.
bool deiconify(QWidget& window);

// Keeps every window's ICCCM title (WM_NAME) in UTF-8 from its creation on.
// Qt writes it in the locale's encoding, which garbles Cyrillic titles outside
// UTF-8 locales for whatever reads WM_NAME: older window managers, taskbars,
// tools. Does nothing on a platform other than X11.
void keepTitlesReadable();

// Runs `changed` whenever the window manager starts or stops showing the
// desktop (_NET_SHOWING_DESKTOP on the root window), for as long as `owner`
// lives. Some window managers hide every window for it without iconifying it,
// and no window learns of it otherwise. Does nothing on a platform other than
// X11.
void watchShowingDesktop(QObject& owner, std::function<void()> changed);

// Runs `gained` whenever this top-level window gets the keyboard focus from
// the window manager, for as long as the window lives. Qt passes the focus of
// a window that a modal window blocks straight on to the modal window, and
// tells the blocked window nothing. Does nothing on a platform other than X11.
void watchFocus(QWidget& window, std::function<void()> gained);

}  // namespace korvel
