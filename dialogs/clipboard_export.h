// Copy and Append: the whole lesson of the reading view on the clipboard, as a Rich Text
// document with the same text as Unicode text beside it when the font keeps its Hebrew letters
// at their Unicode places (letter base above 256), else as Unicode text alone. Each command
// leaves only those formats on the clipboard.
#pragma once
#include <cstddef>
#include <cstdint>

struct TextView;

// The handler of Copy (append 0: replace what the clipboard holds) and Append (append 1: add
// the lesson behind what it holds in the same format). Nothing happens without a view or a
// lesson, or when the clipboard cannot be opened or memory runs short.
void copyLessonToClipboard(TextView* view, int append);

// The text of `lesson` as Copy puts it out: under the chosen letter base, with Reverse turned
// over for a base above 256 (Flags is as before afterwards). Returns a new 0-terminated buffer
// (plainFree), or null when memory is short or the text did not fit.
char16_t* exportLessonText(const uint8_t* lesson);

// A copy of the clipboard's data in `format` (0 or 13: Unicode text), without its ending 0, and
// its length in bytes in *length (two per unit for Unicode text). The caller owns the copy
// (plainFree). Null with *length 0 when the clipboard holds nothing in that format or cannot
// be opened; null with *length the size it needed when memory for the copy ran out.
void* readClipboard(unsigned format, size_t* length);

// The clipboard's content replaced by the Rich Text document of `text` (0-terminated) and by
// `text` as Unicode text, or with append, that document added to the Rich Text the clipboard
// holds (a new document when it holds none) and `text` behind the Unicode text it holds. When
// the clipboard cannot be opened or memory runs short nothing changes.
void putRichText(const char16_t* text, int append);

// The same with Unicode text: with append, `text` directly behind the text already held.
void putUnicodeText(const char16_t* text, int append);

// The Unicode text that Copy (previousBytes 0) or Append makes: the previous text
// (previousBytes bytes, no ending 0 needed), then `text` and a 0 unit. Returns a new block from
// plainAlloc, its size in *bytes; null when memory is short.
char16_t* unicodeDocument(const char16_t* previous, size_t previousBytes, const char16_t* text,
                          size_t* bytes);
