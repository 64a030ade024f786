// A lesson as plain lines of 16-bit text, the form in which it leaves the reader: each record
// one line ended by CR LF (a second CR LF for an empty line after it), rules and links as a
// line of dashes, margins as spaces, Hebrew converted for the chosen letter base.
#pragma once
#include <cstddef>
#include <cstdint>

// Bytes that lessonToText needs for `lesson` (a padded lesson buffer, not null), the ending 0
// unit included. Never too small.
size_t measureLessonText(const uint8_t* lesson);

// Writes the text of `lesson` into `out` (capacityBytes bytes) and a 0 unit after it. Hebrew
// records are converted under `letterBase`, turned round (brackets mirrored) when `reverse` and
// the base is not 97; a record turned round keeps its numbers left to right. Returns 0; or 1
// when the text would not fit (nothing is written past the capacity and a message box owned by
// the main window says "(obuf > (start + size))") or when memory for a conversion ran out (no
// message).
int lessonToText(const uint8_t* lesson, char16_t* out, size_t capacityBytes, int letterBase,
                 bool reverse);
