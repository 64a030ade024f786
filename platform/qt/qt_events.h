// Qt's events in the reader's words: one translation per kind, shared by the main window and
// the dialogs. Private to platform/qt.
#pragma once
#include <QScrollBar>

#include <optional>

#include "platform/events.h"

struct PlatformWindow;

// A Qt key as the reader's key (none for keys it has no name for), and back.
std::optional<Key> keyOf(int qtKey);
int qtKeyOf(Key key);
KeyModifiers modifiersOf(Qt::KeyboardModifiers modifiers);

// The window's handlers, or null when it has none or is being destroyed.
const WindowEvents* liveEvents(const PlatformWindow* window);

// Makes `bar`'s actions ask `window` to scroll (with the thumb's position), and its release
// the thumb position and the end of the scroll.
void connectScrollBar(PlatformWindow* window, QScrollBar* bar);
// Delivers one scroll request to the window's handler, if it has one.
void deliverScroll(PlatformWindow* window, ScrollRequest request, int position);
// Delivers one command to the window's handler (a main window), if it has one.
void deliverCommand(PlatformWindow* window, int command);
// The user closes the window: its close handler, else destroyWindow.
void deliverClose(PlatformWindow* window);
