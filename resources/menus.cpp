#include "resources/menus.h"

namespace {
const MenuItemTemplate kGoItems[] = {
    {CmdAbout, u"&About"},
    {CmdCheckForUpdates, u"Check For &Updates"},
    {0, nullptr},
    {CmdFont, u"F&ont\bCtrl+F"},
    {CmdReverse, u"Re&verse"},
    {0, nullptr},
    {CmdThisWeek, u"&This Week\bCtrl+Home"},
    {0, nullptr},
    {CmdIndex, u"&Index\bCtrl+D"},
    {CmdBookmark, u"&Bookmark"},
    {CmdPreviousLesson, u"&Previous Article"},
    {CmdNextLesson, u"&Next Article"},
    {CmdBack, u"Bac&k\bAlt+Left"},
    {CmdForward, u"&Forward\bAlt+Right"},
    {0, nullptr},
    {CmdSearch, u"&Search\bAlt+F3"},
    {CmdSearchAgain, u"Search A&gain\bF3"},
    {CmdSearchBack, u"Searc&h Back\bShift+F3"},
    {0, nullptr},
    {CmdCopy, u"&Copy\bCtrl+C"},
    {CmdAppend, u"&Append to ClipBoard\bCtrl+E"},
    {0, nullptr},
    {CmdExit, u"E&xit\bCtrl+Q"},
};

const MenuItemTemplate kViewItems[] = {
    {CmdColoursDesktop, u"Follow the &Desktop"},
    {CmdColoursLight, u"&Light"},
    {CmdColoursDark, u"Dar&k"},
    {CmdColoursSepia, u"&Sepia"},
    {0, nullptr},
    {CmdZoomIn, u"Zoom &In\bCtrl+=; Ctrl++"},
    {CmdZoomOut, u"Zoom &Out\bCtrl+-"},
    {CmdZoomReset, u"&Chosen Size\bCtrl+0"},
    {0, nullptr},
    {CmdStatusLine, u"Status &Line"},
};
} // namespace

const MenuTemplate kViewMenu = {103, u"&View", kViewItems,
                                int(sizeof kViewItems / sizeof kViewItems[0])};

const MenuTemplate kGoMenu = {102, u"&Go", kGoItems, int(sizeof kGoItems / sizeof kGoItems[0])};

const BarButton kToolButtons[7] = {
    {0, CmdPreviousLesson}, {1, CmdThisWeek},    {2, CmdNextLesson},   {3, CmdFont},
    {4, CmdSearch},         {5, CmdSearchAgain}, {6, CmdChooseLesson},
};

const char16_t* const kToolTips[8] = {
    u"",       u"Previous Article", u"This Week",     u"Next Article", u"Choose Font",
    u"Search", u"Search Again",     u"Choose Article"};
