// Moving between lessons and the return point a followed link leaves.
#pragma once
#include <cstdint>

#include "platform/bars.h"
#include "platform/handles.h"
#include "view/reader_window.h"

// Sets the current lesson. chosenLesson 0 lets the calendar choose (unless the reader's own
// choice stands and force is 0); any other value is made current as the reader's choice
// (chooseLesson), without a range check. Updates appState's Lesson, LastPosition and the
// FlagLessonChosen bit of Flags.
void selectLesson(int32_t chosenLesson, int force);

// Opens `lesson` (0: this week's) at `position`; `link` 1 when following a link in the text.
// The jump goes into the history.
// 0 when opened; 1 when it could not be loaded (the reader stays where it was).
int goToLesson(WindowHandle window, int lesson, int position, int link);
// Back (step -1) or Forward (+1) through the history, to the lesson and reading position kept
// there; not itself a jump the history records. 0 when moved; 1 when there is nothing that way
// or the lesson could not be shown.
int stepHistory(WindowHandle window, int step);
// The lesson `delta` away, 53 followed by 1, at its top.
int stepLesson(WindowHandle window, int delta);
int goNextLesson(WindowHandle window);
int goPreviousLesson(WindowHandle window);

// The view in its window, the Go menu's marks and the undoable lesson change: view/reader_window.h.
