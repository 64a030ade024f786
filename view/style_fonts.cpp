// The view's fonts: one per style key, made on first use and kept in the view's cache.
#include <cstring>
#include <iterator>

#include "content/lesson_records.h"
#include "platform/memory.h"
#include "view/text_view.h"

namespace {
// Heights of large and small type while no font size is chosen (size 0), pixels.
constexpr int kLargeUnchosen = 20, kSmallUnchosen = 14;
constexpr int kWeightNormal = 400, kWeightBold = 700;
} // namespace

FontHandle CreateStyleFont(TextView* view, int key) {
    int size = view->font.FontSize;
    int height = size;
    if (key & StyleLarge) {
        height = size == 0 ? kLargeUnchosen : size * 5 / 4;
    } else if (key & StyleSmall) {
        height = size == 0 ? kSmallUnchosen : size * 6 / 8;
    }
    FontDescription d{};
    d.height = height;
    d.weight = (key & StyleBold) ? kWeightBold : kWeightNormal;
    std::memcpy(d.face, view->font.FontName, sizeof d.face);
    d.face[std::size(d.face) - 1] = 0;
    return createFont(d);
}

FontHandle TextView_SelectStyle(TextView* view, int flags) {
    uint8_t key = uint8_t(flags & StyleKeyMask);
    FontCacheEntry* entry = view->fontCache;
    while (entry && !(entry->styleKey == key && entry->font))
        entry = entry->next;
    if (!entry) {
        FontHandle font = CreateStyleFont(view, key);
        entry = font ? static_cast<FontCacheEntry*>(plainAlloc(sizeof(FontCacheEntry))) : nullptr;
        if (!entry) {
            deleteFont(font);
            return nullptr;
        }
        *entry = {view->fontCache, font, key};
        view->fontCache = entry;
    }
    if (flags & SelectWithColour) {
        Colour colour = (key & (StyleLarge | StyleBold)) == (StyleLarge | StyleBold) ? ColourHeading
                        : (key & StyleSmall)                                         ? ColourSmall
                                                                                     : ColourBody;
        setTextColour(view->dc, colour);
    }
    return selectFont(view->dc, entry->font);
}

void DeleteStyleFonts(TextView* view) {
    // Never delete a font that is still selected.
    selectFont(view->dc, stockFont());
    for (FontCacheEntry* e = view->fontCache; e; e = e->next) {
        deleteFont(e->font);
        e->font = nullptr;
    }
}

void FreeStyleFonts(TextView* view) {
    DeleteStyleFonts(view);
    for (FontCacheEntry* e = view->fontCache; e;) {
        FontCacheEntry* next = e->next;
        plainFree(e);
        e = next;
    }
    view->fontCache = nullptr;
}
