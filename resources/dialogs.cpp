#include "resources/dialogs.h"

#include "resources/maker.h"

namespace {
const DialogItemTemplate kAboutItems[] = {
    {DialogItemKind::Static, -1, u"", 0, 7, 7, 81, 8, 0x50020080},
    {DialogItemKind::StaticImage, -1, nullptr, 113, 88, 7, 47, 20, 0x5000000E},
    {DialogItemKind::Static, -1, u"Version " VW_WIDE(VW_VERSION), 0, 7, 24, 45, 8, 0x50020000},
    {DialogItemKind::Static, -1, u"Talks on Exodus, by Quillmere", 0, 7, 41, 80, 8, 0x50020000},
    {DialogItemKind::OwnerDrawButton, kAboutLinkId, kMakerHomePage, 0, 7, 58, 100, 8, 0x5001000B},
};

constexpr uint32_t kChild = 0x50000000; // a visible child item
constexpr uint32_t kRadio = kChild | 0x00010009;

// The preview shows its letters in the order they are held: highest code point at the left.
const DialogItemTemplate kFontItems[] = {
    {DialogItemKind::ListBox, 1001, nullptr, 0, 7, 7, 107, 94,
     kChild | DialogListSort | DialogListNotify | DialogVScroll | DialogBorder},
    {DialogItemKind::ListBox, 1006, nullptr, 0, 120, 44, 25, 56,
     kChild | DialogListNotify | DialogVScroll | DialogBorder},
    {DialogItemKind::Edit, 1002, nullptr, 0, 7, 106, 138, 50,
     kChild | DialogEditMultiLine | DialogEditRight | DialogEditAutoVScroll | DialogBorder,
     HostDisplayOrder},
    {DialogItemKind::RadioButton, 1003, u"97", 0, 116, 7, 29, 10, kRadio},
    {DialogItemKind::RadioButton, 1004, u"224", 0, 116, 19, 29, 10, kRadio},
    {DialogItemKind::RadioButton, 1005, u"5D0", 0, 116, 31, 29, 10, kRadio},
};

// The box holds the word in reading order; the keyboard's picture sits at (7, 71).
const DialogItemTemplate kSearchItems[] = {
    {DialogItemKind::Static, -1, u"Search", 0, 7, 7, 112, 8, kChild | DialogStaticCenter},
    {DialogItemKind::Edit, 1013, nullptr, 0, 7, 21, 112, 43,
     kChild | DialogEditRight | DialogEditAutoHScroll | DialogBorder | 0x00010000},
    {DialogItemKind::StaticImage, -1, nullptr, 119, 7, 71, 0, 0, kChild | 0x0000000E},
};
} // namespace

const DialogTemplate kAboutDialog = {
    103,        u"Versewell", 0,
    0,          130,          85,
    0x90C80840, 0x80000000,   u"System",
    8,          kAboutItems,  int(sizeof kAboutItems / sizeof kAboutItems[0])};

const DialogTemplate kChooseSectionDialog = {
    118, u"Choose Section", 0, 0, 130, 160, 0x90C80840, 0, u"System", 8, nullptr, 0};

const DialogTemplate kChooseFontDialog = {
    105,        u"Choose Font",
    0,          0,
    152,        167,
    0x90C80840, 0x80000000,
    u"System",  8,
    kFontItems, int(sizeof kFontItems / sizeof kFontItems[0])};

const DialogTemplate kSearchDialog = {
    115,        u"Versewell", 0,
    0,          126,          131,
    0x90C80840, 0x80000000,   u"System",
    8,          kSearchItems, int(sizeof kSearchItems / sizeof kSearchItems[0])};
