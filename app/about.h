// The About dialog and the update check.
#pragma once
#include <cstdint>

#include "platform/dialog.h"

// The dialog's handlers.
extern const WindowEvents kAboutDialogEvents;
// An item of the dialog chosen: OK and Cancel end it (1), the link opens the home page (0).
int onAboutCommand(WindowHandle dialog, int item);
FontHandle makeLinkFont(WindowHandle dialog);
void drawLinkButton(WindowHandle dialog, int controlId, const DrawItem* item);
void openHomePage(WindowHandle owner);
// Appends `text` to the zero-terminated `buffer` (capacity units) as an address's query value:
// a blank as '+', digits, letters, '.' and '/' as they are, anything else as %XX.
void appendEscaped(char16_t* buffer, int capacity, const char16_t* text);
// Builds the update address (at most 199 units and a 0) into `address`.
void buildUpdateAddress(char16_t address[200]);
void checkForUpdates(WindowHandle owner);
void openUrl(WindowHandle owner, const char16_t* address);
// Runs dialog 103 modally, owned by `owner`.
intptr_t runAboutDialog(WindowHandle owner);
