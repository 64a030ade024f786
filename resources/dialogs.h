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
// Search (dialog 115): the box the word is typed in, the Exact letters check box and the Find
// All button (its id is also the result the dialog ends with when it was pressed).
enum SearchDialogItem : int { SearchBoxId = 1013, SearchExactId = 1014, SearchFindAllId = 1015 };
// Find All (dialog 120): the list of every hit.
enum FindAllItem : int { FindAllListId = 1021 };

extern const DialogTemplate kAboutDialog;         // dialog 103
extern const DialogTemplate kChooseSectionDialog; // dialog 118: no items, it draws itself
extern const DialogTemplate kChooseFontDialog;    // dialog 105
extern const DialogTemplate kSearchDialog;        // dialog 115
extern const DialogTemplate kFindAllDialog;       // dialog 120
