// Drawing glyph runs on RGB32 images from coverage maps of our own, pixel for pixel as Qt draws
// them. Qt blends every pixel of every glyph with a gamma-corrected formula on each paint; the
// colour a coverage value gives over a background is the same each time, so it is learnt once
// from Qt's own drawing and looked up afterwards.
//
// Nothing here assumes how Qt blends: a glyph is first drawn by Qt, and the result is checked
// against the glyph's coverage map (where it stands, that uncovered pixels stay as they were,
// that each coverage value gives one colour). Only a glyph that passed, over pixels that are
// the background, with every coverage value it has already learnt, is drawn from the map; any
// other is drawn by Qt.
#pragma once
#include <QImage>
#include <QRawFont>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

// A glyph's coverage map as Qt draws it, and its corner against the pen position.
struct GlyphMask {
    std::vector<uint8_t> coverage; // width x height, row after row
    // The runs of covered pixels, row by row: all that drawing the glyph touches.
    struct Span {
        uint16_t row, start, length;
    };
    std::vector<Span> spans;
    int width = 0, height = 0;
    int left = 0, top = 0;
    enum State : uint8_t { Unchecked, Matches, QtOnly } state = Unchecked;
    uint16_t learntIn = 0; // bit k: every coverage value of the glyph is known in table k
};

// The colour each coverage value gives a background pixel in one pen colour, as Qt drew it.
struct BlendTable {
    QRgb colour, background;
    QRgb out[256];
    bool known[256];
};

// A font's masks, by glyph index, made as glyphs are first drawn, and its blend tables: a font
// has tables of its own, since Qt may blend one font's glyphs otherwise than another's.
struct GlyphMasks {
    std::unordered_map<quint32, GlyphMask> byGlyph;
    std::vector<std::unique_ptr<BlendTable>> tables;
};

// Draws `count` glyphs of `raw` in `colour`: glyph i with its pen at (x + offsets[i],
// baseline), on `image`, whose pixels under the text are `background` where it has just been
// filled. `painter` is a painter on the image that Qt's drawing uses, begun on first need.
void blitGlyphRun(QImage& image, std::unique_ptr<class QPainter>& painter, const QRawFont& raw,
                  GlyphMasks& masks, const quint32* glyphs, const int* offsets, int count, int x,
                  int baseline, QRgb colour, QRgb background);
