// The Choose Font dialog (dialog 105): the face, the size and the letter base of the reading
// view's font, with a live preview of the 27 Hebrew letter forms.
#pragma once
#include <cstdint>

#include "dialogs/font_list.h"
#include "platform/window.h"
#include "resources/dialogs.h"
#include "state/state.h"

// The sizes offered, in order.
inline constexpr int kFontSizes[] = {10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 32, 52, 72};

// What the dialog works with while it is open: the request its preview font is made from (all
// zero but the height and the face), that font, the preview's letters, the record it edits and
// the font families offered. runFontDialog makes it for the dialog's run.
struct FontDialogState {
    FontDescription previewRequest;
    FontHandle previewFont; // owned
    char16_t previewText[28];
    FontSpec* editedFontSpec;
    FontList fontList;
};

// What applyFontChoice is called for.
enum class FontChoice {
    BaseButton,    // a letter-base button: a new preview font
    Ok,            // OK: the choice written into the edited record
    ListSelection, // a face or a size chosen: a new preview font, the base set by the face
};

// Runs the dialog on `spec`, owned by `owner`. 1 after OK (spec updated), 2 after Cancel (spec
// unchanged but for a letter base of 0 becoming 1488).
intptr_t runFontDialog(WindowHandle owner, FontSpec* spec);
// The dialog's handlers; its state is a FontDialogState.
extern const WindowEvents kFontDialogEvents;
// The state of a Choose Font dialog that is open (or of one of its items).
FontDialogState& fontDialogState(WindowHandle dialog);
void initFontDialog(WindowHandle dialog, FontSpec* spec);
void applyFontChoice(WindowHandle dialog, FontChoice choice);
// Places the items for a client area of width x height pixels.
void layoutFontDialog(WindowHandle dialog, int width, int height);
// Fills previewText with the 27 code points from `base` up, highest first, and shows it.
void showPreviewText(WindowHandle dialog, int base);
