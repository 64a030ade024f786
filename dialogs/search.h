// Search across the book: the stored search text (appState.searchPattern, letter code, display
// order) compared with the lessons' stored bytes, from the reading position down the current
// lesson, through the following lessons (53 followed by 1) and the current lesson from its top.
// A hit is brought into view, highlighted and shown with the lesson's title banner.
#pragma once
#include <cstdint>

#include "platform/handles.h"

// One record of the lesson being searched (the list is built per search and freed after it).
struct SearchRecordNode {
    SearchRecordNode* next;
    const uint8_t* recordStart; // the record's style byte
    const uint8_t* textEnd;     // the terminating 0 of its text
};

// The longest search text, in bytes (searchPattern holds it and a 0).
constexpr int kMaxPatternLength = 33;

// Turns the search box's text (16-bit units in display order, zero-terminated; at most 33 are
// read; null as empty) into searchPattern: a unit at the chosen letter base + k becomes the
// letter 0x61 + k, any other unit its low 8 bits (a 0 ends the text there), and a space followed
// by another space is dropped.
void ConvertPattern(const char16_t* text);

// Forgiving matching (ExactLetters 0): in a Hebrew record a final letter form and its medial
// form match each other, in both directions. The form a letter-code byte is compared as (the
// medial form for a final; any other byte itself).
uint8_t FoldedLetter(uint8_t b);

// Searches for searchPattern and shows the first hit after the previous one (or after the
// reading position). owner: the window that owns "Not Found!". Returns 1 when a hit was shown,
// 0 otherwise (nothing to search for, nothing found, no view, or memory ran out).
int SearchAgain(WindowHandle owner);

// Searches for searchPattern backwards: shows the hit before the one shown (or before the
// reading position), through the lessons before the current one (1 preceded by 53) and the
// current lesson from its end. The same results as SearchAgain.
int SearchPrevious(WindowHandle owner);

// Offset in the current view's text where the search in the current lesson starts: the top
// line's last stored byte; or, when the previous hit ends on the top line or the view is on the
// lesson's last page, just below that hit (the next record's top when the hit begins its
// record, the following line's top when it begins the top line). 65535 (above every record:
// the rest of the lesson is skipped) when the last page has no hit or the hit ends the lesson;
// 0 when the view has no text or no line.
uint16_t SearchStartOffset();

// Searches `text` (a padded lesson buffer) for searchPattern: the record holding startOffset
// from there downwards, then each later record from its last byte down. Returns the offset of
// the first hit's highest byte, with its length in bytes in *matchLength, or 0 for none
// (*matchLength 0). A start below a record's text searches that record whole. *matchLength is
// -1 when memory for the record list ran out: checkedAlloc has told the user, saved the
// settings and released the view (and its text), so the caller abandons the search at once.
// matchLength may be null.
uint16_t SearchInText(const uint8_t* text, uint16_t startOffset, int* matchLength);

// The hit of searchPattern in `text` (a padded lesson buffer) just before a place in the order
// SearchInText walks: above `boundary` in the record holding it (with startAbove, only hits
// that begin above it, as the one a forward search from there would step over), then in each
// earlier record from its first byte up. boundary 65535 searches the whole lesson from its end.
// Returns the offset of the hit's highest byte with its length in *matchLength, or 0 for none;
// *matchLength -1 when memory ran out (as for SearchInText).
uint16_t SearchBefore(const uint8_t* text, int boundary, bool startAbove, int* matchLength);

// Matches `pattern` (patternLength bytes; '?' matches any byte, '*' any run, the last byte is
// always literal) against the bytes from `begin` up to `from`, trying the highest position
// first and comparing the pattern's last byte at the highest position. Returns the position of
// the hit's highest byte, with its length in *matchLength, or null when there is none (also for
// an empty pattern). The hit lies between begin and from.
const uint8_t* MatchBackward(const uint8_t* begin, const char* pattern, int patternLength,
                             const uint8_t* from, int* matchLength);

// MatchBackward under forgiving matching: `pattern` holds folded letters (FoldedLetter) and each
// text byte is compared as FoldedLetter of it.
const uint8_t* MatchBackwardFolded(const uint8_t* begin, const char* pattern, int patternLength,
                                   const uint8_t* from, int* matchLength);

// One hit of a whole-book search: its lesson and the highlight it is shown with (offsets in the
// lesson's expanded text, start inclusive, end exclusive).
struct SearchHit {
    uint16_t lesson;
    uint16_t highlightStart, highlightEnd;
};

// Every hit of searchPattern in the book, lessons 1 to 53 in order, each lesson's hits in the
// order Search Again steps through them (each search going on just below the hit before).
// Returns the number of hits with the list in *hits (the caller frees it with plainFree; null
// when there is none), or -1 when memory ran out (*hits null; checkedAlloc has told the user
// when it was the record list).
int FindAllHits(SearchHit** hits);

// Shows `hit` as Search Again would have shown it: its lesson opened when it is not current,
// the hit's line brought into view, highlighted, with the title banner. owner: the window the
// banner and bookmark mark belong to. 1 when shown, 0 when the lesson could not be opened.
int ShowSearchHit(WindowHandle owner, const SearchHit& hit);
