#include "platform/gui.h"
#include "platform/qt/reader_style.h"
#include "platform/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QGuiApplication>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
// Headless runs need no runtime folder; Qt's notice that there is none is noise there.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths:"))) return;
    qt_message_output(type, context, message);
}
} // namespace

void startHeadlessGraphics() {
    if (QCoreApplication::instance()) return;
    qInstallMessageHandler(quietHandler);
    // The offscreen platform draws and measures like any other and needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "versewell";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

#include <QApplication>

namespace {
// Qt's X11 platform aborts the process when its display does not answer. When X11 is what Qt
// will use, knock on the display's socket first: a plain connection, kept open until Qt has
// made its own (an X server may turn away a connection that follows a client's goodbye too
// closely, so the probe says no goodbye before Qt is in). Returns the open socket, -1 when
// nothing listens, or -2 when there is nothing to ask (another platform, a remote display).
int knockOnDisplay() {
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    bool x11 = platform.isEmpty() ? qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                  : platform.startsWith("xcb");
    QByteArray display = qgetenv("DISPLAY");
    int colon = display.lastIndexOf(':');
    if (!x11 || colon < 0) return -2;
    QByteArray host = display.left(colon);
    if (!host.isEmpty() && host != "unix") return -2; // Qt reports a remote display itself
    QByteArray number = display.mid(colon + 1);
    if (int dot = number.indexOf('.'); dot >= 0) number.truncate(dot);
    bool ok = false;
    int n = number.toInt(&ok);
    if (!ok || n < 0) return -1;
    std::string path = "/tmp/.X11-unix/X" + std::to_string(n);
    // The abstract name first, as the X library tries it, then the socket file.
    for (bool abstract : {true, false}) {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return -1;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + (abstract ? 1 : 0), path.c_str(), path.size());
        // The abstract name's leading 0, or the file name's ending 0.
        socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + path.size() + 1);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) return fd;
        ::close(fd);
    }
    return -1;
}
} // namespace

bool startGraphics(int* argc, char** argv) {
    if (QCoreApplication::instance())
        return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return false;
    }
    int knock = knockOnDisplay();
    if (knock == -1) return false;
    new QApplication(*argc, argv);
    if (knock >= 0) ::close(knock);
    QApplication::setApplicationName(QStringLiteral("versewell"));
    installReaderStyle();
    // The installed desktop entry's name, by which the desktop finds the reader's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quillmere.Versewell"));
    serveSingleInstance();
    return true;
}

void stopGraphics() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete QCoreApplication::instance();
}
