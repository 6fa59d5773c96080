#pragma once

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

}  // namespace korvel
