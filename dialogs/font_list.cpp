#include "dialogs/font_list.h"

#include <cstring>
#include <string_view>

#include "platform/memory.h"

void resetFontList(FontList& list) {
    list = {nullptr, &list.first, nullptr, 0};
}

int addFontFace(const FontDescription* description, const TextMetrics* metrics, void* context) {
    FontList& fontList = *static_cast<FontList*>(context);
    if (fontList.freeCount == 0) {
        auto* block = static_cast<FontFace*>(plainAlloc(kFontBlockEntries * sizeof(FontFace)));
        if (!block) return 0;
        std::memset(block, 0, kFontBlockEntries * sizeof(FontFace));
        block->blockStart = 1;
        fontList.nextFree = block;
        fontList.freeCount = kFontBlockEntries;
    }
    FontFace* face = fontList.nextFree++;
    --fontList.freeCount;
    std::memcpy(face->faceName, description->face, sizeof face->faceName);
    face->faceName[31] = 0;
    face->charSet = metrics->charSet;
    *fontList.lastLink = face;
    fontList.lastLink = &face->next;
    return 1;
}

void freeFontList(FontList& list) {
    FontFace* entry = list.first;
    while (entry) {
        // Each block is released through its first entry once its entries have been passed.
        FontFace* block = entry;
        do {
            entry = entry->next;
        } while (entry && !entry->blockStart);
        plainFree(block);
    }
    resetFontList(list);
}

const FontFace* findFontFace(const FontList& list, const char16_t* face) {
    for (const FontFace* f = list.first; f; f = f->next) {
        if (std::u16string_view(f->faceName) == std::u16string_view(face)) return f;
    }
    return nullptr;
}
