// How a hit of a whole-book search is listed: the lesson's title and a line of the text around
// the hit, in reading order, as Unicode (Hebrew letters from U+05D0, the stored 0x7E as '{').
#pragma once
#include <cstdint>

#include "dialogs/search.h"

// Stored bytes of the hit's record shown on either side of it (fewer when the record ends, cut
// back to a word's edge where a space allows).
constexpr int kContextBytes = 32;

// The line of context of `hit` in `text` (the padded buffer of the hit's lesson): the record's
// text around the hit in reading order, the hit between » and «. Writes at most capacity - 1
// units and a 0 into `out` (capacity >= 1). Returns the units written (0 when the hit lies in
// no record), or -1 when memory is short (out empty).
int hitContext(const uint8_t* text, const SearchHit& hit, char16_t* out, int capacity);

// The lesson's title in reading order: its title record, else its subtitle, else empty.
// Writes at most capacity - 1 units and a 0 (capacity >= 1). Returns the units written, or -1
// when memory is short (out empty).
int lessonTitle(const uint8_t* text, char16_t* out, int capacity);
