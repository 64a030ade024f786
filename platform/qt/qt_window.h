// What stands behind a window handle on Qt: the main window (a frame holding the client area
// and the scroll bar), a bar, a dialog or a dialog item. Private to platform/qt.
#pragma once
#include <QAction>
#include <QDialog>
#include <QIcon>
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
    const WindowEvents* events = nullptr; // Main: its class's handlers; Dialog: its own
    void* dialogState = nullptr;          // Dialog: the state runDialog was given
    QWidget* widget =
        nullptr; // Main: the frame; Bar: the tool bar; Dialog: the dialog; Item: the control
    QWidget* client = nullptr;       // Main, Dialog: the client area (a SurfaceWidget)
    QScrollBar* scrollBar = nullptr; // Main, when made with WindowVScroll; Dialog, once used
    // Main, Dialog: the persistent drawing surface (a dialog's once it asks for its context);
    // Bar, Item: a context to measure in.
    QtImageDc* surface = nullptr;
    PlatformWindow* owner = nullptr; // Bar, Dialog, Item: whom it belongs to
    bool invalid = true;             // Main, Dialog: the next refresh calls the paint handler
    bool eraseNeeded = false;        // Dialog: the next paint erases the background first
    bool destroyed = false;
    int id = 0; // Bar, Item: its id
    // Bars.
    bool bottom = false;
    PlatformMenu* menu = nullptr;         // the first menu button's
    std::vector<PlatformMenu*> moreMenus; // the menu buttons' after it, in order
    std::vector<QImage> images;
    std::vector<std::u16string> tips;
    // Dialogs.
    intptr_t result = 0;
    bool ended = false;
    int templateId = 0;
    QWidget* buttonBox = nullptr;      // Dialog: the OK and Cancel buttons
    FontHandle ownFont = nullptr;      // Item: its own font as a handle (itemFont), owned
    FontHandle assignedFont = nullptr; // Item: the font setItemFont gave it, not owned
    DialogItemKind itemKind = DialogItemKind::Static; // Item
    ItemStyle itemStyle = ItemPlain;                  // Item: its template's styles
    int radioGroup = 0; // Item: radio buttons with the same number (not 0) form a group
};

// The window behind a widget, or null.
PlatformWindow* windowOf(const QWidget* widget);
void attachWindow(QWidget* widget, PlatformWindow* window);

// Keeps a main window's bars along its client area's edges.
void placeBars(PlatformWindow* main);
// Keeps a dialog's scroll bar along its client area's right edge (hidden while its range is
// empty).
void placeDialogScrollBar(PlatformWindow* dialog);
// Grows a dialog whose items reach past its client area (its text items grown to their texts,
// or an item its procedure made larger) and one too narrow for its OK and Cancel row, keeping
// the template's left margin on the right. A dialog never shrinks here.
void fitDialogToItems(PlatformWindow* dialog);
// The dialog an item belongs to, or the dialog itself; null for other windows.
PlatformWindow* dialogOf(PlatformWindow* window);

// A bitmap resource as an image (null image when absent).
QImage bitmapResource(int id);
// The image at `ratio` device pixels per pixel, each pixel repeated (never smoothed, so that a
// bitmap's lines stay sharp), with that ratio set: it shows at the image's own logical size.
QImage atDeviceRatio(const QImage& image, double ratio);
// An icon of the image for every ratio up to 4, each made by atDeviceRatio.
QIcon sharpIcon(const QImage& image);
