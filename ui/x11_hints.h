#pragma once

#include <functional>

class QObject;
class QWidget;

namespace korvel {

// Asks the window manager to give this top-level window no taskbar button
// (_NET_WM_STATE_SKIP_TASKBAR). Call it before the window is first shown. Does
// nothing on a platform other than X11.
void skipTaskbar(QWidget& window);

// Asks the X server to fill this top-level window with black wherever it is
// exposed, and returns true; the program then need not paint it, nor keep an
// image of its size. Does nothing and returns false on a platform other than
// X11. Call it before the window is first shown.
bool blackFromServer(QWidget& window);

// Asks the window manager to show this top-level window and give it the
// keyboard (_NET_ACTIVE_WINDOW), also when the window manager has hidden it
// without iconifying it: Qt asks only for windows that it sees on screen. Does
// nothing on a platform other than X11.
void requestActivation(QWidget& window);

// Asks the window manager to bring an iconified top-level window back as it
// was, maximised if it was maximised, by mapping it again as ICCCM says. Qt's
// own way, a change of the window's state, would take the maximised state off
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

}  // namespace korvel
