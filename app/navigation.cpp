#include "app/navigation.h"

#include "calendar/hebrew_calendar.h"
#include "calendar/weekly_lesson.h"
#include "content/book_constants.h"
#include "content/resource.h"
#include "dialogs/bookmarks.h"
#include "platform/memory.h"
#include "platform/window.h"
#include "resources/menus.h"
#include "state/state.h"
#include "view/text_view.h"

void selectLesson(int32_t chosenLesson, int force) {
    if (chosenLesson != 0) {
        appState.Flags |= FlagLessonChosen;
        if (appState.Lesson != uint16_t(chosenLesson)) {
            appState.Lesson = uint16_t(chosenLesson);
            appState.LastPosition = 0;
        }
        return;
    }
    // The reader's own choice stands unless the calendar is asked for.
    if ((appState.Flags & FlagLessonChosen) && !force) return;
    CivilDate today = todayCivil();
    uint16_t lesson =
        uint16_t(weeklyLessonForDay(dayFromCivil(today.month, today.day, today.year)));
    if (lesson != appState.Lesson) {
        appState.LastPosition = 0;
        appState.Lesson = lesson;
    }
    if (appState.Lesson == 0 || appState.Lesson > kLessonCount) appState.Lesson = 1;
    appState.Flags &= ~uint32_t(FlagLessonChosen);
}

int goToLesson(WindowHandle window, int lesson, int position, int link) {
    TextView* view = appState.view;
    if (!view) return 1;
    uint16_t keptLesson = appState.Lesson;
    uint32_t keptFlags = appState.Flags;
    appState.PreviousLesson = link == 1 ? appState.Lesson : 0;
    appState.PreviousPosition = view->topLine;
    view->viewFlags = uint16_t((view->viewFlags & ~ReturnLinkShown) | (link & 1));
    selectLesson(lesson, 1);
    uint8_t* text = LoadBookResource(appState.Lesson, nullptr);
    int result = text ? TextView_SetText(view, text, 1) : ViewNoText;
    if (result != 0) {
        plainFree(text);
        appState.Lesson = keptLesson;
        appState.Flags = keptFlags;
        // Memory ran out half-way through the layout: the lesson on screen is laid out again.
        if (result == ViewOutOfMemory) keepShowingOldText(window);
        return 1;
    }
    view->topLine = uint16_t(position);
    repaintView(window, RepaintAll);
    syncBookmarkCheck(window);
    return 0;
}

void keepShowingOldText(WindowHandle window) {
    TextView* view = appState.view;
    if (!view || !view->text) return;
    if (TextView_SetText(view, view->text, 0) != 0) {
        outOfMemory();
        return;
    }
    repaintView(window, RepaintAll);
}

int stepLesson(WindowHandle window, int delta) {
    int n = appState.Lesson + delta;
    if (n > kLessonCount) {
        n = 1;
    } else if (n < 1) {
        n = kLessonCount;
    }
    return goToLesson(window, n, 0, 0);
}

int goNextLesson(WindowHandle window) {
    return stepLesson(window, 1);
}
int goPreviousLesson(WindowHandle window) {
    return stepLesson(window, -1);
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
