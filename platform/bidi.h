// Right-to-left text between reading order (as typed) and display order (as shown from left to
// right): one line of a right-to-left paragraph under the Unicode bidi algorithm (FriBidi). The
// book compiler stores Hebrew this way and the search box's word is turned the same way.
#pragma once
#include <cstddef>

// Display order of `count` characters given in reading order, laid out as one line of a
// right-to-left paragraph: right-to-left runs reversed with brackets mirrored, numbers and other
// left-to-right runs kept as they read. `display` has room for `count` characters (it must not
// be `reading`). Returns 0, or 1 when memory is short (display untouched).
int bidiDisplayOrder(const char32_t* reading, size_t count, char32_t* display);

// The inverse for text that went through bidiDisplayOrder: reading order of `count` characters
// in display order. Exact for text whose runs the bidi algorithm reorders back the same way (a
// word, words with spaces, numbers, brackets); the caller that must know compares
// bidiDisplayOrder of the result with its input. `reading` has room for `count` characters (it
// must not be `display`). Returns 0, or 1 when memory is short (reading untouched).
int bidiReadingOrder(const char32_t* display, size_t count, char32_t* reading);
