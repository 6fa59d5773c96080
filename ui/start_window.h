#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class QScreen;

namespace korvel {

class frmGame;
class QtPlatform;

// The start window: a black, borderless backdrop over the whole screen, with no
// taskbar button. Creating it shows the credits box; once it is shown and
// active, it opens the game window modally on top of itself.
class frmMain : public QWidget {
    Q_OBJECT
public:
    static const QString CreditsTitle;
    // Two lines of credits joined by LF then CR.
    static const std::string CreditsText;

    // Runs Form_Load: shows the credits box and returns once it is closed. The
    // window itself is not shown yet.
    explicit frmMain(QtPlatform& platform);
    ~frmMain() override;

    // Shows the backdrop full-screen, panels included, on the screen under the
    // pointer, and asks to make it active.
    void showBackdrop();

    // The game window, once Form_Activate has created it.
    [[nodiscard]] frmGame* gameWindow() const { return game_.get(); }

    // None while the X server paints the backdrop: Qt then paints nothing.
    [[nodiscard]] QPaintEngine* paintEngine() const override;

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // How long the backdrop, once on screen, waits for the window manager to
    // activate it before it opens the game window anyway.
    static constexpr int ActivationGraceMs = 250;
    // How long the backdrop lets a change of the screens settle, the window
    // manager's own moves included, before it fits the windows to them.
    static constexpr int ScreenSettleMs = 150;

    void Form_Load();
    void activated();
    // Brings the backdrop back from the window manager's "show desktop",
    // full-screen, with the game window over it.
    void restoreBackdrop();
    // Watches every screen, and fits the windows to them a moment later.
    void screensChanged();
    // Covers the backdrop's screen, or another if that one is gone, and centres
    // the game window and any notice on it.
    void fitToScreen();
    void Form_Activate();

    QtPlatform& platform_;
    std::unique_ptr<frmGame> game_;
    QPointer<QScreen> screen_;  // the screen that the backdrop covers
    QTimer fitTimer_;
    bool blackFromServer_ = false;
    bool formActivateQueued_ = false;
};

}  // namespace korvel
