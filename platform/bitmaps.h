// Bitmap resources of the program.
#pragma once
#include "platform/draw.h"
#include "platform/handles.h"

// Bitmap resource `id`, or null when the program has none. Released with deleteBitmap.
BitmapHandle loadBitmap(int id);
void deleteBitmap(BitmapHandle bitmap);
// Its size in pixels.
int bitmapWidth(BitmapHandle bitmap);
int bitmapHeight(BitmapHandle bitmap);
// Draws it with its top-left corner at (x, y).
void drawBitmap(DcHandle dc, BitmapHandle bitmap, int x, int y);
// The same with a black-on-white bitmap's black drawn as `ink` and its white as `paper` (the
// greys between them in proportion); black and white draw it exactly as drawBitmap does.
void drawBitmapInColours(DcHandle dc, BitmapHandle bitmap, int x, int y, Colour ink, Colour paper);
