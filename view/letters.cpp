#include "view/letters.h"

#include "platform/memory.h"
#include "state/state.h"

namespace {
// One byte under letter base `base`: the letter forms move, 0x7E becomes '{', the rest pass.
constexpr char16_t convertByte(uint8_t b, int base) {
    if (base == LetterBaseLatin) return b;
    if (b >= 0x61 && b <= 0x7B) return char16_t(b + base - 0x61);
    return b == 0x7E ? u'{' : b;
}

// A bracket's mirror image: each pair stands side by side, so the mirror of the bracket at i
// is the one at i ^ 1.
char16_t mirrored(char16_t unit) {
    static constexpr char16_t kPairs[] = u"()[]{}";
    for (int i = 0; kPairs[i] != 0; ++i) {
        if (kPairs[i] == unit) return kPairs[i ^ 1];
    }
    return unit;
}
} // namespace

char16_t* ConvertLetters(const uint8_t* bytes, char16_t* toRelease, LetterConversion* shared,
                         int count) {
    int base = (shared && shared->activeLetterBase != 0) ? shared->activeLetterBase
                                                         : appState.fontSpec.FontAsciiBase;
    char16_t* result = convertRun(bytes, count, base, appState.Flags & FlagReverse, shared);
    plainFree(toRelease);
    return result;
}

char16_t* convertRun(const uint8_t* bytes, int count, int base, bool reverse,
                     LetterConversion* shared) {
    if (count < 0) count = 0;
    char16_t* result;
    if (shared && shared->convBuffer && shared->convCapacity >= count) {
        result = shared->convBuffer;
    } else {
        result = static_cast<char16_t*>(plainAlloc((size_t(count) + 1) * sizeof(char16_t)));
        if (result && shared) {
            plainFree(shared->convBuffer);
            shared->convBuffer = result;
            shared->convCapacity = count;
        }
    }
    if (result) {
        int n = 0;
        for (; n < count && bytes[n] != 0; ++n)
            result[n] = convertByte(bytes[n], base);
        result[n] = 0;
        if (count > 0 && base != LetterBaseLatin && reverse) MirrorReverse(result, n);
    }
    return result;
}

int MirrorReverse(char16_t* units, int n) {
    if (n <= 0) return 0;
    char16_t* copy = static_cast<char16_t*>(plainAlloc(size_t(n) * sizeof(char16_t)));
    if (!copy) return 1;
    for (int i = 0; i < n; ++i)
        copy[i] = units[i];
    for (int i = 0; i < n; ++i)
        units[i] = mirrored(copy[n - 1 - i]);
    plainFree(copy);
    return 0;
}

namespace {
struct ByteMap {
    char16_t units[256];
};
constexpr ByteMap mapFor(int base) {
    ByteMap map{};
    for (int b = 0; b < 256; ++b)
        map.units[b] = convertByte(uint8_t(b), base);
    return map;
}
// The three letter bases a font can have.
constexpr ByteMap kLatinMap = mapFor(LetterBaseLatin), kCodePageMap = mapFor(LetterBaseCodePage),
                  kUnicodeMap = mapFor(LetterBaseUnicode);
} // namespace

const char16_t* letterMap(int base) {
    if (base == LetterBaseLatin) return kLatinMap.units;
    if (base == LetterBaseCodePage) return kCodePageMap.units;
    if (base == LetterBaseUnicode) return kUnicodeMap.units;
    // Any other base: made in the state record's slot for it.
    LetterConversion& c = appState.letterConversion;
    if (c.otherBase != base) {
        for (int b = 0; b < 256; ++b)
            c.otherMap[b] = convertByte(uint8_t(b), base);
        c.otherBase = base;
    }
    return c.otherMap;
}
