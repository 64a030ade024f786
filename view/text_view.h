// The reading view: a lesson laid out into lines for a font and a text area, painted from a
// reading position, scrolled, its links hit-tested and a search highlight drawn over it.
#pragma once
#include <cstdint>

#include "content/lesson_records.h"
#include "platform/draw.h"
#include "state/state.h"

// One laid-out line. For a Hebrew record `start` is the stored position of the line's bytes.
struct LineRecord {
    uint16_t start;      // offset in the lesson of the line's first stored byte (body)
    uint16_t length;     // stored bytes in the body (the label word not included)
    uint16_t x;          // left edge of the body, window pixels
    uint16_t labelWidth; // label column width on a labelled record's first line, else 0
    uint16_t width;      // measured width of the body (a rule's length for a rule)
    uint16_t height;     // text height of the line's font
    uint16_t linkNumber; // link captions: the link number, else 0
    uint8_t style;       // the record's style; bit 7 only on the record's last line
};

// Line units a line takes: one, and one more for the empty line after its record.
inline int lineUnits(const LineRecord& line) {
    return (line.style & StyleEmptyAfter) ? 2 : 1;
}

struct FontCacheEntry {
    FontCacheEntry* next;
    FontHandle font; // owned; null after TextView_SetFont(view, null)
    uint8_t styleKey;
};

// A font cache (the view's, an outline list's): one font per style key, made on first use.
// Find: the cached font of `key`, or null. Add: puts `made` (owned by the cache from then on)
// in front and returns it; null when made is null or memory is short (made is deleted then).
// Free: every font and entry (none may still be selected), the cache empty.
FontHandle fontCacheFind(const FontCacheEntry* cache, uint8_t key);
FontHandle fontCacheAdd(FontCacheEntry** cache, uint8_t key, FontHandle made);
void fontCacheFree(FontCacheEntry** cache);

struct LinkHit {
    LineRecord* line; // null ends the array
    uint16_t y;       // top of that line, window pixels
};

struct ViewArea {
    int32_t left, top, width, height;
};

enum : uint16_t { ReturnLinkShown = 0x0001 };

// Results of the view's operations besides 0 (done).
enum : int {
    ViewNoText = 2,       // SetText: the text was null
    ViewNoView = -1,      // no view (or, for a paint, no text or no lines)
    ViewOutOfMemory = -2, // memory ran out
    ViewMalformed = -4,   // the lesson is malformed
    ViewBadSize = -5,     // Resize: a size of 0 or less
};

// The style a layout and a page start from: plain body type.
constexpr int kBodyStyle = 0x01;

// Flags of TextView_SelectStyle: the style key (the low five style bits), and the key's text
// colour as well.
enum : int { StyleKeyMask = 0x1F, SelectWithColour = 0x100 };

// Repaint requests (paintView and repaintView): paint the view, erase the area first; all.
enum : int { RepaintView = 0x001, RepaintErase = 0x100, RepaintAll = 0x1FF };

struct TextView {
    LineRecord* lines;    // owned; the record after the last has style 0
    DcHandle dc;          // borrowed
    uint8_t* text;        // owned lesson buffer
    int32_t linesPainted; // line units drawn by the last paint
    FontSpec font;        // copy of the chosen font
    FontCacheEntry* fontCache;
    ViewArea area;
    uint16_t topLine;    // first line unit shown: the reading position
    uint16_t totalLines; // line units in the lesson
    uint16_t lineCount;
    uint16_t lineCapacity; // records the table holds, terminator excluded
    uint16_t maxTopLine;   // largest topLine whose page ends at the last line
    uint16_t highlightStart;
    uint16_t highlightEnd; // both 0: no highlight
    LinkHit* linkHits;     // owned; link lines drawn by the last paint
    uint16_t viewFlags;    // ReturnLinkShown
    // Called at the end of every paint (the reader's status line under the area), or null.
    void (*painted)(TextView* view);
};

// The largest line table a view keeps: a lesson that needs more lines fails as out of memory
// (line units are 16-bit and an empty line after each record counts twice).
constexpr uint16_t kMaxLineCapacity = 32640;

// A new view on `dc` for the text area `rect` (null: empty), with a table of initialCapacity
// records (0: none yet). Null when dc is null or memory is short. Destroy with
// TextView_Destroy.
TextView* TextView_Create(DcHandle dc, const Rect* rect, const FontSpec* fontSpec,
                          int initialCapacity);
// Lays out `text` (a padded lesson buffer, see LoadBookResource); the view owns it afterwards.
// 0 done; ViewNoText, ViewNoView, ViewOutOfMemory or ViewMalformed. On failure the caller
// keeps `text` and the view keeps its old text (not released): after ViewMalformed with its
// layout as it was, after ViewOutOfMemory with no lines (lay the old text out again to show
// it). Never changes topLine.
int TextView_SetText(TextView* view, uint8_t* text, int releaseOld);
// New area size and a new layout. ViewNoView, ViewBadSize (a size of 0 or less), else
// SetText's result.
int TextView_Resize(TextView* view, int width, int height);
// A new font (laid out and painted), or with null the cached fonts deleted. 0 or the paint's
// result; 1 when the layout failed; ViewNoView without a view.
int TextView_SetFont(TextView* view, const FontSpec* fontSpec);
// Brings the line holding stored offset `offset` to the top (at most maxTopLine). 1, or 0
// when no line holds it.
int TextView_ShowOffset(TextView* view, int offset);
// The stored offset of the first byte of the line at the top (topLine), or -1 without lines.
int TextView_TopOffset(const TextView* view);
// Brings the line whose bytes begin at or run over `offset` to the top (at most maxTopLine):
// the line it lies inside rather than one that ends at it. 1, or 0 when no line holds it.
int TextView_ShowLineOf(TextView* view, int offset);
void TextView_Destroy(TextView* view);
// Selects the cached font of style key flags & StyleKeyMask (made on first use); with
// SelectWithColour also the key's text colour. Returns the font selected before, or null when a new
// font or cache entry cannot be had (nothing selected then).
FontHandle TextView_SelectStyle(TextView* view, int flags);
// A new font for style key `key` from the view's font (null when it cannot be had).
FontHandle CreateStyleFont(TextView* view, int key);
// The same from `spec`: large type 5/4 of the chosen size (20 px while none is chosen), small
// type 6/8 of it (14 px), bold or normal weight. The outline list's fonts follow it too.
FontHandle makeStyleFont(const FontSpec& spec, int key);
// Deletes every cached font, the stock font selected first; the entries stay, with null fonts
// (made again on their next use).
void deleteStyleFonts(TextView* view);
// Deletes the cached fonts and frees the cache's entries.
void freeStyleFonts(TextView* view);
// Measures `count` bytes against *maxWidth: *count becomes the bytes that fit, *maxWidth their
// width. Converted without Reverse under activeLetterBase (the chosen base when that is 0).
void MeasureFit(DcHandle dc, const uint8_t* bytes, int* maxWidth, int* count);
// A width no text reaches: MeasureFit against it measures all the bytes asked for.
constexpr int kUnlimitedWidth = 1 << 30;
// Grows the line table by 128 records. 0, or ViewOutOfMemory (record `index` zeroed) when
// memory is short or the table would pass kMaxLineCapacity.
int GrowLineTable(TextView* view, int index);
void TextView_ComputeMaxTop(TextView* view);

// Painting (text_paint.cpp).
// Draws the lines from topLine down as far as they fit whole (the area filled white first
// with `erase`), then the highlight. 0 or the highlight's result; ViewNoView without a view,
// a text or lines.
int TextView_Paint(TextView* view, int erase);
// Draws the search highlight over the lines the last paint drew. 0, or ViewNoView as Paint.
int TextView_PaintHighlight(TextView* view);
// Moves topLine by `delta` line units, not below 0; a step past totalLines lands on
// maxTopLine, and with `bounded` no forward step starts at maxTopLine or later. With
// `repaint`, paints. The paint's result; else 3 when topLine moved, 1 when it did not;
// ViewNoView without a view.
int TextView_ScrollBy(TextView* view, int delta, int repaint, int bounded);
// The link number of the link line drawn by the last paint whose frame holds window pixel
// (x, y); 0 for none.
int TextView_HitTestLink(TextView* view, int x, int y);
void DrawTextCell(DcHandle dc, const uint8_t* bytes, int count, int x, int y, int width,
                  int height);
void DrawTextColored(DcHandle dc, const uint8_t* bytes, int count, int x, int y, int width,
                     int height, Colour textColour, Colour backColour);
void FillWithStockBrush(DcHandle dc, int left, int top, int width, int height,
                        StockBrush stockBrush);
void DrawHighlightRun(TextView* view, const uint8_t* textStart, const uint8_t* piece, int count,
                      int x, int y);

// Colours of the reading view.
enum : Colour {
    ColourHeading = 0xFF0000, // blue: large bold
    ColourSmall = 0x800000,   // dark blue: small type and link captions
    ColourBody = 0x000000,
    ColourHighlightText = 0xFF0000,
    ColourHighlightBack = 0x00FFFF,
};
