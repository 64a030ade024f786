#include "resources/dialogs.h"

#include "resources/maker.h"

namespace {
const DialogItemTemplate kAboutItems[] = {
    {DialogItemKind::Static, -1, u"", 0, 7, 7, 81, 8, ItemPlain},
    {DialogItemKind::StaticImage, -1, nullptr, 113, 88, 7, 47, 20, ItemPlain},
    {DialogItemKind::Static, -1, u"Version " VW_WIDE(VW_VERSION), 0, 7, 24, 45, 8, ItemPlain},
    {DialogItemKind::Static, -1, u"Talks on Exodus, by Quillmere", 0, 7, 41, 80, 8, ItemPlain},
    {DialogItemKind::OwnerDrawButton, kAboutLinkId, kMakerHomePage, 0, 7, 58, 100, 8, ItemPlain},
};

// The preview shows its letters in the order they are held: highest code point at the left.
const DialogItemTemplate kFontItems[] = {
    {DialogItemKind::ListBox, FontFaceList, nullptr, 0, 7, 7, 107, 94,
     ListSort | ListNotify | ItemVScroll | ItemBorder},
    {DialogItemKind::ListBox, FontSizeList, nullptr, 0, 120, 44, 25, 56,
     ListNotify | ItemVScroll | ItemBorder},
    {DialogItemKind::Edit, FontPreview, nullptr, 0, 7, 106, 138, 50,
     EditMultiLine | EditRight | EditDisplayOrder | ItemBorder},
    {DialogItemKind::RadioButton, FontBase97, u"97", 0, 116, 7, 29, 10, ItemPlain},
    {DialogItemKind::RadioButton, FontBase224, u"224", 0, 116, 19, 29, 10, ItemPlain},
    {DialogItemKind::RadioButton, FontBase1488, u"5D0", 0, 116, 31, 29, 10, ItemPlain},
};

// The box holds the word in reading order; the keyboard's picture sits at (7, 71).
const DialogItemTemplate kSearchItems[] = {
    {DialogItemKind::Static, -1, u"Search", 0, 7, 7, 112, 8, StaticCenter},
    {DialogItemKind::Edit, SearchBoxId, nullptr, 0, 7, 21, 112, 43,
     EditRight | EditAutoHScroll | ItemBorder},
    {DialogItemKind::StaticImage, -1, nullptr, 119, 7, 71, 0, 0, ItemPlain},
    {DialogItemKind::CheckBox, SearchExactId, u"Exact letters", 0, 7, 134, 58, 10, ItemPlain},
    {DialogItemKind::Button, SearchFindAllId, u"Find &All", 0, 68, 131, 51, 14, ItemPlain},
};

// Every hit of the book, one row each: the lesson's title and the text around the hit.
const DialogItemTemplate kFindAllItems[] = {
    {DialogItemKind::ListBox, FindAllListId, nullptr, 0, 4, 4, 222, 192,
     ListNotify | ItemVScroll | ItemBorder},
};

template <int N> constexpr int countOf(const DialogItemTemplate (&)[N]) {
    return N;
}
} // namespace

const DialogTemplate kAboutDialog = {
    103, u"Versewell", 0, 0, 130, 85, DialogOkCancel, kAboutItems, countOf(kAboutItems)};

const DialogTemplate kChooseSectionDialog = {118, u"Choose Section", 0,       0, 130,
                                             160, DialogPlain,       nullptr, 0};

const DialogTemplate kChooseFontDialog = {
    105, u"Choose Font", 0, 0, 152, 167, DialogOkCancel, kFontItems, countOf(kFontItems)};

const DialogTemplate kSearchDialog = {
    115, u"Versewell", 0, 0, 126, 150, DialogOkCancel, kSearchItems, countOf(kSearchItems)};

const DialogTemplate kFindAllDialog = {
    120, u"Find All", 0, 0, 230, 200, DialogOkCancel, kFindAllItems, countOf(kFindAllItems)};
