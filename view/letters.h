// Letter-code conversion: lesson bytes to the 16-bit code units of the chosen font. The 27
// Hebrew letter forms (0x61..0x7B) move to the font's letter base; everything else passes.
#pragma once
#include <cstdint>

#include "content/lesson_records.h"
#include "state/state.h"

// The letter bases and the shared conversion buffer (LetterConversion, appState's
// letterConversion) are declared with the state record.

// The letter base that text of record style `style` is converted under, with `chosen` the
// chosen font's: that for a Hebrew record, LetterBaseLatin (no conversion) for any other.
inline int letterBaseFor(int style, int chosen) {
    return (style & StyleHebrew) ? chosen : LetterBaseLatin;
}

// Converts at most `count` bytes, stopping at a 0 byte, and puts a 0 unit after them. Base:
// shared->activeLetterBase when `shared` is given and that is not 0, else the chosen font's
// letter base. With `shared` the result lives in the shared buffer (grown when too small) and
// must not be freed; without, the caller owns it (plainFree). When count > 0, the base is not
// 97 and Reverse is on, the result is reversed with brackets mirrored. `toRelease`, when not
// null, is freed first. Returns null when memory is short.
char16_t* ConvertLetters(const uint8_t* bytes, char16_t* toRelease, LetterConversion* shared,
                         int count);
// The same conversion under letter base `base`, reversed (brackets mirrored) when `reverse` and
// the base is not 97; in the shared buffer when `shared` is given, else owned by the caller.
char16_t* convertRun(const uint8_t* bytes, int count, int base, bool reverse,
                     LetterConversion* shared);

// Reverses the first n units in place, mirroring ( ) [ ] { } as they move. Returns 0, or 1
// without changing anything when its temporary buffer cannot be had.
int MirrorReverse(char16_t* units, int n);

// The conversion of every single byte under letter base `base`, without Reverse: entry b is
// the unit ConvertLetters makes of byte b (entry 0 is 0). Static storage for 97, 224 and 1488;
// for any other base, the state record's, valid until the next call with another such base.
const char16_t* letterMap(int base);
