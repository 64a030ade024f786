// The bar of the main window: a command bar at the top of the window (or the shell's menu bar
// at the bottom) carrying the "Go" menu and the tool buttons, and the menus' check marks.
#pragma once
#include <cstdint>

#include "platform/handles.h"

using MenuHandle = struct PlatformMenu*;

// One item of a pop-up menu: command 0 is a separator. The text may carry a shortcut label
// after a '\b', shown right-aligned; a desktop also makes that key combination send the item's
// command.
struct MenuItemTemplate {
    int command;
    const char16_t* text;
};

struct MenuTemplate {
    int id;
    const char16_t* title; // the pop-up's title, e.g. "&Go"
    const MenuItemTemplate* items;
    int itemCount;
};

struct BarButton {
    int image; // index into the bar's image strip
    int command;
};

// A command bar with `id` at the top of `owner`. Null when it cannot be made.
WindowHandle createCommandBar(WindowHandle owner, int id);
// Its height in pixels.
int commandBarHeight(WindowHandle bar);
// Puts `menu` on the bar as a menu button after those it has (`position` is not used; the
// first is 0, the next 1). Either kind of bar takes more menus this way.
void commandBarInsertMenu(WindowHandle bar, const MenuTemplate* menu, int position);
// The menu of the bar's menu button at `position` (0 the first), or null.
MenuHandle commandBarMenu(WindowHandle bar, int position);

// The shell's menu bar at the bottom of the window, from a menu; `flags` 0x4 hides the
// input-panel button (no-op here). Null when it cannot be made.
WindowHandle createMenuBar(WindowHandle owner, const MenuTemplate* menu, uint32_t flags);
// The pop-up menu of the menu bar's first button (`command` is not used).
MenuHandle menuBarSubMenu(WindowHandle bar, int command);

// Tool tips: the first entry belongs to the menu button, then one per button in order.
void barSetToolTips(WindowHandle bar, const char16_t* const* tips, int count);
// The image strip: bitmap resource `bitmapId` holding `count` images of width x height.
void barAddBitmap(WindowHandle bar, int bitmapId, int count, int width, int height);
void barAddButtons(WindowHandle bar, const BarButton* buttons, int count);
// The close box, for a window whose task bar is hidden.
void barAddAdornments(WindowHandle bar);
void barShow(WindowHandle bar);
void destroyBar(WindowHandle bar);

// Check marks of menu items addressed by command id.
void setMenuItemChecked(MenuHandle menu, int command, bool checked);
bool menuItemChecked(MenuHandle menu, int command);
// An item greyed (false) or chosen again (true); a greyed item's shortcut does nothing.
void setMenuItemEnabled(MenuHandle menu, int command, bool enabled);
bool menuItemEnabled(MenuHandle menu, int command);
