// The widgets behind dialog items. Private to platform/qt.
#pragma once
#include <QWidget>

#include "platform/dialog.h"

struct PlatformWindow;

// Makes the widget of `item` (its kind, id and styles already set) in `parent`, the client area
// of `dialog`, wired to send the item's commands and notifications to the dialog.
QWidget* makeDialogItem(PlatformWindow* dialog, PlatformWindow* item, const DialogItemTemplate& t,
                        QWidget* parent);

// Widens or heightens a text item (static text, check box, radio button, push button) whose text
// does not fit its box, so that the text is never cut: to the right, to the left when the text is
// right-aligned, on both sides when it is centred (never past the client area's left edge), and
// downwards. Other items keep their size.
void growToText(PlatformWindow* item);
