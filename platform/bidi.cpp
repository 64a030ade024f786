// FriBidi behind platform/bidi.h.
#include "platform/bidi.h"

#include <fribidi.h>

#include <algorithm>

#include "platform/memory.h"

namespace {
char32_t mirror(char32_t c) {
    FriBidiChar m;
    return fribidi_get_mirror_char(c, &m) ? char32_t(m) : c;
}

// FriBidi's one-line layout of a right-to-left paragraph: the display order (when `display` is
// given) and the embedding level of each character in reading order (when `levels` is).
bool layOut(const char32_t* reading, size_t count, char32_t* display, FriBidiLevel* levels) {
    if (count == 0) return true;
    size_t bytes = count * (2 * sizeof(FriBidiChar) + sizeof(FriBidiLevel));
    auto* block = static_cast<unsigned char*>(plainAlloc(bytes));
    if (!block) return false;
    auto* in = reinterpret_cast<FriBidiChar*>(block);
    FriBidiChar* out = in + count;
    auto* lv = reinterpret_cast<FriBidiLevel*>(out + count);
    for (size_t i = 0; i < count; ++i)
        in[i] = FriBidiChar(reading[i]);
    FriBidiParType base = FRIBIDI_PAR_RTL;
    bool ok = fribidi_log2vis(in, FriBidiStrIndex(count), &base, out, nullptr, nullptr, lv) != 0;
    if (ok && display) {
        for (size_t i = 0; i < count; ++i)
            display[i] = char32_t(out[i]);
    }
    if (ok && levels) std::copy(lv, lv + count, levels);
    plainFree(block);
    return ok;
}
} // namespace

int bidiDisplayOrder(const char32_t* reading, size_t count, char32_t* display) {
    return layOut(reading, count, display, nullptr) ? 0 : 1;
}

int bidiReadingOrder(const char32_t* display, size_t count, char32_t* reading) {
    if (count == 0) return 0;
    auto* block =
        static_cast<unsigned char*>(plainAlloc(count * (sizeof(char32_t) + sizeof(FriBidiLevel))));
    if (!block) return 1;
    auto* logical = reinterpret_cast<char32_t*>(block);
    auto* levels = reinterpret_cast<FriBidiLevel*>(logical + count);
    // Read right to left with brackets mirrored back, then turn the left-to-right runs (even
    // levels: numbers, Latin), which read as they are shown, the right way round again.
    for (size_t i = 0; i < count; ++i)
        logical[i] = mirror(display[count - 1 - i]);
    bool ok = layOut(logical, count, nullptr, levels);
    for (size_t i = 0; ok && i < count;) {
        if (levels[i] % 2 == 0) {
            size_t j = i;
            while (j < count && levels[j] % 2 == 0)
                ++j;
            std::reverse(logical + i, logical + j);
            for (size_t k = i; k < j; ++k)
                logical[k] = mirror(logical[k]);
            i = j;
        } else {
            ++i;
        }
    }
    if (ok) std::copy(logical, logical + count, reading);
    plainFree(block);
    return ok ? 0 : 1;
}
