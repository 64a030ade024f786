// The view's fonts: one per style key, made on first use and kept in the view's cache.
#include <cstring>
#include <iterator>

#include "content/lesson_records.h"
#include "platform/memory.h"
#include "view/page_colours.h"
#include "view/text_view.h"

namespace {
// Heights of large and small type while no font size is chosen (size 0), pixels.
constexpr int kLargeUnchosen = 20, kSmallUnchosen = 14;
constexpr int kWeightNormal = 400, kWeightBold = 700;
} // namespace

FontHandle CreateStyleFont(TextView* view, int key) {
    return makeStyleFont(view->font, key);
}

FontHandle makeStyleFont(const FontSpec& spec, int key) {
    int size = spec.FontSize;
    int height = size;
    if (key & StyleLarge) {
        height = size == 0 ? kLargeUnchosen : size * 5 / 4;
    } else if (key & StyleSmall) {
        height = size == 0 ? kSmallUnchosen : size * 6 / 8;
    }
    FontDescription d{};
    d.height = height;
    d.weight = (key & StyleBold) ? kWeightBold : kWeightNormal;
    std::memcpy(d.face, spec.FontName, sizeof d.face);
    d.face[std::size(d.face) - 1] = 0;
    return createFont(d);
}

FontHandle TextView_SelectStyle(TextView* view, int flags) {
    uint8_t key = uint8_t(flags & StyleKeyMask);
    FontHandle font = fontCacheFind(view->fontCache, key);
    if (!font) font = fontCacheAdd(&view->fontCache, key, CreateStyleFont(view, key));
    if (!font) return nullptr;
    if (flags & SelectWithColour) {
        const PageColours& c = pageColours();
        Colour colour = (key & (StyleLarge | StyleBold)) == (StyleLarge | StyleBold) ? c.heading
                        : (key & StyleSmall)                                         ? c.small
                                                                                     : c.body;
        setTextColour(view->dc, colour);
    }
    return selectFont(view->dc, font);
}

void deleteStyleFonts(TextView* view) {
    // Never delete a font that is still selected.
    selectFont(view->dc, stockFont());
    for (FontCacheEntry* e = view->fontCache; e; e = e->next) {
        deleteFont(e->font);
        e->font = nullptr;
    }
}

void freeStyleFonts(TextView* view) {
    selectFont(view->dc, stockFont());
    fontCacheFree(&view->fontCache);
}

FontHandle fontCacheFind(const FontCacheEntry* cache, uint8_t key) {
    for (const FontCacheEntry* e = cache; e; e = e->next) {
        if (e->styleKey == key && e->font) return e->font;
    }
    return nullptr;
}

FontHandle fontCacheAdd(FontCacheEntry** cache, uint8_t key, FontHandle made) {
    auto* entry = made ? static_cast<FontCacheEntry*>(plainAlloc(sizeof(FontCacheEntry))) : nullptr;
    if (!entry) {
        deleteFont(made);
        return nullptr;
    }
    *entry = {*cache, made, key};
    *cache = entry;
    return made;
}

void fontCacheFree(FontCacheEntry** cache) {
    for (FontCacheEntry* e = *cache; e;) {
        FontCacheEntry* next = e->next;
        deleteFont(e->font);
        plainFree(e);
        e = next;
    }
    *cache = nullptr;
}
