// What the desktop tells a window or a dialog, in the reader's own words. platform/qt turns
// each of Qt's events into one call on the window's table of handlers; a handler left null
// means the window does not care, and the platform does its default (see each entry).
#pragma once
#include <cstdint>

#include "platform/draw.h"
#include "platform/handles.h"

// A point in a window's client area, pixels from its top left corner.
struct Point {
    int x, y;
};

// The keys the reader and its dialogs handle. Keys without a name here reach no handler.
enum class Key : uint8_t {
    Backspace,
    Tab,
    Return, // Return and the keypad's Enter
    Escape,
    Space,
    PageUp,
    PageDown,
    End,
    Home,
    Left,
    Up,
    Right,
    Down,
    Delete,
};

// The modifier keys held with a key, as bits.
enum KeyModifiers : uint8_t {
    NoModifiers = 0,
    ShiftModifier = 1,
    ControlModifier = 2,
    AltModifier = 4,
};

// What a scroll bar asks for: a line or a page either way, the thumb dragged (ThumbTrack, with
// its position) or let go (ThumbPosition), the ends, and the end of a scroll.
enum class ScrollRequest : uint8_t {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition,
    ThumbTrack,
    Top,
    Bottom,
    EndScroll,
};

// The lines (or rows) a scroll request moves a list whose top is at `top`, when a page moves
// `page`: one for a line or Bottom (the list stops at its end), a page, to the thumb's
// `position`, back to the top.
constexpr int scrollDelta(ScrollRequest request, int position, int top, int page) {
    switch (request) {
    case ScrollRequest::LineUp:
        return -1;
    case ScrollRequest::LineDown:
    case ScrollRequest::Bottom:
        return 1;
    case ScrollRequest::PageUp:
        return -page;
    case ScrollRequest::PageDown:
        return page;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
        return position - top;
    case ScrollRequest::Top:
        return -top;
    case ScrollRequest::EndScroll:
        break;
    }
    return 0;
}

// The mouse's side buttons, which browse back and forward.
enum class SideButton : uint8_t { Back, Forward };

// What happened to a dialog item: a button pressed or a check mark changed, a list's
// selection changed, a list entry double-clicked.
enum class ItemNotification : uint8_t { Clicked, SelectionChanged, DoubleClicked };

// What an owner-drawn item is to draw: its context, its rectangle and its id.
struct DrawItem {
    int controlId;
    DcHandle dc;
    Rect rect;
};

// The handlers of a window class (createWindow) or of a dialog (runDialog). Sizes and points
// are client pixels. Everything runs on the one thread of the reader.
struct WindowEvents {
    // Main window: made, before createWindow returns. Dialog: `init`, before it shows.
    void (*created)(WindowHandle window) = nullptr;
    // The window or dialog goes away; its handle is still valid during the call.
    void (*destroyed)(WindowHandle window) = nullptr;
    // The client area's new size.
    void (*size)(WindowHandle window, int width, int height) = nullptr;
    // The window became the active one (true) or stopped being it.
    void (*activate)(WindowHandle window, bool active) = nullptr;
    // Draw the window on its persistent surface; it shows when the call returns.
    void (*paint)(WindowHandle window) = nullptr;
    // A dialog that draws itself: fill the background on `dc` before the paint. False (or no
    // handler): the platform fills it white.
    bool (*eraseBackground)(WindowHandle window, DcHandle dc) = nullptr;
    // A key pressed. True: handled. A dialog's unhandled keys go on to the dialog (Return is
    // OK, Escape Cancel, Tab the next item); Return, Escape and Tab never reach a dialog's
    // handler.
    bool (*key)(WindowHandle window, Key key, KeyModifiers modifiers) = nullptr;
    // The left button pressed at `at` (a tap on the handheld).
    void (*tap)(WindowHandle window, Point at) = nullptr;
    // The vertical scroll bar (or the wheel, three lines a notch) asks to scroll. `position`
    // is the thumb's, for every request.
    void (*scroll)(WindowHandle window, ScrollRequest request, int position) = nullptr;
    // The wheel turned `notches` steps (positive away from the user) with `modifiers` held,
    // none among them. True: handled; false (or no handler): the wheel scrolls as without them.
    bool (*wheel)(WindowHandle window, int notches, KeyModifiers modifiers) = nullptr;
    // Main window: one of the mouse's side buttons pressed.
    void (*sideButton)(WindowHandle window, SideButton button) = nullptr;
    // Main window: the desktop's colours changed (its palette or its theme); desktopIsDark
    // tells the new preference.
    void (*desktopColours)(WindowHandle window) = nullptr;
    // Main window: a command of its menu, its bar, or the reader itself.
    void (*command)(WindowHandle window, int command) = nullptr;
    // Main window: the user closes it (the frame's close box, the bar's close button). No
    // handler: the window is destroyed.
    void (*close)(WindowHandle window) = nullptr;
    // Dialog: an item's event; OK and Cancel (the buttons, Return, Escape, the close box)
    // arrive as items DialogOk and DialogCancel, Clicked.
    void (*itemCommand)(WindowHandle dialog, int item, ItemNotification notification) = nullptr;
    // Dialog: draw an owner-drawn item.
    void (*drawItem)(WindowHandle dialog, const DrawItem& item) = nullptr;
};
