// The program's bitmaps as palettes of 32-bit ARGB colours and one byte per pixel (an index into
// the palette), row by row: the build converts them from resources/bitmaps/ (tools/bitmaps), so
// that no image file is decoded at start.
#pragma once
#include <cstdint>

struct BitmapPixels {
    int id;
    int width, height;
    const uint8_t* pixels;
    const uint32_t* palette;
    int colours;
};
extern const BitmapPixels kBitmapPixels[];
extern const int kBitmapPixelsCount;
