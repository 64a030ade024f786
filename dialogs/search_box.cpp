#include "dialogs/search_box.h"

#include "dialogs/search.h"
#include "platform/bidi.h"
#include "platform/memory.h"
#include "state/state.h"
#include "view/letters.h"

namespace {
constexpr char32_t kAlef = 0x05D0;
constexpr int kLetters = 27;
constexpr char32_t kMaqaf = 0x05BE, kSofPasuq = 0x05C3, kGeresh = 0x05F3, kGershayim = 0x05F4;

int letterBase() {
    return appState.fontSpec.FontAsciiBase;
}

// A box character for the bidi step: letters as Unicode Hebrew, whichever code they came in, so
// that they are right-to-left under every letter base. 0: dropped.
char32_t forBidi(char32_t c, int base) {
    if (c >= char32_t(base) && c < char32_t(base + kLetters)) return kAlef + (c - char32_t(base));
    if (c >= kAlef && c < kAlef + kLetters) return c;
    if (c == kMaqaf) return U'-';
    if (c == kSofPasuq) return U':';
    if (c >= 0x0591 && c <= 0x05C7) return 0; // points and cantillation
    if (c == kGeresh) return U'\'';
    if (c == kGershayim) return U'"';
    return c;
}
} // namespace

int boxTextToDisplayOrder(const char16_t* box, char16_t* display, int capacity) {
    display[0] = 0;
    int base = letterBase();
    int units = 0;
    while (box && box[units] != 0)
        ++units;
    if (units == 0) return 0;
    auto* block = static_cast<char32_t*>(plainAlloc(2 * size_t(units) * sizeof(char32_t)));
    if (!block) return -1;
    char32_t* reading = block;
    char32_t* shown = block + units;
    size_t n = 0;
    for (int i = 0; i < units; ++i) {
        char32_t c = box[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && box[i + 1] >= 0xDC00 &&
            box[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(box[++i]) - 0xDC00);
        }
        char32_t b = forBidi(c, base);
        if (b != 0) reading[n++] = b;
    }
    if (bidiDisplayOrder(reading, n, shown) != 0) {
        plainFree(block);
        return -1;
    }
    int out = 0;
    for (size_t i = 0; i < n; ++i) {
        char32_t c = shown[i];
        if (c >= kAlef && c < kAlef + kLetters) {
            c = char32_t(base) + (c - kAlef);
        } else if (c == U'{' && base != LetterBaseLatin) {
            c = 0x7E;
        }
        if (c >= 0x10000) {
            if (out + 2 > capacity - 1) break;
            display[out++] = char16_t(0xD800 + ((c - 0x10000) >> 10));
            display[out++] = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            if (out + 1 > capacity - 1) break;
            display[out++] = char16_t(c);
        }
    }
    display[out] = 0;
    plainFree(block);
    return out;
}

char16_t* patternToBoxText(const char* pattern) {
    int base = letterBase();
    int n = 0;
    while (pattern && n < kMaxPatternLength && pattern[n] != 0)
        ++n;
    auto* box = static_cast<char16_t*>(plainAlloc((size_t(n) + 1) * sizeof(char16_t)));
    auto* block = static_cast<char32_t*>(plainAlloc(2 * (size_t(n) + 1) * sizeof(char32_t)));
    if (!box || !block) {
        plainFree(box);
        plainFree(block);
        return nullptr;
    }
    char32_t* shown = block;
    char32_t* reading = block + n + 1;
    for (int i = 0; i < n; ++i) {
        auto b = uint8_t(pattern[i]);
        if (b >= 0x61 && b < 0x61 + kLetters) {
            shown[i] = kAlef + (b - 0x61);
        } else {
            shown[i] = b == 0x7E && base != LetterBaseLatin ? U'{' : char32_t(b);
        }
    }
    if (bidiReadingOrder(shown, size_t(n), reading) != 0) {
        plainFree(box);
        plainFree(block);
        return nullptr;
    }
    for (int i = 0; i < n; ++i) {
        char32_t c = reading[i];
        box[i] = c >= kAlef && c < kAlef + kLetters ? char16_t(char32_t(base) + (c - kAlef))
                                                    : char16_t(c);
    }
    box[n] = 0;
    plainFree(block);
    return box;
}
