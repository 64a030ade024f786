// Moving between lessons, the return point a followed link leaves, and keeping the scroll
// bar and the menu's check marks in step with the view.
#pragma once
#include <cstdint>

#include "platform/bars.h"
#include "platform/handles.h"

// The one place where the current lesson is set. chosenLesson 0 lets the calendar choose
// (unless the reader's own choice stands and force is 0); any other value is made current as
// the reader's choice, without a range check. Updates appState's Lesson, LastPosition and the
// FlagLessonChosen bit of Flags.
void selectLesson(int32_t chosenLesson, int force);

// Opens `lesson` (0: this week's) at `position`; `link` 1 when following a link in the text.
// 0 when opened; 1 when it could not be loaded (the reader stays where it was).
int goToLesson(WindowHandle window, int lesson, int position, int link);
// After a layout of a new text failed for memory: lays the view's own text out again and
// repaints, or stops the reader as out of memory (outOfMemory) when even that fails.
void keepShowingOldText(WindowHandle window);
// The lesson `delta` away, 53 followed by 1, at its top.
int stepLesson(WindowHandle window, int delta);
int goNextLesson(WindowHandle window);
int goPreviousLesson(WindowHandle window);

void syncScrollBar(WindowHandle window);
// Repaints the view now (window null: the main window) and syncs the scroll bar.
void repaintView(WindowHandle window, int flags);
// Paints the view with its own context when flags has RepaintView (erasing first with
// RepaintErase).
void paintView(DcHandle dc, WindowHandle window, int flags);
MenuHandle getGoMenu();
// Set mode (non-zero): check when state is non-zero; toggle mode (0): flip. Returns the item's
// new state, 1 or 0.
int setMenuCheck(MenuHandle menu, int setMode, int command, int state);
void syncBookmarkCheck(WindowHandle window);
// Mode 1: the Reverse mark from Flags; mode 0: toggled. Flags follows the mark.
void syncReverseCheck(WindowHandle window, int mode);
