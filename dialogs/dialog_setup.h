// The set-up shared by the reader's full-screen dialogs.
#pragma once
#include <cstdint>

#include "platform/handles.h"

// Asks the shell to set `dialog` up with `shellFlags` (plus its OK button when the reader is not
// in full-screen mode); in full-screen mode the dialog then reaches the top of the screen.
void SetupFullScreenDialog(WindowHandle dialog, uint32_t shellFlags);
