// The search box and the stored search text. The box is an ordinary right-to-left edit box: it
// holds the word in reading order, as typed. The stored text (and the book) is in display order;
// the two are turned into each other with the same bidi step the book compiler uses.
#pragma once
#include <cstdint>

// The box's text (UTF-16, reading order, zero-terminated; null as empty) to display-order units
// for ConvertPattern, under the chosen letter base: Hebrew letters, typed (U+05D0..U+05EA) or at
// the letter base, come out at the letter base; points and cantillation are dropped, maqaf
// becomes '-', sof pasuq ':', geresh and gershayim ' and " (typedCharacters, forgiving unless
// ExactLetters); under a letter base other than 97 a
// '{' left in display order becomes 0x7E, as the book stores it. Writes at most capacity - 1
// units and a 0 into `display` (capacity >= 1). Returns the units written, or -1 when memory is
// short (display empty).
int boxTextToDisplayOrder(const char16_t* box, char16_t* display, int capacity);

// What one character typed into the box (or given on the command line) stands for in the bidi
// step: Hebrew letters (typed, U+05D0..U+05EA, or at letter base `base`) as Unicode Hebrew,
// maqaf as '-', geresh and gershayim as ' and ", points and cantillation (U+0591..U+05C7)
// dropped, sof pasuq ':' (dropped too when `forgiving`); when `forgiving` a presentation form
// (U+FB1D..U+FB4F) becomes its letters. Any other character stands for itself. Writes 0 to 2
// characters into `out` and returns how many.
int typedCharacters(char32_t c, int base, bool forgiving, char32_t out[2]);

// The inverse, to fill the box: `pattern` (letter code, display order, zero-terminated, at most
// 33 bytes read) to the box's text in reading order, letters at the chosen letter base (0x7E as
// '{' under a letter base other than 97). Reverse plays no part: the box always holds reading
// order. (Under base 97 '{' is the letter tav, so a stored '}', which reads as '{', comes back
// as that letter.) Returns a new zero-terminated string (the caller frees it with plainFree), or
// null when memory is short.
char16_t* patternToBoxText(const char* pattern);
