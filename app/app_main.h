// Start-up, the main window's creation and the event loop.
#pragma once
#include <cstdint>

#include "platform/handles.h"

inline constexpr char16_t kMainClass[] = u"Versewell";

// The whole run: switches, command line, single instance, settings, window, loop. `commandLine`
// is the text after the program name (null or empty: none); argc and argv are the program's
// arguments for the display, which is opened only once this start is known to be the reader
// (launchInstance). Returns the exit code: 0, or 2 when there is no display to open the window
// on (after saying so).
int appMain(const char16_t* commandLine, int* argc, char** argv);
// Claims the reader's place and creates the main window; null when the program is to end.
WindowHandle launchInstance();
void registerMainClass(const char16_t* className);
// What the running reader does when another start knocks: this week's lesson when it is in
// front, else come to the front (nothing when one of its own dialogs is in front).
void onSecondStart();
// True for "/today" in any letter case, with nothing before or after it.
bool isTodayCommandLine(const char16_t* commandLine);
