#include "app/window_create.h"

#include "app/navigation.h"
#include "content/resource.h"
#include "platform/bars.h"
#include "platform/draw.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "resources/menus.h"
#include "state/state.h"
#include "view/status_line.h"
#include "view/text_view.h"

void createBars(WindowHandle window) {
    if (appState.MenuBarOnBottom == 0) {
        appState.barWindow = createCommandBar(window, 1);
        appState.barHeight = commandBarHeight(appState.barWindow);
        commandBarInsertMenu(appState.barWindow, &kGoMenu, 0);
        commandBarInsertMenu(appState.barWindow, &kViewMenu, 1);
    } else {
        WindowHandle bar = createMenuBar(window, &kGoMenu, 0x4);
        if (bar) appState.barWindow = bar;
        commandBarInsertMenu(appState.barWindow, &kViewMenu, 1);
        Rect r = windowRect(appState.barWindow);
        appState.barHeight = r.bottom - r.top;
        moveWindow(appState.barWindow, r.left, r.top,
                   r.right - r.left - systemMetric(Metric::ScrollBarWidth), r.bottom - r.top, true);
    }
    barSetToolTips(appState.barWindow, kToolTips, 8);
    barAddBitmap(appState.barWindow, kToolBitmap, 7, 16, 16);
    barAddButtons(appState.barWindow, kToolButtons, 7);
    if (appState.FullScreen && appState.MenuBarOnBottom == 0) barAddAdornments(appState.barWindow);
    barShow(appState.barWindow);
    // The bar's final height is known once its buttons are on it.
    if (appState.MenuBarOnBottom == 0) appState.barHeight = commandBarHeight(appState.barWindow);
}

void createMainView(WindowHandle window) {
    DcHandle dc = getWindowDc(window);
    Rect r = clientRect(window);
    if (appState.MenuBarOnBottom) {
        r.bottom -= appState.barHeight;
    } else {
        r.top += appState.barHeight;
    }
    int g = appState.SurroundingGutter;
    if (r.bottom - r.top > 2 * g) r.top += g;
    if (r.right - r.left > 2 * g) r.left += g;
    appState.view = TextView_Create(dc, &r, &appState.fontSpec, 100);
    if (!appState.view) return;
    if (appState.statusLine) {
        appState.view->painted = drawStatusLine;
        appState.view->area.height -= statusLineHeight(appState.view);
    }
    uint8_t* text = LoadBookResource(appState.Lesson, nullptr);
    if (!text) {
        showMessageBox(window, u"Resource not found", u"Error", MessageBoxIconWarning);
        return;
    }
    appState.view->viewFlags = appState.PreviousLesson ? ReturnLinkShown : 0;
    if (TextView_SetText(appState.view, text, 0) != 0) {
        // Malformed, or no memory to lay it out: as for a lesson that cannot be loaded.
        plainFree(text);
        showMessageBox(window, u"Resource not found", u"Error", MessageBoxIconWarning);
        return;
    }
    appState.view->topLine = appState.LastPosition;
    syncScrollBar(window);
}

void onCreate(WindowHandle window) {
    appState.mainWindow = window;
    appState.desktopDark = desktopIsDark();
    createBars(window);
    createMainView(window);
    syncReverseCheck(window, 1);
    syncBookmarkCheck(window);
    syncHistoryItems(window);
    syncViewMenu(window);
}
