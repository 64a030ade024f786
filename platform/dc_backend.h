// What stands behind the drawing handles: shared by the platform's drawing back ends (Qt
// images and the recording surface). Not for the system's own code.
#pragma once
#include <vector>

#include "platform/draw.h"

struct PlatformFont {
    FontDescription description;
    void* native; // the back end's own font object, made on first use
    void (*destroyNative)(void* native);
};

struct PlatformBrush {
    bool hollow;
    Colour colour;
    bool stock;
};

struct PlatformPen {
    int width; // 0: no outline
    Colour colour;
    bool stock;
};

struct PlatformDc {
    virtual ~PlatformDc() = default;

    // Metrics of the selected font, and the prefix sums of the advances of `count` units
    // (`prefix` has count + 1 entries; prefix[0] = 0).
    virtual TextMetrics metrics() = 0;
    virtual void advances(const char16_t* units, int count, int* prefix) = 0;
    // textFitBytes for the selected font. The default converts and asks advances(); a back end
    // with a table of advances answers without converting.
    virtual int fitBytes(const uint8_t* bytes, int count, const char16_t* map, int maxWidth,
                         int* width);

    // Draws the units with their box's top-left at (x, y), the box filled with `background`.
    virtual void text(const char16_t* units, int count, int x, int y, int width, int height) = 0;
    virtual void fill(const Rect& rect, const PlatformBrush& brush) = 0;
    virtual void rectangle(const Rect& rect) = 0;
    virtual void roundRect(const Rect& rect, int ellipseWidth, int ellipseHeight) = 0;
    virtual void copyFrom(int x, int y, int width, int height, PlatformDc& source, int sx,
                          int sy) = 0;
    virtual Colour pixel(int x, int y) = 0;
    virtual int save(const char* path) = 0;

    FontHandle font = nullptr;
    BrushHandle brush = nullptr;
    PenHandle pen = nullptr;
    Colour textColour = 0x000000;
    Colour backgroundColour = 0xFFFFFF;
};

// Gives a new context its default font, brush and pen.
void initialiseDc(PlatformDc& dc);
