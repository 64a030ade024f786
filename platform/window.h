// Windows and the message loop. The main window's procedure receives the reader's messages
// with their numbers and parameters; platform/qt translates the desktop's events into them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw.h"
#include "platform/handles.h"

using WParam = uintptr_t;
using LParam = intptr_t;
using WindowProc = intptr_t (*)(WindowHandle window, uint32_t message, WParam wParam,
                                LParam lParam);

// Message numbers.
enum : uint32_t {
    MsgCreate = 0x0001,
    MsgDestroy = 0x0002,
    MsgSize = 0x0005,     // lParam: client width (low 16 bits), height (high 16 bits)
    MsgActivate = 0x0006, // wParam low 16 bits: non-zero when the window becomes active
    MsgPaint = 0x000F,    // wParam: a drawing context or 0
    MsgClose = 0x0010,
    MsgEraseBackground = 0x0014, // wParam: the drawing context; result non-zero: erased
    MsgSettingChange = 0x001A,
    MsgDrawItem = 0x002B,        // lParam: DrawItem*
    MsgSetFont = 0x0030,         // wParam: FontHandle, lParam: redraw
    MsgGetFont = 0x0031,         // result: FontHandle
    MsgPositionChanged = 0x0047, // lParam: WindowPosition*
    MsgHelp = 0x0053,
    MsgKeyDown = 0x0100,     // wParam: virtual-key code
    MsgInitDialog = 0x0110,  // lParam: the dialog's parameter
    MsgCommand = 0x0111,     // wParam low 16 bits: command id, high 16 bits: notification
    MsgVScroll = 0x0115,     // wParam low 16 bits: request, high 16 bits: thumb position
    MsgLButtonDown = 0x0201, // lParam: client x (low 16 bits), y (high 16 bits)
    MsgPrivateClose = 0x03FF,
};

// Virtual-key codes the reader uses.
enum : uint32_t {
    KeyBackspace = 0x08,
    KeyTab = 0x09,
    KeyReturn = 0x0D,
    KeyEscape = 0x1B,
    KeySpace = 0x20,
    KeyPageUp = 0x21,
    KeyPageDown = 0x22,
    KeyEnd = 0x23,
    KeyHome = 0x24,
    KeyLeft = 0x25,
    KeyUp = 0x26,
    KeyRight = 0x27,
    KeyDown = 0x28,
    KeyDelete = 0x2E,
};

// Vertical scroll requests.
enum : uint32_t {
    ScrollLineUp = 0,
    ScrollLineDown = 1,
    ScrollPageUp = 2,
    ScrollPageDown = 3,
    ScrollThumbPosition = 4,
    ScrollThumbTrack = 5,
    ScrollTop = 6,
    ScrollBottom = 7,
    ScrollEndScroll = 8,
};

// Window styles.
enum : uint32_t { WindowVisible = 0x10000000, WindowVScroll = 0x00200000 };

// The record of a position change: a flag word (bits 16-31 with 0x10 ask the window to close).
struct WindowPosition {
    uint32_t flags;
};

// Show states.
enum : int { ShowNormal = 1 };

// Registers a window class by name. Returns true (always, for a class it can hold).
bool registerWindowClass(const char16_t* className, WindowProc procedure);

// Creates a top-level window of a registered class with the platform's default position and
// size. The create message reaches the procedure before this returns. Returns null when the
// class is not registered or the window cannot be made.
WindowHandle createWindow(const char16_t* className, const char16_t* title, uint32_t style);

// Sends the destroy message, then removes the window.
void destroyWindow(WindowHandle window);
void showWindow(WindowHandle window, int showState);
// Paints the window now (a paint message with no drawing context).
void updateWindow(WindowHandle window);

intptr_t sendMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
intptr_t defWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);

// Runs the message loop until postQuitMessage; returns the quit code.
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

// System metrics: the vertical scroll bar's width, the edge width and height (pixels).
enum : int { MetricScrollBarWidth = 2, MetricEdgeWidth = 45, MetricEdgeHeight = 46 };
int systemMetric(int index);
// The system version the reader reports: 4.20 (a desktop has no shell menu bar to force).
void systemVersion(int* major, int* minor);

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

// Delivers the events waiting for the windows (sizes, paints) without waiting for more. For
// tests that drive windows without a message loop.
void processPendingEvents();
