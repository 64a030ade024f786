// The main window's procedure: messages, keys, the scroll bar, taps and commands.
#pragma once
#include <cstdint>

#include "platform/window.h"
#include "view/text_view.h"

intptr_t mainWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
// 0 when the command was handled, 1 when it goes on to the default handling.
int onCommand(WindowHandle window, WParam wParam);
void onSize(WindowHandle window, LParam lParam);
void onTap(WindowHandle window, WParam wParam, LParam lParam);
int handleTap(WindowHandle window, TextView* view, int x, int y, int redraw);
bool isInTextArea(const TextView* view, int x, int y);
// One page step from linesPainted and a 3-bit field of Flags (field mask).
int pageStep(const TextView* view, uint32_t fieldMask);
