#include "app/main_window.h"

#include "app/about.h"
#include "app/navigation.h"
#include "app/settings.h"
#include "app/window_create.h"
#include "app/zoom.h"
#include "content/lesson_records.h"
#include "dialogs/bookmarks.h"
#include "dialogs/choose_font.h"
#include "dialogs/choose_section.h"
#include "dialogs/clipboard_export.h"
#include "dialogs/search.h"
#include "dialogs/search_dialog.h"
#include "resources/menus.h"
#include "state/state.h"
#include "view/status_line.h"

namespace {
void scrollAndSync(WindowHandle window, int delta) {
    TextView_ScrollBy(appState.view, delta, 1, 1);
    syncScrollBar(window);
}

// The Page keys, Home, End and the arrows up and down.
void scrollKey(WindowHandle window, TextView* view, Key key) {
    int page = pageStep(view, FlagKeyPageStep);
    switch (key) {
    case Key::PageUp:
        scrollAndSync(window, -page);
        break;
    case Key::PageDown:
        scrollAndSync(window, page);
        break;
    case Key::End:
        scrollAndSync(window, view->maxTopLine ? view->maxTopLine : page);
        break;
    case Key::Home:
        scrollAndSync(window, view->topLine ? -view->topLine : -page);
        break;
    case Key::Up:
        scrollAndSync(window, -1);
        break;
    case Key::Down:
        scrollAndSync(window, 1);
        break;
    default:
        break;
    }
}

// The scroll bar's requests, the wheel's among them, in lines.
void onScroll(WindowHandle window, ScrollRequest request, int position) {
    TextView* view = appState.view;
    if (!view) return;
    int d = scrollDelta(request, position, view->topLine, view->linesPainted - 1);
    if (!d) return;
    TextView_ScrollBy(view, d, 1, 1);
    syncScrollBar(window);
}

void onDestroyed(WindowHandle window) {
    if (appState.view) releaseWindowDc(window, appState.view->dc);
    destroyBar(appState.barWindow);
    appState.barWindow = nullptr;
    saveSettingsAndQuit();
}

void onActivate(WindowHandle window, bool active) {
    if (appState.IgnoreActivate || !active) return;
    fullScreenRequest(window, appState.FullScreen ? FullScreenAll : FullScreenHideInputButton);
}

void onPaint(WindowHandle window) {
    paintView(nullptr, window, RepaintAll);
}

bool onKeyEvent(WindowHandle window, Key key, KeyModifiers modifiers) {
    // Alt+Left and Alt+Right are Back and Forward (menu shortcuts); greyed, they do nothing.
    if ((modifiers & AltModifier) && (key == Key::Left || key == Key::Right)) return true;
    return onKey(window, key) == 0;
}

bool onWheel(WindowHandle window, int notches, KeyModifiers modifiers) {
    if (modifiers != ControlModifier) return false;
    zoomBy(window, notches);
    return true;
}

// The page, drawn again in the colours now asked for.
void repaintInColours(WindowHandle window) {
    syncViewMenu(window);
    if (appState.view) repaintView(window, RepaintAll);
}

void onDesktopColours(WindowHandle window) {
    bool dark = desktopIsDark();
    if (dark == appState.desktopDark) return;
    appState.desktopDark = dark;
    if (appState.colourScheme == ColourScheme::FollowDesktop) repaintInColours(window);
}

void onSideButton(WindowHandle window, SideButton button) {
    stepHistory(window, button == SideButton::Back ? -1 : 1);
}

void onCommandEvent(WindowHandle window, int command) {
    onCommand(window, command);
}
} // namespace

int onKey(WindowHandle window, Key key) {
    TextView* view = appState.view;
    switch (key) {
    case Key::Return:
        if (appState.searchPattern[0]) SearchAgain(window);
        return 0;
    case Key::Left:
        goPreviousLesson(window);
        return 0;
    case Key::Right:
        goNextLesson(window);
        return 0;
    case Key::PageUp:
    case Key::PageDown:
    case Key::End:
    case Key::Home:
    case Key::Up:
    case Key::Down:
        if (view) scrollKey(window, view, key);
        return 0;
    default:
        return 1;
    }
}

int pageStep(const TextView* view, uint32_t fieldMask) {
    uint32_t field = appState.Flags & fieldMask;
    uint32_t unit = fieldMask & ~(fieldMask << 1); // the field's lowest bit
    uint32_t value = field / unit;
    int lp = view->linesPainted;
    return value == 2 || value == 4 ? lp / 2 : lp - 1;
}

bool isInTextArea(const TextView* view, int x, int y) {
    int g = appState.SurroundingGutter;
    const ViewArea& a = view->area;
    return a.left - g <= x && x <= a.left + a.width + g && a.top - g <= y && y <= a.top + a.height;
}

int handleTap(WindowHandle window, TextView* view, int x, int y, int redraw) {
    if (!isInTextArea(view, x, y)) return 0;
    int link = TextView_HitTestLink(view, x, y);
    if (link == kReturnLink) {
        if (appState.PreviousLesson)
            goToLesson(window, appState.PreviousLesson, appState.PreviousPosition, 0);
        return 1;
    }
    if (link) {
        goToLesson(window, link, 0, 1);
        return 1;
    }
    if (!(appState.Flags & FlagTapPaging)) return 0;
    const ViewArea& a = view->area;
    bool vertical = appState.Flags & FlagTapVertical;
    int coordinate = vertical ? y : x;
    int middle = vertical ? a.top + a.height / 2 : a.left + a.width / 2;
    int step = pageStep(view, FlagTapPageStep);
    if (step < 0) step = -step;
    if (coordinate < middle) step = -step;
    TextView_ScrollBy(view, step, redraw, 1);
    syncScrollBar(window);
    return 1;
}

void onTap(WindowHandle window, Point at) {
    if (appState.view) handleTap(window, appState.view, at.x, at.y, 1);
}

void onSize(WindowHandle window, int width, int height) {
    int w = width, h = height;
    int g = appState.SurroundingGutter;
    if (w > 2 * g) w -= 2 * g;
    if (h > 2 * g) h -= 2 * g;
    TextView* view = appState.view;
    int below = appState.barHeight + statusLineHeight(view);
    if (view && (view->area.width != w || view->area.height != h)) {
        // The same text in a new size: only memory can fail it, and the page would be blank.
        if (TextView_Resize(view, w, h - below) == ViewOutOfMemory && view->text) {
            outOfMemory();
            return;
        }
        syncScrollBar(window);
    }
}

void fitViewToWindow(WindowHandle window) {
    Rect client = clientRect(window);
    onSize(window, client.right - client.left, client.bottom - client.top);
}

void setStatusLine(WindowHandle window, bool on) {
    appState.statusLine = on;
    syncViewMenu(window);
    if (!appState.view) return;
    appState.view->painted = on ? drawStatusLine : nullptr;
    fitViewToWindow(window);
    repaintView(window, RepaintAll);
}

int onCommand(WindowHandle window, int command) {
    switch (command) {
    case CmdThisWeek:
        goToLesson(window, 0, 0, 0);
        return 0;
    case CmdNextLesson:
        goNextLesson(window);
        return 0;
    case CmdPreviousLesson:
        goPreviousLesson(window);
        return 0;
    case CmdReverse:
        syncReverseCheck(window, 0);
        if (appState.view) TextView_Paint(appState.view, 1);
        return 0;
    case CmdCheckForUpdates:
        checkForUpdates(appState.mainWindow);
        return 0;
    case CmdAbout:
        runAboutDialog(window);
        return 0;
    case CmdSearchAgain:
        SearchAgain(appState.mainWindow);
        return 0;
    case CmdSearchBack:
        SearchPrevious(appState.mainWindow);
        return 0;
    case CmdExit:
        destroyWindow(window);
        return 0;
    case CmdCopy:
        copyLessonToClipboard(appState.view, 0);
        return 0;
    case CmdAppend:
        copyLessonToClipboard(appState.view, 1);
        return 0;
    case CmdChooseLesson:
    case CmdIndex: {
        uint16_t n = ChooseSection(appState.instance, appState.mainWindow, appState.Lesson,
                                   &appState.fontSpec);
        if (n > 0 && n != appState.Lesson) goToLesson(window, n, 0, 0);
        return 0;
    }
    case CmdBookmark:
        toggleBookmark(isBookmarked());
        syncBookmarkCheck(window);
        return 0;
    case CmdFont:
        if (runFontDialog(window, &appState.fontSpec) == DialogOk && appState.view) {
            appState.chosenFontSize = 0; // the dialog's size is the one Ctrl+0 returns to
            if (TextView_SetFont(appState.view, &appState.fontSpec) == 1) {
                outOfMemory();
                return 0;
            }
            fitViewToWindow(window);
            syncScrollBar(window);
        }
        return 0;
    case CmdSearch:
        if (runSearchDialog(appState.mainWindow) == SearchFindAllId)
            runFindAllDialog(appState.mainWindow);
        return 0;
    case CmdBack:
        stepHistory(window, -1);
        return 0;
    case CmdForward:
        stepHistory(window, 1);
        return 0;
    case CmdColoursDesktop:
    case CmdColoursLight:
    case CmdColoursDark:
    case CmdColoursSepia:
        appState.colourScheme = ColourScheme(command - CmdColoursDesktop);
        repaintInColours(window);
        return 0;
    case CmdStatusLine:
        setStatusLine(window, !appState.statusLine);
        return 0;
    case CmdZoomIn:
        zoomBy(window, 1);
        return 0;
    case CmdZoomOut:
        zoomBy(window, -1);
        return 0;
    case CmdZoomReset:
        zoomReset(window);
        return 0;
    default:
        return 1;
    }
}

const WindowEvents kMainWindowEvents = {
    .created = onCreate,
    .destroyed = onDestroyed,
    .size = onSize,
    .activate = onActivate,
    .paint = onPaint,
    .key = onKeyEvent,
    .tap = onTap,
    .scroll = onScroll,
    .wheel = onWheel,
    .sideButton = onSideButton,
    .desktopColours = onDesktopColours,
    .command = onCommandEvent,
};
