// Modal dialogs built from in-memory templates (positions in dialog units), and the
// operations on their items. A dialog runs with a table of handlers (events.h): created (its
// initialisation), item command, draw item, size, paint, erase background, key, scroll, tap,
// activate and destroyed; and with a working state of its own that its handlers reach through
// dialogState.
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

// Item styles: each applies to the kinds it names.
enum ItemStyle : uint32_t {
    ItemPlain = 0,
    StaticCenter = 1 << 0,    // Static: centred
    StaticRight = 1 << 1,     // Static: right-aligned
    EditCenter = 1 << 2,      // Edit: centred
    EditRight = 1 << 3,       // Edit: right-aligned and laid out right to left
    EditMultiLine = 1 << 4,   // Edit
    EditAutoHScroll = 1 << 5, // Edit, multi-line: no wrapping, the text scrolls sideways
    EditReadOnly = 1 << 6,    // Edit
    EditWantReturn = 1 << 7,  // Edit, multi-line: Return is a new line, not OK
    // Edit: the text is shown in exactly the order it is held, left to right, with no bidi
    // reordering (for text already in display order); reading it gives it back unchanged.
    EditDisplayOrder = 1 << 8,
    ListNotify = 1 << 9,   // ListBox: selection changes and double clicks reach itemCommand
    ListSort = 1 << 10,    // ListBox: strings are kept in order (case ignored)
    ItemBorder = 1 << 11,  // Edit, ListBox: a frame
    ItemVScroll = 1 << 12, // Edit, ListBox: a vertical scroll bar when needed
};
constexpr ItemStyle operator|(ItemStyle a, ItemStyle b) {
    return ItemStyle(uint32_t(a) | uint32_t(b));
}

struct DialogItemTemplate {
    DialogItemKind kind;
    int id;
    const char16_t* text; // or null
    int bitmapId;         // StaticImage: bitmap resource
    int x, y, width, height;
    ItemStyle style;
};

// Dialog styles.
enum DialogStyle : uint32_t {
    DialogPlain = 0,
    // The handheld's title-bar OK: standard OK and Cancel buttons below the client area.
    DialogOkCancel = 1 << 0,
};

struct DialogTemplate {
    int id;
    const char16_t* title;
    int x, y, width, height;
    DialogStyle style;
    const DialogItemTemplate* items;
    int itemCount;
};

// The results a dialog ends with on OK and on Cancel (also their commands' ids).
enum : intptr_t { DialogOk = 1, DialogCancel = 2 };

// Runs the dialog modally, owned by `owner` (centred over it), with `events` and `state` (both
// the caller's, kept for the run): `created`, then the other handlers as events come, until
// endDialog; then `destroyed`. Returns endDialog's result, or -1 when the template is null or
// there are no windows. Return is OK (item DialogOk) unless a button or a want-return edit box
// has the focus; Escape and closing the window are Cancel (item DialogCancel). A dialog whose
// window another program destroys gets DialogCancel too and ends with it if its handler did not.
intptr_t runDialog(const DialogTemplate* dialog, WindowHandle owner, const WindowEvents* events,
                   void* state);
void endDialog(WindowHandle dialog, intptr_t result);
// The state runDialog was given, for the dialog or any of its items; null for other windows.
void* dialogState(WindowHandle dialogOrItem);

// The platform's dialog base units. A template position of (x, y) dialog units is the client
// pixel (x * unit.x / 4, y * unit.y / 8).
struct DialogUnits {
    int x, y;
};
DialogUnits dialogBaseUnits();

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
// first calls `eraseBackground` with the dialog's context.
void invalidateWindow(WindowHandle window, const Rect* rect, bool erase);

// The item with `id`, or null.
WindowHandle dialogItem(WindowHandle dialog, int id);
// The item's id.
int dialogItemId(WindowHandle item);
// The font an item shows its text in: the one given with setItemFont, else its own (owned by
// the item). Null for what is not an item.
FontHandle itemFont(WindowHandle item);
// Shows the item's text in `font` (the caller's; it must outlive its use) and redraws it.
void setItemFont(WindowHandle item, FontHandle font);
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
// item), pressing one key, clicking at client coordinates, closing.
void userTypes(WindowHandle window, const char16_t* text);
void userPressesKey(WindowHandle window, Key key);
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
