// The font families offered by the Choose Font dialog: a list in enumeration order, its entries
// carved from blocks of 25 allocated at once. The dialog's state holds it while it is open.
#pragma once
#include <cstdint>

#include "platform/draw.h"

struct FontFace {
    FontFace* next;        // the following entry, or null
    char16_t faceName[32]; // zero-terminated
    uint8_t charSet;       // as the platform reports it: 177 Hebrew
    uint8_t blockStart;    // 1 on the first entry of each block
};

struct FontList {
    FontFace* first;
    FontFace** lastLink; // where the next entry is hooked in
    FontFace* nextFree;  // in the current block
    int freeCount;       // entries left in the current block
};

constexpr int kFontBlockEntries = 25;

// Empties the list without releasing anything (its blocks must have been freed).
void resetFontList(FontList& list);
// The enumeration's callback, with the FontList as its context: appends the family. 1 to go
// on, 0 (the list unchanged) when a new block cannot be had.
int addFontFace(const FontDescription* description, const TextMetrics* metrics, void* context);
// Releases every block and empties the list.
void freeFontList(FontList& list);
// The first entry whose face name equals `face` exactly, or null.
const FontFace* findFontFace(const FontList& list, const char16_t* face);
