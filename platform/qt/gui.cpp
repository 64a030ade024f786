#include "platform/gui.h"

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

bool startGraphics(int* argc, char** argv) {
    if (QCoreApplication::instance())
        return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return false;
    }
    new QApplication(*argc, argv);
    QApplication::setApplicationName(QStringLiteral("versewell"));
    // The installed desktop entry's name, by which the desktop finds the reader's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quillmere.Versewell"));
    return true;
}

void stopGraphics() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete QCoreApplication::instance();
}
