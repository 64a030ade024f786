#include "resources/dialogs.h"

namespace {
const DialogItemTemplate kAboutItems[] = {
    {DialogItemKind::Static, -1, u"", 0, 7, 7, 81, 8, 0x50020080},
    {DialogItemKind::StaticImage, -1, nullptr, 113, 88, 7, 47, 20, 0x5000000E},
    {DialogItemKind::Static, -1, u"Version 1.84a", 0, 7, 24, 45, 8, 0x50020000},
    {DialogItemKind::Static, -1, u"Talks on Exodus, by Quillmere", 0, 7, 41, 80, 8, 0x50020000},
    {DialogItemKind::OwnerDrawButton, kAboutLinkId, u"www.quillmere.example", 0, 7, 58, 100, 8,
     0x5001000B},
};
} // namespace

const DialogTemplate kAboutDialog = {
    103,        u"Versewell", 0,
    0,          130,          85,
    0x90C80840, 0x80000000,   u"System",
    8,          kAboutItems,  int(sizeof kAboutItems / sizeof kAboutItems[0])};

const DialogTemplate kChooseSectionDialog = {
    118, u"Choose Section", 0, 0, 130, 160, 0x90C80840, 0, u"System", 8, nullptr, 0};
