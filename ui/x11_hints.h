#pragma once

class QWidget;

namespace korvel {

// Asks the window manager to give this top-level window no taskbar button
// (_NET_WM_STATE_SKIP_TASKBAR). Call it before the window is first shown. Does
// nothing on a platform other than X11.
void skipTaskbar(QWidget& window);

}  // namespace korvel
