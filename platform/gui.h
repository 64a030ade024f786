// Starting the platform's graphics support.
#pragma once

// Starts fonts and images without any window, so that nothing needs a display (the headless
// command-line modes, tests). Idempotent.
void startHeadlessGraphics();

// Starts the windowed application (once, before any window). Returns false when there is no
// display to show windows on.
bool startGraphics(int* argc, char** argv);

// Ends the windowed application started by startGraphics (before the process ends, so that
// its threads stop in order).
void stopGraphics();

// Test hook: the desktop's font (the one dialogs and their items are shown in), as a change of
// the desktop's settings would set it: `family` (null: the one it had at start) at `pointSize`
// points (0: the size it had at start). Needs the windowed application.
void setDesktopFont(const char16_t* family, int pointSize);
