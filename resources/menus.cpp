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
    {0, nullptr},
    {CmdSearch, u"&Search\bAlt+F3"},
    {CmdSearchAgain, u"Search A&gain\bF3"},
    {CmdSearchBack, u"Search Bac&k\bShift+F3"},
    {0, nullptr},
    {CmdCopy, u"&Copy\bCtrl+C"},
    {CmdAppend, u"&Append to ClipBoard\bCtrl+E"},
    {0, nullptr},
    {CmdExit, u"E&xit\bCtrl+Q"},
};
} // namespace

const MenuTemplate kGoMenu = {102, u"&Go", kGoItems, int(sizeof kGoItems / sizeof kGoItems[0])};

const BarButton kToolButtons[7] = {
    {0, CmdPreviousLesson}, {1, CmdThisWeek},    {2, CmdNextLesson},   {3, CmdFont},
    {4, CmdSearch},         {5, CmdSearchAgain}, {6, CmdChooseLesson},
};

const char16_t* const kToolTips[8] = {
    u"",       u"Previous Article", u"This Week",     u"Next Article", u"Choose Font",
    u"Search", u"Search Again",     u"Choose Article"};
