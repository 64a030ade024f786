#include "app/main_window.h"

#include "app/about.h"
#include "app/navigation.h"
#include "app/settings.h"
#include "app/window_create.h"
#include "content/lesson_records.h"
#include "dialogs/bookmarks.h"
#include "dialogs/choose_font.h"
#include "dialogs/choose_section.h"
#include "dialogs/clipboard_export.h"
#include "dialogs/search.h"
#include "dialogs/search_dialog.h"
#include "resources/menus.h"
#include "state/state.h"

namespace {
void scrollAndSync(WindowHandle window, int delta) {
    TextView_ScrollBy(appState.view, delta, 1, 1);
    syncScrollBar(window);
}

intptr_t onKeyDown(WindowHandle window, WParam key) {
    TextView* view = appState.view;
    switch (key) {
    case KeyReturn:
        if (appState.searchPattern[0]) SearchAgain(window);
        return 0;
    case KeyLeft:
        goPreviousLesson(window);
        return 0;
    case KeyRight:
        goNextLesson(window);
        return 0;
    default:
        break;
    }
    if (!view) return key >= KeyPageUp && key <= KeyDown ? 0 : 1;
    switch (key) {
    case KeyPageUp:
        scrollAndSync(window, -pageStep(view, FlagKeyPageStep));
        return 0;
    case KeyPageDown:
        scrollAndSync(window, pageStep(view, FlagKeyPageStep));
        return 0;
    case KeyEnd:
        scrollAndSync(window,
                      view->maxTopLine ? view->maxTopLine : pageStep(view, FlagKeyPageStep));
        return 0;
    case KeyHome:
        scrollAndSync(window, view->topLine ? -view->topLine : -pageStep(view, FlagKeyPageStep));
        return 0;
    case KeyUp:
        scrollAndSync(window, -1);
        return 0;
    case KeyDown:
        scrollAndSync(window, 1);
        return 0;
    default:
        return 1;
    }
}

intptr_t onVScroll(WindowHandle window, WParam wParam, LParam lParam) {
    TextView* view = appState.view;
    int request = int(wParam & 0xFFFF);
    int position = int16_t(wParam >> 16);
    int d = 0;
    if (view) {
        int lp = view->linesPainted;
        switch (request) {
        case ScrollLineUp:
            d = -1;
            break;
        case ScrollLineDown:
            d = 1;
            break;
        case ScrollPageUp:
            d = 1 - lp;
            break;
        case ScrollPageDown:
            d = lp - 1;
            break;
        case ScrollThumbPosition:
        case ScrollThumbTrack:
            d = position - view->topLine;
            break;
        case ScrollTop:
            d = -int(int16_t(view->topLine));
            break;
        case ScrollBottom:
            d = 1;
            break;
        default:
            break;
        }
        if (d) TextView_ScrollBy(view, d, 1, 1);
    }
    defWindowProc(window, MsgVScroll, wParam, lParam);
    if (d) syncScrollBar(window);
    return 1;
}
} // namespace

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

void onTap(WindowHandle window, WParam, LParam lParam) {
    int x = int(int16_t(lParam & 0xFFFF)), y = int(int16_t((lParam >> 16) & 0xFFFF));
    if (appState.view) handleTap(window, appState.view, x, y, 1);
}

void onSize(WindowHandle window, LParam lParam) {
    int w = int(lParam & 0xFFFF), h = int((lParam >> 16) & 0xFFFF);
    int g = appState.SurroundingGutter;
    if (w > 2 * g) w -= 2 * g;
    if (h > 2 * g) h -= 2 * g;
    TextView* view = appState.view;
    if (view && (view->area.width != w || view->area.height != h)) {
        // The same text in a new size: only memory can fail it, and the page would be blank.
        if (TextView_Resize(view, w, h - appState.barHeight) == ViewOutOfMemory && view->text) {
            outOfMemory();
            return;
        }
        syncScrollBar(window);
    }
}

int onCommand(WindowHandle window, WParam wParam) {
    int id = int(wParam & 0xFFFF);
    switch (id) {
    case CmdThisWeek:
        goToLesson(window, 0, 0, 0);
        return 0;
    case CmdNextArticle:
        goNextLesson(window);
        return 0;
    case CmdPreviousArticle:
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
    case CmdExit:
        destroyWindow(window);
        return 0;
    case CmdCopy:
        copyLessonToClipboard(appState.view, 0);
        return 0;
    case CmdAppend:
        copyLessonToClipboard(appState.view, 1);
        return 0;
    case CmdChooseArticle:
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
            if (TextView_SetFont(appState.view, &appState.fontSpec) == 1) {
                outOfMemory();
                return 0;
            }
            syncScrollBar(window);
        }
        return 0;
    case CmdSearch:
        runSearchDialog(appState.mainWindow);
        return 0;
    default:
        return 1;
    }
}

intptr_t mainWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    switch (message) {
    case MsgCreate:
        onCreate(window);
        return 0;
    case MsgDestroy:
        if (appState.view) releaseWindowDc(window, appState.view->dc);
        destroyBar(appState.barWindow);
        appState.barWindow = nullptr;
        saveSettingsAndQuit();
        return 0;
    case MsgSize:
        onSize(window, lParam);
        return 0;
    case MsgActivate:
        if (appState.IgnoreActivate) return defWindowProc(window, message, wParam, lParam);
        if (wParam & 0xFFFF)
            fullScreenRequest(window,
                              appState.FullScreen ? FullScreenAll : FullScreenHideInputButton);
        return 0;
    case MsgPaint:
        paintView(reinterpret_cast<DcHandle>(wParam), window, RepaintAll);
        return 0;
    case MsgSettingChange:
        return 0;
    case MsgPositionChanged: {
        auto* position = reinterpret_cast<const WindowPosition*>(lParam);
        if (position && (position->flags & 0xFFFF0000u) && (position->flags & 0x10))
            destroyWindow(window);
        return 0;
    }
    case MsgHelp:
        runAboutDialog(window);
        return 0;
    case MsgKeyDown:
        return onKeyDown(window, wParam);
    case MsgCommand:
        return onCommand(window, wParam) == 1 ? defWindowProc(window, message, wParam, lParam) : 0;
    case MsgVScroll:
        return onVScroll(window, wParam, lParam);
    case MsgLButtonDown:
        onTap(window, wParam, lParam);
        return 0;
    case MsgPrivateClose:
        destroyWindow(window);
        return 0;
    default:
        return defWindowProc(window, message, wParam, lParam);
    }
}
