// The search dialog (dialog 115): a box for the word, a picture of a Hebrew keyboard whose
// keys type into it, the Exact letters check box and Find All; and the Find All list (dialog
// 120) of every hit of the book.
#pragma once
#include <cstdint>

#include "platform/window.h"
#include "resources/dialogs.h"

// Runs the dialog over `owner` (command 116). Returns 1 after OK, 2 after Cancel,
// SearchFindAllId after Find All found hits (the caller then opens runFindAllDialog).
intptr_t runSearchDialog(WindowHandle owner);

// Makes appState.foundHits the hits of the stored search text under the chosen matching, keeping
// the list and its chosen row when they were made for the same text and matching. Returns the
// number of hits, or -1 when memory ran out.
int updateFoundHits();

// Runs the Find All list over `owner`: one row per hit (foundHits), the title of its lesson and
// the text around it. Choosing a row (Up, Down, a click) shows its hit in the reader; Return or
// a double click shows it and closes the list; Escape closes it. The row stays chosen for the
// next time. Returns the dialog's result (1 OK, 2 Cancel).
intptr_t runFindAllDialog(WindowHandle owner);
// The dialog's handlers.
extern const WindowEvents kSearchDialogEvents;
// A tap at dialog client (x, y): 0 when it hit a key (its character typed), 1 otherwise.
int TapToLetter(WindowHandle dialog, int x, int y);
// Types the character of key `position` (0 the space bar, 1..27 the letters) at the box's
// caret, replacing its selection, as a typed character would be; undoable.
void InsertLetter(WindowHandle dialog, int position);
