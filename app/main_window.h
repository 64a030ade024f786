// The main window's handlers: keys, the scroll bar, taps, commands and its life.
#pragma once
#include <cstdint>

#include "platform/window.h"
#include "view/text_view.h"

// The handlers of the main window's class (registerMainClass registers them).
extern const WindowEvents kMainWindowEvents;

// A key on the reading page: 0 when handled, 1 when the window has no use for it.
int onKey(WindowHandle window, Key key);
// A command of the menu, the bar or the reader: 0 when handled, 1 when unknown.
int onCommand(WindowHandle window, int command);
// The view's area fitted to the window again (after the status line or its font changed).
void fitViewToWindow(WindowHandle window);
// The status line shown or hidden, the view's area made to fit.
void setStatusLine(WindowHandle window, bool on);
// The client area's new size, pixels.
void onSize(WindowHandle window, int width, int height);
void onTap(WindowHandle window, Point at);
int handleTap(WindowHandle window, TextView* view, int x, int y, int redraw);
bool isInTextArea(const TextView* view, int x, int y);
// One page step from linesPainted and a 3-bit field of Flags (field mask).
int pageStep(const TextView* view, uint32_t fieldMask);
