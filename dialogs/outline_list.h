// The outline list of the Choose Section dialog: the section index laid out as rows of
// right-aligned titles, indented by level, with headings that open and close the records
// below them. Painted straight into the dialog's context with the reading view's helpers.
#pragma once
#include <cstdint>

#include "state/state.h"
#include "view/text_view.h"

// One screen row of a title.
struct OutlineRow {
    uint16_t start;        // offset in indexText of the row's first stored title byte
    uint16_t length;       // title bytes on the row
    uint16_t x;            // left edge of the row's text, dialog pixels
    uint16_t width;        // measured width of the row's text
    uint16_t height;       // text height of the row's font
    uint16_t sectionValue; // the record's; all rows of a record share it
    uint8_t sectionStyle;  // the record's, then bit 7 shown and bit 6 open as the outline goes
};

struct OutlineList {
    OutlineRow* rows;          // owned; room for rowCapacity + 1, the row after the last zeroed
    DcHandle dc;               // borrowed: the dialog's context
    uint8_t* indexText;        // owned: the index the rows point into (padded like an expanded one)
    int32_t rowsPainted;       // rows drawn by the last paint: the scroll bar's page
    FontSpec font;             // copy of the font in use
    FontCacheEntry* fontCache; // one font per five-bit style key, newest first
    ViewArea area;             // the rectangle the outline occupies
    uint16_t topRow;           // shown rows scrolled off above the first drawn one
    uint16_t shownRows;        // rows whose style has bit 7
    uint16_t rowCount;         // rows in use, terminator not counted
    uint16_t rowCapacity;      // rows the array holds, terminator excluded
    uint16_t maxTopRow;        // largest useful topRow
};

// The largest row array a list keeps: an index that needs more rows fails as out of memory.
constexpr uint16_t kMaxOutlineRows = 65280;

// A list on `dc` over `rect`, with room for initialCapacity rows (0: none yet). Null when dc
// is null or memory is short. Destroy with OutlineList_Destroy.
OutlineList* OutlineList_Create(DcHandle dc, const Rect* rect, const FontSpec* fontSpec,
                                int initialCapacity);
// OutlineList_Build's failures, and OutlineList_HitTest's answer below the rows.
enum : int32_t {
    OutlineEmptyIndex = 0xFFFC,
    OutlineOutOfMemory = 0xFFFE,
    OutlineBelowRows = int32_t(0x80000000u),
};

// Lays the records of `indexText` out into rows; on success the list owns the buffer (freeing
// the one it held when releaseOld, unless it is the same). Returns 0, -1 without a list, 2
// without indexText, OutlineOutOfMemory (the list keeps its old buffer), OutlineEmptyIndex when the
// first record is the end or has an empty title (nothing taken).
int32_t OutlineList_Build(OutlineList* list, uint8_t* indexText, int releaseOld);
// A new size for the area and the rows laid out again; -1 without a list.
int32_t OutlineList_Resize(OutlineList* list, int width, int height);
// Draws the shown rows from topRow (filling the area white first with `erase`). 0, or -1
// without a list, text or rows.
int OutlineList_Paint(OutlineList* list, int erase);
// Scrolls by `delta` shown rows within 0..maxTopRow, painting when topRow moved.
void OutlineList_ScrollBy(OutlineList* list, int delta);
// A tap at dialog client (x, y): a lesson number (1..16383) for an entry; minus the identifier
// of a heading it opened or closed; 0 for nothing; OutlineBelowRows (negative) below the last whole
// row inside the area.
int32_t OutlineList_HitTest(OutlineList* list, int x, int y);
// Opens or closes the heading of row `row` (and paints). Returns minus its identifier.
int32_t OutlineList_Toggle(OutlineList* list, int row);
// Shows the rows of `lesson`'s record, the record after it, and every heading above it.
void OutlineList_RevealLesson(OutlineList* list, int lesson);
// Pairs (value, open bit) for every run of shown rows of one record, ended by a 0 word
// (checkedAlloc; the caller frees it), or null when no row is shown.
uint16_t* OutlineList_SaveOpenState(OutlineList* list);
// Shows and opens again what `saved` names. 0, or -1 without text, rows or saved.
int OutlineList_RestoreOpenState(OutlineList* list, const uint16_t* saved);
void OutlineList_ComputeMaxTop(OutlineList* list);
// Selects the cached font of style key flags & SectionKeyMask (made on first use); with
// SelectWithColour also the key's colour. Returns the font selected before, or null when no font
// could be had.
FontHandle OutlineList_SelectStyle(OutlineList* list, int flags);
void OutlineList_DrawGlyph(OutlineList* list, const OutlineRow& row, int y);
// Frees the index, the rows and the fonts, and the record itself when freeRecord.
void OutlineList_Destroy(OutlineList* list, int freeRecord);
