// Modal dialogs built from in-memory templates (positions in dialog units), and the
// operations on their items.
#pragma once
#include <cstdint>

#include "platform/draw.h"
#include "platform/window.h"

enum class DialogItemKind {
    Static,
    StaticImage,
    Button,
    OwnerDrawButton,
    Edit,
    ListBox,
    ComboBox,
    CheckBox,
    Custom
};

struct DialogItemTemplate {
    DialogItemKind kind;
    int id;
    const char16_t* text; // or null
    int bitmapId;         // StaticImage: bitmap resource
    int x, y, width, height;
    uint32_t style;
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

using DialogProc = intptr_t (*)(WindowHandle dialog, uint32_t message, WParam wParam,
                                LParam lParam);

// Runs the dialog modally, owned by `owner`: the initialise message (with `parameter`), then
// commands, draw-item and the rest as they come, until endDialog. Returns endDialog's result,
// or -1 when the template is null.
intptr_t runDialog(const DialogTemplate* dialog, WindowHandle owner, DialogProc procedure,
                   LParam parameter);
void endDialog(WindowHandle dialog, intptr_t result);

// The item with `id`, or null.
WindowHandle dialogItem(WindowHandle dialog, int id);
// An item's text (UTF-16, at most capacity - 1 units and a 0). Returns the units copied.
int getItemText(WindowHandle item, char16_t* text, int capacity);
void setItemText(WindowHandle item, const char16_t* text);
// Resizes an item to width x height pixels without moving it.
void resizeItem(WindowHandle item, int width, int height);
// Vertical pixels per inch of a context (device capability 90).
int pixelsPerInchY(DcHandle dc);

// Test hook: while set, runDialog does not wait for the user; after the initialise message it
// calls `script` with the dialog, which drives it (sending messages) and must end it.
using DialogScript = void (*)(WindowHandle dialog, int templateId);
void scriptDialogs(DialogScript script);
