// Modal dialogs built from in-memory templates (positions in dialog units), and the
// operations on their items. A dialog's procedure receives the reader's messages with their
// numbers and parameters: initialise, command (id and notification), draw item, size, paint,
// erase background, key down, vertical scroll, left button down, activate and destroy.
#pragma once
#include <cstdint>

#include "platform/draw.h"
#include "platform/window.h"

enum class DialogItemKind {
    Static,          // text; DialogStaticCenter / DialogStaticRight align it
    StaticImage,     // a bitmap resource, shown at its own size
    Button,          // a push button: command (id) when pressed
    OwnerDrawButton, // a push button the procedure draws (draw-item message)
    Edit,            // an edit box; DialogEdit* styles
    ListBox,         // a list box; DialogList* styles
    CheckBox,        // an automatic check box: command (id) when clicked
    RadioButton,     // an automatic radio button; consecutive ones form a group
};

// Item styles the host reads (the platform's own values, so that templates keep them).
enum : uint32_t {
    DialogStaticCenter = 0x0001,
    DialogStaticRight = 0x0002,
    DialogEditCenter = 0x0001,
    DialogEditRight = 0x0002, // right-aligned and laid out right to left
    DialogEditMultiLine = 0x0004,
    DialogEditAutoVScroll = 0x0040,
    DialogEditAutoHScroll = 0x0080,
    DialogEditReadOnly = 0x0800,
    DialogEditWantReturn = 0x1000, // Return is a new line, not OK
    DialogListNotify = 0x0001,     // selection changes are sent as commands
    DialogListSort = 0x0002,       // strings are kept in order (case ignored)
    DialogBorder = 0x00800000,
    DialogVScroll = 0x00200000, // list boxes and edit boxes: a vertical scroll bar when needed
};

// Host styles of our own, beside the platform's.
enum : uint32_t {
    // Edit box: the text is shown in exactly the order it is held, left to right, with no
    // bidi reordering (for text already in display order); reading it gives it back unchanged.
    HostDisplayOrder = 0x0001,
};

struct DialogItemTemplate {
    DialogItemKind kind;
    int id;
    const char16_t* text; // or null
    int bitmapId;         // StaticImage: bitmap resource
    int x, y, width, height;
    uint32_t style;
    uint32_t hostStyle = 0; // HostDisplayOrder
};

// Dialog styles and extended styles the host reads.
enum : uint32_t {
    DialogStyleVScroll = 0x00200000, // the dialog has its own vertical scroll bar
    DialogExOkButton = 0x80000000,   // the handheld's title-bar OK: OK and Cancel buttons here
};

struct DialogTemplate {
    int id;
    const char16_t* title;
    int x, y, width, height;
    uint32_t style, extendedStyle;
    const char16_t* fontFace;
    int fontSize;
    const DialogItemTemplate* items;
    int itemCount;
};

// What an owner-drawn item is to draw: its context, its rectangle and its id.
struct DrawItem {
    int controlId;
    DcHandle dc;
    Rect rect;
};

// Notifications of a list box (high 16 bits of a command's wParam; lParam is the item).
enum : uint16_t { ListSelectionChanged = 1, ListDoubleClicked = 2 };

using DialogProc = intptr_t (*)(WindowHandle dialog, uint32_t message, WParam wParam,
                                LParam lParam);

// The results a dialog ends with on OK and on Cancel (also their commands' ids).
enum : intptr_t { DialogOk = 1, DialogCancel = 2 };

// Runs the dialog modally, owned by `owner` (centred over it): the initialise message (with
// `parameter`), then the others as they come, until endDialog; then the destroy message.
// Returns endDialog's result, or -1 when the template is null or there are no windows.
// Return is OK (command 1) unless a button or a want-return edit box has the focus; Escape and
// closing the window are Cancel (command 2).
intptr_t runDialog(const DialogTemplate* dialog, WindowHandle owner, DialogProc procedure,
                   LParam parameter);
void endDialog(WindowHandle dialog, intptr_t result);

// The platform's dialog base units: horizontal in the low 16 bits, vertical in the high 16.
// A template position of (x, y) dialog units is the client pixel (x * low / 4, y * high / 8).
int32_t dialogBaseUnits();

// The shell's dialog set-up: the OK and Cancel buttons shown; sized to the reader's window (the
// owner's), at its position; the input panel down and no menu bar (no-ops on a desktop).
enum : uint32_t {
    ShellDialogOkButton = 0x01,
    ShellDialogSize = 0x02,
    ShellDialogSizeFullScreen = 0x04,
    ShellDialogInputDown = 0x08,
    ShellDialogNoMenuBar = 0x10,
    ShellDialogFullScreen =
        ShellDialogSize | ShellDialogSizeFullScreen | ShellDialogInputDown | ShellDialogNoMenuBar,
};
void shellInitDialog(WindowHandle dialog, uint32_t flags);

// Marks the whole client area (rect null) or `rect` for painting; with `erase` the next paint
// first sends the erase-background message with the dialog's context.
void invalidateWindow(WindowHandle window, const Rect* rect, bool erase);

// The item with `id`, or null.
WindowHandle dialogItem(WindowHandle dialog, int id);
// The item's id.
int dialogItemId(WindowHandle item);
// An item's text (UTF-16, at most capacity - 1 units and a 0). Returns the units copied.
int getItemText(WindowHandle item, char16_t* text, int capacity);
void setItemText(WindowHandle item, const char16_t* text);
// Resizes an item to width x height pixels without moving it (moveWindow moves and resizes,
// in the dialog's client coordinates).
void resizeItem(WindowHandle item, int width, int height);
// Gives `item` the keyboard focus (when its dialog is shown). focusedItem: the item that has
// it, or null.
void setFocusItem(WindowHandle item);
WindowHandle focusedItem(WindowHandle dialog);
// Vertical pixels per inch of a context (device capability 90).
int pixelsPerInchY(DcHandle dc);

// List boxes. Indexes count from 0; -1 is "none" (and the failure value).
// Adds a string (at its place in a sorted list, else at the end); returns its index.
int listAddString(WindowHandle list, const char16_t* text);
void listReset(WindowHandle list);
int listCount(WindowHandle list);
// Selects `index` (-1: no selection) and shows it; no notification. Returns index, or -1
// when out of range.
int listSetSelection(WindowHandle list, int index);
int listSelection(WindowHandle list);
// The text of entry `index` (at most capacity - 1 units and a 0); its length, or -1.
int listItemText(WindowHandle list, int index, char16_t* text, int capacity);
// The first entry after `after` whose text begins with `prefix`, case ignored, wrapping round
// to the top and ending at `after` (-1: the whole list from the top); -1 when none.
int listFindPrefix(WindowHandle list, int after, const char16_t* prefix);

// Edit boxes. Positions are code units of the text in the order the box holds it.
// At most `units` units can be typed or set (0: no limit).
void editLimitText(WindowHandle edit, int units);
// Selects start..end (end -1: to the end); start -1 removes the selection, leaving the caret.
void editSetSelection(WindowHandle edit, int start, int end);
void editSelection(WindowHandle edit, int* start, int* end);
// Replaces the selection (or inserts at the caret) with `text`; the caret ends after it.
// With `undoable` the change can be undone with editUndo.
void editReplaceSelection(WindowHandle edit, const char16_t* text, bool undoable);
// Undoes the last undoable change. 1 when something was undone, else 0.
int editUndo(WindowHandle edit);

// Check boxes and radio buttons: 1 checked, 0 not. Setting one radio button does not touch
// the others of its group; a click by the user does (the one clicked is the one checked).
void setButtonCheck(WindowHandle button, int checked);
int buttonCheck(WindowHandle button);

// Test hook: while set, runDialog does not wait for the user; once the dialog is shown it
// calls `script` with the dialog, which drives it (sending messages, or acting as the user
// with the calls below) and must end it.
using DialogScript = void (*)(WindowHandle dialog, int templateId);
void scriptDialogs(DialogScript script);

// Test hooks that act as the user would, through the platform's own event handling: typing
// text into the focused widget of `window`'s dialog (or into `window` itself when it is an
// item), pressing one key (a virtual-key code), clicking at client coordinates, closing.
void userTypes(WindowHandle window, const char16_t* text);
void userPressesKey(WindowHandle window, uint32_t virtualKey);
void userClicks(WindowHandle window, int x, int y);
void userCloses(WindowHandle dialog);
// A turn of the mouse wheel over the window's client area: `angle` in 1/8 degree (120 a
// notch), `pixels` what a touchpad reports (0: none).
void userTurnsWheel(WindowHandle window, int angle, int pixels);

// Test hooks that look at a dialog as it is on the screen. windowPicture: what the window shows
// now (a dialog: its client area and its OK and Cancel row), as a new context for the caller
// to delete; null without a window. dialogControl: the n-th control of a dialog (its items in
// template order, then the OK and Cancel buttons while they are shown): `shown` is where it
// lies in windowPicture(dialog); `alone` (when not null) receives a new context with the control
// drawn by itself, at least as large as its content asks, on the dialog's background. Returns
// false past the last control.
DcHandle windowPicture(WindowHandle window);
bool dialogControl(WindowHandle dialog, int n, Rect* shown, DcHandle* alone);
