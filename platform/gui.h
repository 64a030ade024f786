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
