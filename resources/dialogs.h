// Dialog templates.
#pragma once
#include "platform/dialog.h"

constexpr int kAboutLinkId = 1025;
extern const DialogTemplate kAboutDialog;         // dialog 103
extern const DialogTemplate kChooseSectionDialog; // dialog 118: no items, it draws itself
extern const DialogTemplate kChooseFontDialog;    // dialog 105
extern const DialogTemplate kSearchDialog;        // dialog 115
