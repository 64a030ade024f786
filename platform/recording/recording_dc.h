// A drawing context that records what is drawn instead of drawing it, with fixed metrics, so
// that tests can assert exact geometry:
//   text height = the font's height (16 when 0); maximum character width = the same;
//   every code unit advances height / 2 pixels (at least 1), whatever the unit, unless the
//   context was made with an advance of its own.
#pragma once
#include <string>
#include <vector>

#include "platform/draw.h"

struct DrawOp {
    enum Kind { Text, Fill, Rectangle, RoundRect, Copy } kind;
    Rect rect;               // the text box, or the shape
    std::u16string text;     // Text
    Colour textColour;       // Text
    Colour backgroundColour; // Text
    FontDescription font;    // Text: the selected font
    bool hollow;             // Fill, Rectangle, RoundRect: the brush
    Colour brushColour;
    int penWidth; // Rectangle, RoundRect
    Colour penColour;
    int ellipseWidth, ellipseHeight; // RoundRect
};

// A recording context; `advance` > 0 fixes every unit's advance at that many pixels.
DcHandle createRecordingDc(int advance = 0);

// Everything drawn on a recording context since it was made or last cleared.
const std::vector<DrawOp>& recordedOps(DcHandle dc);
void clearRecordedOps(DcHandle dc);
