// What the subsystems below the shell ask of it. The shell (app/) fills the record once at start,
// before anything else runs (installShellRequests); the dialogs and the out-of-memory stop call
// through it, so that no lower library calls up into the shell.
#pragma once
#include <cstdint>

#include "platform/handles.h"

struct ShellRequests {
    // Stores the settings, releases the owned buffers and posts the quit request.
    void (*saveSettingsAndQuit)();
    // Makes `lesson` current (0: this week's, unless the reader's own choice stands and force
    // is 0).
    void (*selectLesson)(int32_t lesson, int force);
    // Repaints the view now (window null: the main window) with TextView_Paint's flags and
    // syncs the scroll bar.
    void (*repaintView)(WindowHandle window, int flags);
    // The Go menu's bookmark mark follows the current lesson.
    void (*syncBookmarkCheck)(WindowHandle window);
    // After a layout failed for memory: the view's own text again, or the out-of-memory stop.
    void (*keepShowingOldText)(WindowHandle window);
};

// The one instance; every entry is null until the shell fills it.
extern ShellRequests shellRequests;
