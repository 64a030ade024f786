// What stands behind a window handle on Qt: the main window (a frame holding the client area
// and the scroll bar), a bar, a dialog or a dialog item. Private to platform/qt.
#pragma once
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QScrollBar>
#include <QToolBar>
#include <QWidget>

#include <map>
#include <string>
#include <vector>

#include "platform/bars.h"
#include "platform/dialog.h"
#include "platform/qt/qt_drawing.h"
#include "platform/window.h"

struct PlatformMenu {
    QMenu* menu = nullptr;
    std::map<int, QAction*> actions;
};

struct PlatformWindow {
    enum Kind { Main, Bar, Dialog, Item } kind = Main;
    WindowProc procedure = nullptr; // Main: the class procedure; Dialog: the dialog procedure
    uint32_t style = 0;
    QWidget* widget =
        nullptr; // Main: the frame; Bar: the tool bar; Dialog: the dialog; Item: the control
    QWidget* client = nullptr;       // Main: the client area
    QScrollBar* scrollBar = nullptr; // Main, when made with WindowVScroll
    QtImageDc* surface = nullptr; // Main: the persistent drawing surface; Item: a measuring context
    PlatformWindow* owner = nullptr; // Bar, Dialog, Item: whom it belongs to
    bool invalid = true;             // Main: the next refresh asks the procedure to paint
    bool destroyed = false;
    int id = 0; // Bar, Item: its id
    // Bars.
    bool bottom = false;
    PlatformMenu* menu = nullptr;
    std::vector<QImage> images;
    std::vector<std::u16string> tips;
    // Dialogs.
    intptr_t result = 0;
    bool ended = false;
    int templateId = 0;
    FontHandle itemFont = nullptr; // Item: its font as a handle (MsgGetFont)
};

// The window behind a widget, or null.
PlatformWindow* windowOf(const QWidget* widget);
void attachWindow(QWidget* widget, PlatformWindow* window);

// Keeps a main window's bars along its client area's edges.
void placeBars(PlatformWindow* main);

// A bitmap resource as an image (null image when absent).
QImage bitmapResource(int id);
