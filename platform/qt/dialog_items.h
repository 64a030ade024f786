// The widgets behind dialog items. Private to platform/qt.
#pragma once
#include <QWidget>

#include "platform/dialog.h"

struct PlatformWindow;

// Makes the widget of `item` (its kind, id and styles already set) in `parent`, the client area
// of `dialog`, wired to send the item's commands and notifications to the dialog.
QWidget* makeDialogItem(PlatformWindow* dialog, PlatformWindow* item, const DialogItemTemplate& t,
                        QWidget* parent);
