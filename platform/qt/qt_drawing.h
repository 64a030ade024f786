// Qt drawing internals shared by the platform's Qt files: fonts and image contexts.
#pragma once
#include <QFont>
#include <QImage>
#include <QRawFont>
#include <QWidget>

#include "platform/dc_backend.h"
#include "platform/qt/glyph_blit.h"

QColor toQColor(Colour c);
Colour fromQColor(QRgb rgb);

// Code units below this have their glyph and advance in a font's table.
constexpr int kTableUnits = 0x600;

struct NativeFont {
    QFont font;
    QRawFont raw;
    int height;
    int ascent;
    int maxWidth;
    // Glyph index and advance (pixels) of each unit below kTableUnits, filled as units are
    // first met: a unit's glyph and advance do not depend on its neighbours (no kerning, no
    // shaping). An advance of NaN is not known yet.
    std::vector<quint32> glyph;
    std::vector<double> advance;
    GlyphMasks masks; // of `raw`'s glyphs, for drawing them without Qt's blending
};

// The Qt font behind a font handle, made on first use.
NativeFont& nativeOf(FontHandle font);

// A drawing context on a QImage. When `widget` is set the image is that widget's persistent
// surface, and every drawing operation asks the widget to show it again.
struct QtImageDc : PlatformDc {
    QImage image;
    QWidget* widget = nullptr;
    bool quiet = false; // no refresh requests (while the widget itself paints)

    TextMetrics metrics() override;
    void advances(const char16_t* units, int count, int* prefix) override;
    int fitBytes(const uint8_t* bytes, int count, const char16_t* map, int maxWidth,
                 int* width) override;
    void text(const char16_t* units, int count, int x, int y, int width, int height) override;
    void fill(const Rect& r, const PlatformBrush& b) override;
    void rectangle(const Rect& r) override;
    void roundRect(const Rect& r, int ew, int eh) override;
    void copyFrom(int x, int y, int width, int height, PlatformDc& source, int sx, int sy) override;
    Colour pixel(int x, int y) override;
    int save(const char* path) override;

    void outline(class QPainter& p, const Rect& r);
    void changed();
};

// Makes a context on an image of width x height logical pixels at `ratio` device pixels each.
QtImageDc* makeImageDc(int width, int height, double ratio);
