// Menu 102 ("&Go"), menu 103 ("&View"), the tool buttons and their tips.
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
    CmdBack = 40010,
    CmdForward = 40011,
    CmdColoursDesktop = 40012, // the four colour schemes, in the order of ColourScheme
    CmdColoursLight = 40013,
    CmdColoursDark = 40014,
    CmdColoursSepia = 40015,
    CmdZoomIn = 40016,
    CmdZoomOut = 40017,
    CmdZoomReset = 40018,
    CmdStatusLine = 40019,
    CmdSearchBack = 40020,
};

extern const MenuTemplate kGoMenu;         // menu 102
extern const MenuTemplate kViewMenu;       // menu 103, beside it
extern const BarButton kToolButtons[7];    // images of bitmap 114, in order
extern const char16_t* const kToolTips[8]; // an empty tip for the menu button, then one per button
constexpr int kToolBitmap = 114;
