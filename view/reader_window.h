// The reading view in the reader's window: painting it, its scroll bar, the Go menu's marks,
// and a change of lesson that is undone when the new text cannot be shown. The shell and the
// dialogs both call these.
#pragma once
#include <cstdint>

#include "platform/bars.h"
#include "platform/handles.h"
#include "view/text_view.h"

// The scroll bar follows the view (when the window has one).
void syncScrollBar(WindowHandle window);
// Repaints the view now (window null: the main window) and syncs the scroll bar.
void repaintView(WindowHandle window, int flags);
// Paints the view with its own context when flags has RepaintView (erasing first with
// RepaintErase).
void paintView(DcHandle dc, WindowHandle window, int flags);
// After a layout of a new text failed for memory: lays the view's own text out again and
// repaints, or stops the reader as out of memory (outOfMemory) when even that fails.
void keepShowingOldText(WindowHandle window);

MenuHandle getGoMenu();
// Set mode (non-zero): check when state is non-zero; toggle mode (0): flip. Returns the item's
// new state, 1 or 0.
int setMenuCheck(MenuHandle menu, int setMode, int command, int state);
void syncBookmarkCheck(WindowHandle window);
// Mode 1: the Reverse mark from Flags; mode 0: toggled. Flags follows the mark.
void syncReverseCheck(WindowHandle window, int mode);

// The View menu beside Go (null without a bar); its colour marks and the status line's mark
// from the state record.
MenuHandle getViewMenu();
void syncViewMenu(WindowHandle window);

// The place on screen: the current lesson at the view's reading position.
Place readerPlace();
// A jump from `from` to the place now on screen goes into the history; Back and Forward in the
// Go menu follow.
void recordJump(Place from);
// Back and Forward greyed while there is nothing that way.
void syncHistoryItems(WindowHandle window);

// What makes a lesson current in the state record, kept so that a failed change can be undone.
struct LessonPlace {
    uint16_t lesson, position; // Lesson, LastPosition
    uint32_t flags;            // Flags
};
LessonPlace currentLessonPlace();
// The reader's own choice of `lesson` (1..53, unchecked): it becomes Lesson (LastPosition 0
// when it changes) and FlagLessonChosen is set.
void chooseLesson(uint16_t lesson);
// Gives `view` the expanded `text` of the lesson the state record now names. 0 when taken (the
// view owns the text); otherwise TextView_SetText's failure (ViewNoText for a null text): the
// text freed, `kept` put back, and after ViewOutOfMemory the old text laid out again in
// `window` (null: the main window).
int showLessonText(TextView* view, uint8_t* text, const LessonPlace& kept, WindowHandle window);
