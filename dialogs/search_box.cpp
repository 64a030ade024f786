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

// The Hebrew presentation forms U+FB1D..U+FB4F as the letters they show (offsets from alef,
// up to two; -1 none): a letter with its points is the letter, a wide letter the letter, the
// alef-lamed ligature both. 0xFB1E (a point) is dropped; 0xFB29 is a plus sign; the code points
// left unassigned stay as they are.
constexpr int kPlus = -2, kUnassigned = -3;
constexpr signed char kPresentation[51][2] = {
    {9, -1},     {-1, -1},          {9, 9},
    {18, -1},    {0, -1},           {3, -1},
    {4, -1},     {11, -1},          {12, -1},
    {13, -1},    {24, -1},          {26, -1},
    {kPlus, -1}, {25, -1},          {25, -1},
    {25, -1},    {25, -1},          {0, -1},
    {0, -1},     {0, -1},           {1, -1},
    {2, -1},     {3, -1},           {4, -1},
    {5, -1},     {6, -1},           {kUnassigned, -1},
    {8, -1},     {9, -1},           {10, -1},
    {11, -1},    {12, -1},          {kUnassigned, -1},
    {14, -1},    {kUnassigned, -1}, {16, -1},
    {17, -1},    {kUnassigned, -1}, {19, -1},
    {20, -1},    {kUnassigned, -1}, {22, -1},
    {23, -1},    {24, -1},          {25, -1},
    {26, -1},    {5, -1},           {1, -1},
    {11, -1},    {20, -1},          {0, 12},
};
} // namespace

int typedCharacters(char32_t c, int base, bool forgiving, char32_t out[2]) {
    if (c >= char32_t(base) && c < char32_t(base + kLetters)) {
        out[0] = kAlef + (c - char32_t(base));
        return 1;
    }
    if (c >= kAlef && c < kAlef + kLetters) {
        out[0] = c;
        return 1;
    }
    if (c == kMaqaf) {
        out[0] = U'-';
        return 1;
    }
    if (c == kSofPasuq && !forgiving) {
        out[0] = U':';
        return 1;
    }
    if (c >= 0x0591 && c <= 0x05C7) return 0; // points and cantillation
    if (c == kGeresh) {
        out[0] = U'\'';
        return 1;
    }
    if (c == kGershayim) {
        out[0] = U'"';
        return 1;
    }
    if (forgiving && c >= 0xFB1D && c <= 0xFB4F) {
        const signed char* letters = kPresentation[c - 0xFB1D];
        if (letters[0] == kPlus) {
            out[0] = U'+';
            return 1;
        }
        if (letters[0] != kUnassigned) {
            int n = 0;
            for (int i = 0; i < 2 && letters[i] >= 0; ++i)
                out[n++] = kAlef + char32_t(letters[i]);
            return n;
        }
    }
    out[0] = c;
    return 1;
}

namespace {} // namespace

int boxTextToDisplayOrder(const char16_t* box, char16_t* display, int capacity) {
    display[0] = 0;
    int base = letterBase();
    int units = 0;
    while (box && box[units] != 0)
        ++units;
    if (units == 0) return 0;
    // A presentation form can stand for two letters.
    auto* block = static_cast<char32_t*>(plainAlloc(4 * size_t(units) * sizeof(char32_t)));
    if (!block) return -1;
    char32_t* reading = block;
    char32_t* shown = block + 2 * units;
    bool forgiving = appState.ExactLetters == 0;
    size_t n = 0;
    for (int i = 0; i < units; ++i) {
        char32_t c = box[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && box[i + 1] >= 0xDC00 &&
            box[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(box[++i]) - 0xDC00);
        }
        char32_t typed[2];
        int count = typedCharacters(c, base, forgiving, typed);
        for (int k = 0; k < count; ++k)
            reading[n++] = typed[k];
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
