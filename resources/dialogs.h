// Dialog templates, and the ids of their items (the dialogs' code names them from here).
#pragma once
#include "platform/dialog.h"

// About (dialog 103): the home page link, a button the dialog draws itself.
enum AboutItem : int { kAboutLinkId = 1025 };
// Choose Font (dialog 105).
enum FontDialogItem : int {
    FontFaceList = 1001,
    FontPreview = 1002,
    FontBase97 = 1003,
    FontBase224 = 1004,
    FontBase1488 = 1005,
    FontSizeList = 1006,
};
// Search (dialog 115): the box the word is typed in.
enum SearchDialogItem : int { SearchBoxId = 1013 };

extern const DialogTemplate kAboutDialog;         // dialog 103
extern const DialogTemplate kChooseSectionDialog; // dialog 118: no items, it draws itself
extern const DialogTemplate kChooseFontDialog;    // dialog 105
extern const DialogTemplate kSearchDialog;        // dialog 115
