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
        chooseLesson(uint16_t(chosenLesson));
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

namespace {
// goToLesson without the history.
int openLessonAt(WindowHandle window, int lesson, int position, int link) {
    TextView* view = appState.view;
    if (!view) return 1;
    LessonPlace kept = currentLessonPlace();
    appState.PreviousLesson = link == 1 ? appState.Lesson : 0;
    appState.PreviousPosition = view->topLine;
    view->viewFlags = uint16_t((view->viewFlags & ~ReturnLinkShown) | (link & 1));
    selectLesson(lesson, 1);
    uint8_t* text = LoadBookResource(appState.Lesson, nullptr);
    if (showLessonText(view, text, kept, window) != 0) return 1;
    view->topLine = uint16_t(position);
    repaintView(window, RepaintAll);
    syncBookmarkCheck(window);
    return 0;
}
} // namespace

int goToLesson(WindowHandle window, int lesson, int position, int link) {
    Place from = readerPlace();
    if (openLessonAt(window, lesson, position, link) != 0) return 1;
    recordJump(from);
    return 0;
}

int stepHistory(WindowHandle window, int step) {
    Place to{};
    if (!appState.view || !historyStep(appState.history, readerPlace(), step, &to)) return 1;
    if (openLessonAt(window, to.lesson, to.position, 0) != 0) {
        appState.history.current -= step; // the place could not be shown: still where it was
        syncHistoryItems(window);
        return 1;
    }
    TextView* view = appState.view;
    // A position of another font or window size may lie past the end of the page.
    if (view->topLine > view->maxTopLine) {
        view->topLine = view->maxTopLine;
        repaintView(window, RepaintAll);
    }
    syncHistoryItems(window);
    return 0;
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
