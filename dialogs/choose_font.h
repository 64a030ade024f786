// The Choose Font dialog (dialog 105): the face, the size and the letter base of the reading
// view's font, with a live preview of the 27 Hebrew letter forms.
#pragma once
#include <cstdint>

#include "platform/window.h"
#include "state/state.h"

enum : int {
    FontFaceList = 1001,
    FontPreview = 1002,
    FontBase97 = 1003,
    FontBase224 = 1004,
    FontBase1488 = 1005,
    FontSizeList = 1006,
};

// The sizes offered, in order.
inline constexpr int kFontSizes[] = {10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 32, 52, 72};

// What the dialog works with while it is open: the request its preview font is made from (all
// zero but the height and the face), that font, the preview's letters, the record it edits.
extern FontDescription previewRequest;
extern FontHandle previewFont;
extern char16_t previewText[28];
extern FontSpec* editedFontSpec;

// Runs the dialog on `spec`, owned by `owner`. 1 after OK (spec updated), 2 after Cancel (spec
// unchanged but for a letter base of 0 becoming 1488).
intptr_t runFontDialog(WindowHandle owner, FontSpec* spec);
intptr_t fontDialogProc(WindowHandle dialog, uint32_t message, WParam wParam, LParam lParam);
void initFontDialog(WindowHandle dialog, FontSpec* spec);
// mode 0: a base button; 2: a list's selection; 1: OK (writes the choice into editedFontSpec).
void applyFontChoice(WindowHandle dialog, int mode);
// Places the items for a client area of width x height pixels.
void layoutFontDialog(WindowHandle dialog, int width, int height);
// Fills previewText with the 27 code points from `base` up, highest first, and shows it.
void showPreviewText(WindowHandle dialog, int base);
