// Drawing: contexts, fonts, text, colours, brushes, pens, rectangles and bitmap copies.
// Colours are 24-bit values with red in the low byte and blue in the high byte (0x0000FF red,
// 0xFF0000 blue). Text is drawn left to right in exactly the order given, with no bidi
// reordering, and measured with the same advances that draw it.
#pragma once
#include <cstdint>

#include "platform/handles.h"

using Colour = uint32_t;
using BrushHandle = struct PlatformBrush*;
using PenHandle = struct PlatformPen*;

struct Rect {
    int left, top, right, bottom;
};

struct FontDescription {
    int height; // pixels; 0 = the platform's default height
    int weight; // 400 normal, 700 bold
    bool underline;
    char16_t face[32]; // zero-terminated family name
};

// Character sets a font reports.
enum : uint8_t { CharSetDefault = 0, CharSetHebrew = 177 };

struct TextMetrics {
    int height;                       // text height (ascent + descent) of the selected font, pixels
    int maxCharWidth;                 // widest character of the selected font, pixels
    uint8_t charSet = CharSetDefault; // CharSetHebrew when the font holds U+05D0..U+05EA
};

enum StockBrush { WhiteBrush, BlackBrush, HollowBrush };

// Fonts. createFont returns null when the font cannot be had; the caller deletes it with
// deleteFont once no context has it selected.
FontHandle createFont(const FontDescription& description);
void deleteFont(FontHandle font);
// The description a font was made from.
FontDescription fontDescription(FontHandle font);

// The platform's stock font: every context starts with it selected; never deleted.
FontHandle stockFont();

// Selects `font` into `dc` and returns the font selected before (never null: a context starts
// with a default font, which is not to be deleted).
FontHandle selectFont(DcHandle dc, FontHandle font);
TextMetrics getTextMetrics(DcHandle dc);

// How many of the `count` units fit in `maxWidth` pixels with the selected font.
int textFitCount(DcHandle dc, const char16_t* units, int count, int maxWidth);
// Width and height in pixels of exactly `count` units.
void textExtent(DcHandle dc, const char16_t* units, int count, int* width, int* height);
// The two above in one pass over 8-bit text, each byte b standing for the unit map[b] (256
// entries): how many of the `count` bytes (a byte whose unit is 0 ends them sooner) fit in
// `maxWidth` pixels; *width gets the width of that many. The same numbers as converting the
// bytes and asking textFitCount and textExtent, at the cost of the bytes that fit. 0 (width 0)
// with no dc.
int textFitBytes(DcHandle dc, const uint8_t* bytes, int count, const char16_t* map, int maxWidth,
                 int* width);

// Draws `count` units centred horizontally and vertically in `cell`, on one line, with no
// prefix processing. The text's own box is filled with the background colour first.
void drawTextCell(DcHandle dc, const char16_t* units, int count, const Rect& cell);

// Text on plain images is drawn from glyph masks where the platform's own drawing of the same
// glyphs, colour and background has been learnt, pixel for pixel the same (platform/qt/
// glyph_blit.h). Off, every glyph is drawn by the platform; for comparing the two. The count is
// of the glyphs drawn from masks so far.
void setGlyphMasksEnabled(bool enabled);
long glyphsDrawnFromMasks();

// Colours of text and of the box behind it; each returns the previous colour.
Colour setTextColour(DcHandle dc, Colour colour);
Colour setBackgroundColour(DcHandle dc, Colour colour);
Colour getTextColour(DcHandle dc);

// Brushes and pens. Stock brushes are never deleted; created ones are deleted by the caller
// (null when they cannot be had). Selecting returns the one selected before.
BrushHandle getStockBrush(StockBrush which);
BrushHandle createSolidBrush(Colour colour);
void deleteBrush(BrushHandle brush);
BrushHandle selectBrush(DcHandle dc, BrushHandle brush);
PenHandle createSolidPen(int width, Colour colour);
void deletePen(PenHandle pen);
PenHandle selectPen(DcHandle dc, PenHandle pen);

// Fills left..right-1, top..bottom-1 with `brush`, no outline.
void fillRect(DcHandle dc, const Rect& rect, BrushHandle brush);
// Outlines with the selected pen and fills the inside with the selected brush; right and
// bottom are exclusive.
void drawRectangle(DcHandle dc, const Rect& rect);
void drawRoundRect(DcHandle dc, const Rect& rect, int ellipseWidth, int ellipseHeight);
// Copies a width x height block from `source` at (sx, sy) to `dc` at (x, y).
void copyBits(DcHandle dc, int x, int y, int width, int height, DcHandle source, int sx, int sy);

// Contexts on images. createImageDc returns null when the image cannot be had; deleteDc frees
// it (and deletes nothing else: fonts, brushes and pens stay the caller's).
DcHandle createImageDc(int width, int height);
void deleteDc(DcHandle dc);
// Writes the image as PNG. Returns 0, or 1 when it cannot be written.
int saveDcImage(DcHandle dc, const char* path);
// A context on an image read from a PNG file; null when it cannot be read.
DcHandle loadImageDc(const char* path);
// Its size in pixels.
int dcWidth(DcHandle dc);
int dcHeight(DcHandle dc);
// The colour of one pixel of an image context (0 outside it).
Colour dcPixel(DcHandle dc, int x, int y);

// Calls `callback` once per installed font family whose name fits a face name (31 units), in
// the font database's order, with the family's description (its face; height 0, weight 400) and
// metrics (CharSetHebrew when the family's own font holds the 27 Hebrew letters, checked on the
// font), until the callback returns 0. `context` is passed through. Returns the families passed.
using FontFamilyCallback = int (*)(const FontDescription* description, const TextMetrics* metrics,
                                   void* context);
int enumerateFontFamilies(DcHandle dc, FontFamilyCallback callback, void* context);

// Font families: whether one is installed, and the first with Hebrew letters (empty when none).
bool fontFamilyInstalled(const char16_t* face);
bool firstHebrewFamily(char16_t face[32]);
