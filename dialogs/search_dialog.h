// The search dialog (dialog 115): a box for the word and a picture of a Hebrew keyboard whose
// keys type into it.
#pragma once
#include <cstdint>

#include "platform/window.h"
#include "resources/dialogs.h"

// Runs the dialog over `owner` (command 116). Returns 1 after OK, 2 after Cancel.
intptr_t runSearchDialog(WindowHandle owner);
// The dialog's handlers.
extern const WindowEvents kSearchDialogEvents;
// A tap at dialog client (x, y): 0 when it hit a key (its character typed), 1 otherwise.
int TapToLetter(WindowHandle dialog, int x, int y);
// Types the character of key `position` (0 the space bar, 1..27 the letters) at the box's
// caret, replacing its selection, as a typed character would be; undoable.
void InsertLetter(WindowHandle dialog, int position);
