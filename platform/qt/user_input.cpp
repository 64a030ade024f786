// Test hooks that act as the user: key and mouse events delivered through Qt's own event
// handling, so that focus, propagation and the widgets' behaviour are the real ones.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "platform/qt/qt_events.h"
#include "platform/qt/qt_window.h"

namespace {
// Where a key goes: the item itself, or the widget of the dialog that has (or will get) the
// focus, else the dialog's client area.
QWidget* keyTarget(WindowHandle window) {
    if (!window || !window->widget) return nullptr;
    if (window->kind == PlatformWindow::Item) return window->widget;
    if (QWidget* focus = window->widget->focusWidget()) return focus;
    return window->client ? window->client : window->widget;
}

void sendKey(QWidget* target, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

QString keyText(int key) {
    switch (key) {
    case Qt::Key_Return:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QString(QChar(0x1B));
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    case Qt::Key_Space:
        return QStringLiteral(" ");
    case Qt::Key_Backspace:
        return QString(QChar(0x08));
    default:
        return key >= Qt::Key_A && key <= Qt::Key_Z ? QString(QChar(key)) : QString();
    }
}
} // namespace

void userTypes(WindowHandle window, const char16_t* text) {
    for (const char16_t* c = text; c && *c; ++c) {
        QWidget* target = keyTarget(window); // again for every key: Tab moves the focus
        if (!target) return;
        QChar ch(*c);
        int key = ch.toUpper().unicode() >= 'A' && ch.toUpper().unicode() <= 'Z'
                      ? int(ch.toUpper().unicode())
                  : *c == u' ' ? int(Qt::Key_Space)
                               : int(Qt::Key_unknown);
        sendKey(target, key, QString(ch));
    }
}

void userPressesKey(WindowHandle window, Key name) {
    QWidget* target = keyTarget(window);
    int key = qtKeyOf(name);
    if (target && key) sendKey(target, key, keyText(key));
}

void userClicks(WindowHandle window, int x, int y) {
    if (!window || !window->widget) return;
    QWidget* base = window->client ? window->client : window->widget;
    QWidget* target = base->childAt(x, y);
    if (!target) target = base;
    QPointF local = target->mapFrom(base, QPointF(x, y));
    QPointF global = target->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void userTurnsWheel(WindowHandle window, int angle, int pixels) {
    if (!window || !window->widget) return;
    QWidget* target = window->client ? window->client : window->widget;
    QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(0, pixels), QPoint(0, angle),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

void userCloses(WindowHandle dialog) {
    if (dialog && dialog->widget) dialog->widget->close();
}
