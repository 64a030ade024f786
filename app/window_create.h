// What the main window gets when it is created: the bar, the reading view with the current
// lesson, the menu's check marks.
#pragma once
#include "platform/handles.h"

// The whole creation (the window's create message); keeps the window in appState.mainWindow.
void onCreate(WindowHandle window);
// The command bar at the top, or the menu bar at the bottom (MenuBarOnBottom), with the Go menu
// and the tool buttons; appState.barWindow and barHeight follow.
void createBars(WindowHandle window);
// The view over the client area less the bar and the gutter, showing the current lesson at
// LastPosition; "Resource not found" when the lesson cannot be shown (the view stays empty).
void createMainView(WindowHandle window);
