// Qt's events as the reader's message parameters: one translation per kind, shared by the
// main window and the dialogs. Private to platform/qt.
#pragma once
#include <QScrollBar>

#include "platform/window.h"

struct PlatformWindow;

// A client position as a message's lParam: x in the low 16 bits, y in the high 16.
LParam packPoint(int x, int y);

// A Qt key as a virtual-key code (0 for keys the reader has no code for), and back.
uint32_t virtualKey(int qtKey);
int qtKeyOf(uint32_t virtualKey);

// Makes `bar`'s actions send vertical scroll requests (request | thumb position << 16) to
// `window`, and its release the thumb position and the end of the scroll.
void connectScrollBar(PlatformWindow* window, QScrollBar* bar);
