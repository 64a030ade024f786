// Menu 102 ("&Go"), the tool buttons and their tips.
#pragma once
#include "platform/bars.h"

// Command ids.
enum : int {
    CmdChooseLesson = 107,
    CmdThisWeek = 108,
    CmdNextLesson = 109,
    CmdPreviousLesson = 110,
    CmdSearch = 116,
    CmdSearchAgain = 117,
    CmdIndex = 119,
    CmdReverse = 122,
    CmdBookmark = 123,
    CmdCheckForUpdates = 129,
    CmdGoButton = 40001,
    CmdAbout = 40004,
    CmdExit = 40005,
    CmdFont = 40006,
    CmdCopy = 40007,
    CmdAppend = 40009,
    CmdSearchBack = 40010,
};

extern const MenuTemplate kGoMenu;         // menu 102
extern const BarButton kToolButtons[7];    // images of bitmap 114, in order
extern const char16_t* const kToolTips[8]; // an empty tip for the menu button, then one per button
constexpr int kToolBitmap = 114;
