#include "view/reader_window.h"

#include "platform/memory.h"
#include "platform/window.h"
#include "resources/menus.h"
#include "state/state.h"

void keepShowingOldText(WindowHandle window) {
    TextView* view = appState.view;
    if (!view || !view->text) return;
    if (TextView_SetText(view, view->text, 0) != 0) {
        outOfMemory();
        return;
    }
    repaintView(window, RepaintAll);
}

void syncScrollBar(WindowHandle window) {
    if (!(appState.Flags & (FlagScrollBar | FlagScrollBarAlt)) || !appState.view) return;
    setScrollRange(window, 0, appState.view->maxTopLine, appState.view->topLine, true);
}

void paintView(DcHandle, WindowHandle, int flags) {
    // The view draws with the context it keeps, whatever context the paint came with.
    if ((flags & RepaintView) && appState.view) TextView_Paint(appState.view, flags & RepaintErase);
}

void repaintView(WindowHandle window, int flags) {
    if (!window) window = appState.mainWindow;
    DcHandle dc = getWindowDc(window);
    paintView(dc, window, flags);
    releaseWindowDc(window, dc);
    syncScrollBar(window);
}

MenuHandle getGoMenu() {
    return appState.MenuBarOnBottom ? menuBarSubMenu(appState.barWindow, CmdGoButton)
                                    : commandBarMenu(appState.barWindow, 0);
}

MenuHandle getViewMenu() {
    return commandBarMenu(appState.barWindow, 1);
}

void syncViewMenu(WindowHandle) {
    MenuHandle menu = getViewMenu();
    for (int i = 0; i < 4; ++i)
        setMenuItemChecked(menu, CmdColoursDesktop + i, int(appState.colourScheme) == i);
    setMenuItemChecked(menu, CmdStatusLine, appState.statusLine);
}

Place readerPlace() {
    return {appState.Lesson, appState.view ? appState.view->topLine : appState.LastPosition};
}

void recordJump(Place from) {
    historyJump(appState.history, from, readerPlace());
    syncHistoryItems(nullptr);
}

void syncHistoryItems(WindowHandle) {
    MenuHandle menu = getGoMenu();
    setMenuItemEnabled(menu, CmdBack, canStep(appState.history, -1));
    setMenuItemEnabled(menu, CmdForward, canStep(appState.history, 1));
}

int setMenuCheck(MenuHandle menu, int setMode, int command, int state) {
    if (setMode) {
        setMenuItemChecked(menu, command, state != 0);
        return state != 0 ? 1 : 0;
    }
    bool checked = menuItemChecked(menu, command);
    setMenuItemChecked(menu, command, !checked);
    return checked ? 0 : 1;
}

void syncBookmarkCheck(WindowHandle) {
    setMenuCheck(getGoMenu(), 1, CmdBookmark, isBookmarked());
}

void syncReverseCheck(WindowHandle, int mode) {
    int r = setMenuCheck(getGoMenu(), mode, CmdReverse, int(appState.Flags & FlagReverse));
    appState.Flags = r ? (appState.Flags | FlagReverse) : (appState.Flags & ~uint32_t(FlagReverse));
}

LessonPlace currentLessonPlace() {
    return {appState.Lesson, appState.LastPosition, appState.Flags};
}

void chooseLesson(uint16_t lesson) {
    appState.Flags |= FlagLessonChosen;
    if (appState.Lesson != lesson) {
        appState.Lesson = lesson;
        appState.LastPosition = 0;
    }
}

int showLessonText(TextView* view, uint8_t* text, const LessonPlace& kept, WindowHandle window) {
    int result = text ? TextView_SetText(view, text, 1) : ViewNoText;
    if (result == 0) return 0;
    plainFree(text);
    appState.Lesson = kept.lesson;
    appState.LastPosition = kept.position;
    appState.Flags = kept.flags;
    // Memory ran out half-way through the layout: the lesson on screen is laid out again.
    if (result == ViewOutOfMemory) keepShowingOldText(window);
    return result;
}
