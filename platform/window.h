// Windows and the event loop. A window class is a name for a table of handlers (events.h);
// platform/qt turns the desktop's events into calls on them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw.h"
#include "platform/events.h"
#include "platform/handles.h"

// Window options.
enum WindowOptions : uint32_t {
    WindowPlain = 0,
    WindowVScroll = 1, // a vertical scroll bar along the client area's right edge
};

// Registers a window class by name: the handlers its windows get (not owned; they outlive the
// windows). Returns true (always, for a class it can hold).
bool registerWindowClass(const char16_t* className, const WindowEvents* events);

// Creates a top-level window of a registered class with the platform's default position and
// size. Its `created` handler runs before this returns. Returns null when the class is not
// registered or the window cannot be made.
WindowHandle createWindow(const char16_t* className, const char16_t* title, WindowOptions options);
// The handlers a window was made with (a dialog's: those it runs with), or null.
const WindowEvents* windowEvents(WindowHandle window);

// Calls the `destroyed` handler, then removes the window.
void destroyWindow(WindowHandle window);
void showWindow(WindowHandle window);
// Paints the window now (its `paint` handler, then the screen).
void updateWindow(WindowHandle window);

// Runs the event loop until the quit request; returns the quit code.
int runMessageLoop();

// Rectangles in screen coordinates (window) or client coordinates (client).
Rect windowRect(WindowHandle window);
Rect clientRect(WindowHandle window);
void moveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint);

// The window the user works in, its parent (null for a top-level one), and bringing a
// window to the front.
WindowHandle foregroundWindow();
WindowHandle parentWindow(WindowHandle window);
void setForegroundWindow(WindowHandle window);

// The window's persistent drawing surface: drawing on it shows at the next refresh of the
// screen. The context stays valid until the window is destroyed.
DcHandle getWindowDc(WindowHandle window);
void releaseWindowDc(WindowHandle window, DcHandle dc);

// The vertical scroll bar: range and position (a main window made with WindowVScroll, or a
// dialog, which gets its bar along the right edge of its client area on first use; a dialog's
// bar is hidden while its range is empty).
void setScrollRange(WindowHandle window, int minimum, int maximum, int position, bool redraw);
// Reads them back; false when the window has no scroll bar.
bool scrollRange(WindowHandle window, int* minimum, int* maximum, int* position);
// The thumb's length as a number of positions, what one page shows (0: the platform's own);
// the range's maximum stays reachable. scrollPage reads it back (-1 without a scroll bar).
void setScrollPage(WindowHandle window, int page);
int scrollPage(WindowHandle window);

// System metrics, pixels: the vertical scroll bar's width, a 3-D edge's width and height.
enum class Metric : uint8_t { ScrollBarWidth, EdgeWidth, EdgeHeight };
int systemMetric(Metric metric);

// Full-screen request: hiding the task bar makes the window full screen; the input-panel button
// and the start icon are no-ops on a desktop.
enum : uint32_t {
    FullScreenHideTaskBar = 0x02,
    FullScreenShowInputButton = 0x04,
    FullScreenHideInputButton = 0x08,
    FullScreenHideStartIcon = 0x20,
    // What a full-screen reader asks for: everything of the shell out of the way.
    FullScreenAll = FullScreenHideTaskBar | FullScreenHideInputButton | FullScreenHideStartIcon,
};
void fullScreenRequest(WindowHandle window, uint32_t flags);

// Asks the desktop to open an address (a web page) in the user's browser. No error dialog.
void openAddress(const char16_t* address);
// Test hook: while on, addresses are only recorded, and taken back here.
void recordOpenedAddresses(bool on);
std::vector<std::u16string> takeOpenedAddresses();

// True when the desktop prefers dark colours: its window colour is darker than its window
// text colour. False without a windowed application.
bool desktopIsDark();
// Test hook: gives the application a dark (true) or a light palette, as a desktop's theme
// change would; the windows hear of it (desktopColours).
void setDesktopPaletteForTest(bool dark);

// Delivers the events waiting for the windows (sizes, paints) without waiting for more. For
// tests that drive windows without a message loop.
void processPendingEvents();
