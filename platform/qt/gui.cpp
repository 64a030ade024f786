#include "platform/gui.h"
#include "platform/single_instance.h"

#include <QGuiApplication>

#include <cstdlib>

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

#include <dlfcn.h>
#include <unistd.h>

namespace {
// Qt's X11 platform aborts the process when its display does not answer. When X11 is what Qt
// will use, ask the display first, through the same library Qt connects with.
bool displayAnswers() {
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    bool x11 = platform.isEmpty() ? qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                  : platform.startsWith("xcb");
    if (!x11) return true;
    void* xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!xcb) return true; // Qt will report what is missing itself
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    auto connect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    auto hasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    auto disconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool answers = true;
    // A server busy with a client that just died can turn one connection away: ask a few
    // times before calling the display absent.
    for (int attempt = 0; connect && hasError && disconnect && attempt < 5; ++attempt) {
        if (attempt) usleep(100 * 1000);
        void* connection = connect(nullptr, nullptr);
        answers = connection && hasError(connection) == 0;
        if (connection) disconnect(connection);
        if (answers) break;
    }
    dlclose(xcb);
    return answers;
}
} // namespace

bool startGraphics(int* argc, char** argv) {
    if (QCoreApplication::instance())
        return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return false;
    }
    if (!displayAnswers()) return false;
    new QApplication(*argc, argv);
    QApplication::setApplicationName(QStringLiteral("versewell"));
    serveSingleInstance();
    return true;
}

void stopGraphics() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete QCoreApplication::instance();
}
