// Starting the platform's graphics support.
#pragma once

// Starts fonts and images without any window, so that nothing needs a display (the headless
// command-line modes, tests). Idempotent.
void startHeadlessGraphics();
