// Dialog templates.
#pragma once
#include "platform/dialog.h"

constexpr int kAboutLinkId = 1025;
extern const DialogTemplate kAboutDialog; // dialog 103
