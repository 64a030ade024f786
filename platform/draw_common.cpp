// The drawing operations over whatever back end stands behind a context.
#include <algorithm>
#include <vector>

#include "platform/dc_backend.h"

namespace {
PlatformBrush gStockBrushes[3] = {
    {false, 0xFFFFFF, true}, {false, 0x000000, true}, {true, 0, true}};
PlatformPen gBlackPen = {1, 0x000000, true};
PlatformFont gDefaultFont = {{16, 400, false, u"DejaVu Sans"}, nullptr, nullptr};
} // namespace

FontHandle stockFont() {
    return &gDefaultFont;
}

void initialiseDc(PlatformDc& dc) {
    dc.font = &gDefaultFont;
    dc.brush = &gStockBrushes[WhiteBrush];
    dc.pen = &gBlackPen;
}

FontHandle createFont(const FontDescription& description) {
    return new PlatformFont{description, nullptr, nullptr};
}

FontDescription fontDescription(FontHandle font) {
    return font ? font->description : FontDescription{};
}

void deleteFont(FontHandle font) {
    if (!font || font == &gDefaultFont) return;
    if (font->native && font->destroyNative) font->destroyNative(font->native);
    delete font;
}

FontHandle selectFont(DcHandle dc, FontHandle font) {
    if (!dc) return nullptr;
    FontHandle previous = dc->font;
    if (font) dc->font = font;
    return previous;
}

TextMetrics getTextMetrics(DcHandle dc) {
    return dc ? dc->metrics() : TextMetrics{0, 0};
}

int textFitCount(DcHandle dc, const char16_t* units, int count, int maxWidth) {
    if (!dc || count <= 0) return 0;
    std::vector<int> prefix(size_t(count) + 1);
    dc->advances(units, count, prefix.data());
    int fit = 0;
    while (fit < count && prefix[size_t(fit) + 1] <= maxWidth)
        ++fit;
    return fit;
}

void textExtent(DcHandle dc, const char16_t* units, int count, int* width, int* height) {
    int w = 0, h = 0;
    if (dc) {
        h = dc->metrics().height;
        if (count > 0) {
            std::vector<int> prefix(size_t(count) + 1);
            dc->advances(units, count, prefix.data());
            w = prefix[size_t(count)];
        }
    }
    if (width) *width = w;
    if (height) *height = h;
}

int PlatformDc::fitBytes(const uint8_t* bytes, int count, const char16_t* map, int maxWidth,
                         int* width) {
    std::vector<char16_t> units;
    for (int i = 0; i < count && map[bytes[i]]; ++i)
        units.push_back(map[bytes[i]]);
    int n = int(units.size());
    std::vector<int> prefix(size_t(n) + 1);
    advances(units.data(), n, prefix.data());
    int fit = 0;
    while (fit < n && prefix[size_t(fit) + 1] <= maxWidth)
        ++fit;
    *width = prefix[size_t(fit)];
    return fit;
}

int textFitBytes(DcHandle dc, const uint8_t* bytes, int count, const char16_t* map, int maxWidth,
                 int* width) {
    int fit = 0, w = 0;
    if (dc && count > 0) fit = dc->fitBytes(bytes, count, map, maxWidth, &w);
    if (width) *width = w;
    return fit;
}

void drawTextCell(DcHandle dc, const char16_t* units, int count, const Rect& cell) {
    if (!dc || count <= 0) return;
    int width = 0, height = 0;
    textExtent(dc, units, count, &width, &height);
    // Centred in the cell, truncating toward zero like the rest of the layout arithmetic.
    int x = cell.left + ((cell.right - cell.left) - width) / 2;
    int y = cell.top + ((cell.bottom - cell.top) - height) / 2;
    dc->text(units, count, x, y, width, height);
}

Colour setTextColour(DcHandle dc, Colour colour) {
    if (!dc) return 0;
    Colour previous = dc->textColour;
    dc->textColour = colour & 0xFFFFFF;
    return previous;
}

Colour setBackgroundColour(DcHandle dc, Colour colour) {
    if (!dc) return 0;
    Colour previous = dc->backgroundColour;
    dc->backgroundColour = colour & 0xFFFFFF;
    return previous;
}

Colour getTextColour(DcHandle dc) {
    return dc ? dc->textColour : 0;
}

BrushHandle getStockBrush(StockBrush which) {
    return &gStockBrushes[which];
}

BrushHandle createSolidBrush(Colour colour) {
    return new PlatformBrush{false, colour & 0xFFFFFF, false};
}

void deleteBrush(BrushHandle brush) {
    if (brush && !brush->stock) delete brush;
}

BrushHandle selectBrush(DcHandle dc, BrushHandle brush) {
    if (!dc) return nullptr;
    BrushHandle previous = dc->brush;
    if (brush) dc->brush = brush;
    return previous;
}

PenHandle createSolidPen(int width, Colour colour) {
    return new PlatformPen{std::max(width, 1), colour & 0xFFFFFF, false};
}

void deletePen(PenHandle pen) {
    if (pen && !pen->stock) delete pen;
}

PenHandle selectPen(DcHandle dc, PenHandle pen) {
    if (!dc) return nullptr;
    PenHandle previous = dc->pen;
    if (pen) dc->pen = pen;
    return previous;
}

void fillRect(DcHandle dc, const Rect& rect, BrushHandle brush) {
    if (dc && brush) dc->fill(rect, *brush);
}

void drawRectangle(DcHandle dc, const Rect& rect) {
    if (dc) dc->rectangle(rect);
}

void drawRoundRect(DcHandle dc, const Rect& rect, int ellipseWidth, int ellipseHeight) {
    if (dc) dc->roundRect(rect, ellipseWidth, ellipseHeight);
}

void copyBits(DcHandle dc, int x, int y, int width, int height, DcHandle source, int sx, int sy) {
    if (dc && source) dc->copyFrom(x, y, width, height, *source, sx, sy);
}

void deleteDc(DcHandle dc) {
    delete dc;
}

int saveDcImage(DcHandle dc, const char* path) {
    return dc ? dc->save(path) : 1;
}

Colour dcPixel(DcHandle dc, int x, int y) {
    return dc ? dc->pixel(x, y) : 0;
}
