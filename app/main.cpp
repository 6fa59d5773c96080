#include <QApplication>
#include <QList>
#include <QProcessEnvironment>
#include <QProxyStyle>
#include <QString>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <langinfo.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ui/qt_platform.h"
#include "ui/start_window.h"
#include "ui/x11_hints.h"

namespace {

// Qt reports a missing display with several warnings and then aborts with a
// core dump. While the application object is being built, hold its messages
// back; if it gives up, say so in one line and exit with a failure status.
struct HeldMessage {
    QtMsgType type;
    QString text;
};
QList<HeldMessage> heldMessages;

void holdMessage(QtMsgType type, const QMessageLogContext& /*context*/, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs("korvel: cannot open a display; run it from a graphical session\n", stderr);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    heldMessages.append({type, text});
}

void releaseHeldMessages() {
    qInstallMessageHandler(nullptr);
    for (const HeldMessage& message : heldMessages) {
        std::fprintf(stderr, "%s\n",
                     qUtf8Printable(qFormatLogMessage(message.type, {}, message.text)));
    }
    heldMessages.clear();
}

// The message boxes show a plain OK button. Qt's own style would put the icon
// theme's OK icon on it, and looking that up takes about a third of the time
// that the credits box needs to be built at start-up.
class PlainDialogButtons : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Qt settings that suit this program, where the user has not chosen otherwise.
void setQtDefaults() {
    // In a Wayland session Qt would talk Wayland where its plugin is installed.
    // There a program may not place its windows (no centred game window), nor
    // raise or activate them (the game could not take the keyboard back), nor
    // keep the backdrop off the taskbar. Through XWayland, where there is an
    // X display, the game looks and behaves the same on every desktop; Wayland
    // stays the fallback when the X display cannot be opened.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    }
    // Each tick repaints a few cells, some kilobytes of pixels. Sent through
    // shared memory, every repaint also waits for the X server's completion
    // event: twice the wake-ups, and more CPU than copying the pixels through
    // the socket.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
}

// Qt reads and writes text in UTF-8 only. Where the locale's characters are
// in another encoding (the C locale of a bare X session, of a launcher that
// sets none, or of root's shell), newer Qt versions switch the characters to
// UTF-8 on their own and say so at every start. Qt reads the locale from the
// environment, so the same switch is made there before Qt starts: characters
// in UTF-8, everything else of the locale as it was.
void useUtf8Characters() {
    if (std::setlocale(LC_ALL, "") == nullptr) {
        // A locale that this system does not have: all of it stays "C".
        qputenv("LC_ALL", "C.UTF-8");
        return;
    }
    const char* encoding = nl_langinfo(CODESET);
    if (strcasecmp(encoding, "UTF-8") == 0 || strcasecmp(encoding, "utf8") == 0) {
        return;
    }
    std::string language = std::setlocale(LC_CTYPE, nullptr);
    language = language.substr(0, language.find_first_of(".@"));
    std::string characters;
    for (const std::string& name : {language + ".UTF-8", std::string("C.UTF-8")}) {
        if (std::setlocale(LC_CTYPE, name.c_str()) != nullptr) {
            characters = name;
            break;
        }
    }
    if (characters.empty()) {
        return;  // no UTF-8 locale at all: Qt says so
    }
    // LC_ALL overrides every category. As LANG, the same locale gives way to
    // LC_CTYPE alone; the other categories that it overrode go.
    if (const QByteArray all = qgetenv("LC_ALL"); !all.isEmpty()) {
        for (const QString& variable : QProcessEnvironment::systemEnvironment().keys()) {
            if (variable.startsWith(QLatin1String("LC_"))) {
                qunsetenv(variable.toLatin1().constData());
            }
        }
        qputenv("LANG", all);
    }
    qputenv("LC_CTYPE", QByteArray::fromStdString(characters));
}

// Whether `path` is a directory of this user's that no one else may enter, as
// a runtime directory must be.
bool privateDirectory(const QByteArray& path) {
    struct stat info = {};
    return !path.isEmpty() && ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700;
}

// The game writes no files and leaves nothing behind. Qt, started outside a
// login session, would do both: without XDG_RUNTIME_DIR it warns and creates
// a runtime directory in /tmp, and without a session bus its D-Bus library
// starts a bus daemon of its own that outlives the game, and writes its
// address under the home directory.
void stayWithinTheSession() {
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        // Where the session's own would be, or else the home directory when it
        // is private: Qt only looks things up there.
        const QByteArray session = "/run/user/" + QByteArray::number(::geteuid());
        const QByteArray home = qgetenv("HOME");
        for (const QByteArray& candidate : {session, home}) {
            if (privateDirectory(candidate)) {
                qputenv("XDG_RUNTIME_DIR", candidate);
                break;
            }
        }
    }
    // A session bus is used where there is one (screen readers read the boxes
    // through it), and none is started where there is none.
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")) {
        const QByteArray bus = qgetenv("XDG_RUNTIME_DIR") + "/bus";
        struct stat info = {};
        const bool found = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR") &&
                           ::stat(bus.constData(), &info) == 0 && S_ISSOCK(info.st_mode);
        qputenv("DBUS_SESSION_BUS_ADDRESS", found ? "unix:path=" + bus : QByteArray("disabled:"));
    }
}

}  // namespace

int main() {
    useUtf8Characters();
    setQtDefaults();
    stayWithinTheSession();
    qInstallMessageHandler(holdMessage);
    // The game takes no command line. Qt would take options from it: another
    // platform (a VNC server open to the network, or none to be seen), style
    // sheets and icons read from files, other window titles and classes.
    int qtArgc = 1;
    char name[] = "korvel";
    char* qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    releaseHeldMessages();
    korvel::keepTitlesReadable();
    // The display name falls back to this. Setting it as well would make Qt
    // on X11 append " — Korvel" to every window caption.
    QApplication::setApplicationName(QString::fromLatin1(korvel::QtPlatform::ApplicationTitle));
    // Based on whichever style the user's settings chose.
    QApplication::setStyle(new PlainDialogButtons(QApplication::style()->name()));

    korvel::QtPlatform platform;
    korvel::frmMain start(platform);
    start.showBackdrop();
    return QApplication::exec();
}
