#include "platform/qt/glyph_blit.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/draw.h"

namespace {
bool gEnabled = true;
long gFromMasks = 0;

// A few pairs are in use (body, headings, small type, the highlight); past the limit Qt draws.
constexpr size_t kMaxTables = 16; // GlyphMask::learntIn has a bit for each

// The font's table for the pair and its number, or -1 when there is no room for another.
int tableFor(GlyphMasks& masks, QRgb colour, QRgb background) {
    for (size_t k = 0; k < masks.tables.size(); ++k) {
        const BlendTable& t = *masks.tables[k];
        if (t.colour == colour && t.background == background) return int(k);
    }
    if (masks.tables.size() == kMaxTables) return -1;
    auto t = std::make_unique<BlendTable>();
    t->colour = colour;
    t->background = background;
    std::fill(std::begin(t->known), std::end(t->known), false);
    masks.tables.push_back(std::move(t));
    return int(masks.tables.size() - 1);
}

// The mask of glyph g, read from the font on first use; QtOnly when its map is not plain 8-bit
// coverage at whole-pixel offsets.
GlyphMask& maskOf(const QRawFont& raw, GlyphMasks& masks, quint32 g) {
    auto [it, made] = masks.byGlyph.try_emplace(g);
    GlyphMask& m = it->second;
    if (!made) return m;
    QImage map = raw.alphaMapForGlyph(g, QRawFont::PixelAntialiasing);
    QRectF box = raw.boundingRect(g);
    if (map.isNull() || map.width() == 0 || map.height() == 0) {
        // A glyph without ink (a space) draws nothing; one without a map Qt must draw.
        if (!box.isEmpty()) m.state = GlyphMask::QtOnly;
        return m;
    }
    if (map.format() != QImage::Format_Alpha8 || map.width() > 0xFFFF || map.height() > 0xFFFF ||
        box.x() != std::floor(box.x()) || box.y() != std::floor(box.y()) ||
        int(box.width()) != map.width() || int(box.height()) != map.height()) {
        m.state = GlyphMask::QtOnly;
        return m;
    }
    m.width = map.width();
    m.height = map.height();
    m.left = int(box.x());
    m.top = int(box.y());
    m.coverage.resize(size_t(m.width) * size_t(m.height));
    for (int row = 0; row < m.height; ++row) {
        const uint8_t* line = map.constScanLine(row);
        std::copy_n(line, m.width, m.coverage.data() + size_t(row) * m.width);
        for (int i = 0; i < m.width;) {
            if (!line[i]) {
                ++i;
                continue;
            }
            int start = i;
            while (i < m.width && line[i])
                ++i;
            m.spans.push_back({uint16_t(row), uint16_t(start), uint16_t(i - start)});
        }
    }
    return m;
}

struct Place {
    int left, top; // image pixels
    bool inside;   // the whole map lies on the image
};

Place placeOf(const QImage& image, const GlyphMask& m, int penX, int baseline) {
    Place p{penX + m.left, baseline + m.top, false};
    p.inside = p.left >= 0 && p.top >= 0 && p.left + m.width <= image.width() &&
               p.top + m.height <= image.height();
    return p;
}

// The image's pixels, taken once per run: asking the image for each row checks each time
// whether it is shared.
struct Pixels {
    uchar* bits;
    qsizetype stride;
    QRgb* row(int y) const { return reinterpret_cast<QRgb*>(bits + y * stride); }
};

enum class Ground { Clear, Unknown, Inked };

// What lies under the glyph's covered pixels: all background with every coverage value known
// in table `k` (Clear), all background but with a value not learnt yet (Unknown), or something
// else.
Ground groundOf(const Pixels& image, GlyphMask& m, Place p, const BlendTable& t, int k) {
    for (const GlyphMask::Span& s : m.spans) {
        const QRgb* dst = image.row(p.top + s.row) + p.left + s.start;
        for (int i = 0; i < s.length; ++i) {
            if (dst[i] != t.background) return Ground::Inked;
        }
    }
    if (m.learntIn & (1u << k)) return Ground::Clear;
    for (const GlyphMask::Span& s : m.spans) {
        const uint8_t* cover = m.coverage.data() + size_t(s.row) * m.width + s.start;
        for (int i = 0; i < s.length; ++i) {
            if (!t.known[cover[i]]) return Ground::Unknown;
        }
    }
    m.learntIn |= uint16_t(1u << k);
    return Ground::Clear;
}

void blit(const Pixels& image, const GlyphMask& m, Place p, const BlendTable& t) {
    for (const GlyphMask::Span& s : m.spans) {
        const uint8_t* cover = m.coverage.data() + size_t(s.row) * m.width + s.start;
        QRgb* dst = image.row(p.top + s.row) + p.left + s.start;
        for (int i = 0; i < s.length; ++i)
            dst[i] = t.out[cover[i]];
    }
}

void drawByQt(QImage& image, std::unique_ptr<QPainter>& painter, const QRawFont& raw, quint32 g,
              int penX, int baseline, QRgb colour) {
    if (!painter) {
        painter = std::make_unique<QPainter>(&image);
        painter->setPen(QColor::fromRgb(colour));
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes({g});
    run.setPositions({QPointF(0, 0)});
    painter->drawGlyphRun(QPointF(penX, baseline), run);
}

// The pixels of the map and a ring of one pixel around it, clipped to the image.
struct Area {
    int left, top, right, bottom;
};
Area areaAround(const QImage& image, const GlyphMask& m, Place p) {
    return {std::max(p.left - 1, 0), std::max(p.top - 1, 0),
            std::min(p.left + m.width + 1, image.width()),
            std::min(p.top + m.height + 1, image.height())};
}

std::vector<QRgb> copyOf(const Pixels& image, Area a) {
    std::vector<QRgb> pixels;
    pixels.reserve(size_t(a.right - a.left) * size_t(a.bottom - a.top));
    for (int y = a.top; y < a.bottom; ++y)
        pixels.insert(pixels.end(), image.row(y) + a.left, image.row(y) + a.right);
    return pixels;
}

// After Qt drew the glyph over `before`: whether the result is what the mask and the table say,
// learning the colours of coverage values not known yet. The table changes only when it is.
bool learn(const Pixels& image, const GlyphMask& m, Place p, Area a,
           const std::vector<QRgb>& before, BlendTable& t) {
    QRgb out[256];
    bool known[256];
    std::copy(std::begin(t.out), std::end(t.out), out);
    std::copy(std::begin(t.known), std::end(t.known), known);
    size_t k = 0;
    for (int y = a.top; y < a.bottom; ++y) {
        const QRgb* now = image.row(y);
        for (int x = a.left; x < a.right; ++x, ++k) {
            int mx = x - p.left, my = y - p.top;
            bool onMap = mx >= 0 && my >= 0 && mx < m.width && my < m.height;
            uint8_t c = onMap ? m.coverage[size_t(my) * m.width + mx] : 0;
            if (!c) {
                if (now[x] != before[k]) return false;
            } else if (!known[c]) {
                out[c] = now[x];
                known[c] = true;
            } else if (out[c] != now[x]) {
                return false;
            }
        }
    }
    std::copy(std::begin(out), std::end(out), t.out);
    std::copy(std::begin(known), std::end(known), t.known);
    return true;
}

// Glyph g by Qt; when it lay over background only, what it shows is checked and learnt from.
void drawAndLearn(QImage& image, std::unique_ptr<QPainter>& painter, const QRawFont& raw,
                  GlyphMask& m, quint32 g, Place p, int penX, int baseline, BlendTable& t,
                  bool overBackground) {
    if (!overBackground) {
        drawByQt(image, painter, raw, g, penX, baseline, t.colour);
        return;
    }
    Area a = areaAround(image, m, p);
    Pixels pixels{image.bits(), image.bytesPerLine()};
    std::vector<QRgb> before = copyOf(pixels, a);
    drawByQt(image, painter, raw, g, penX, baseline, t.colour);
    bool matches = learn(pixels, m, p, a, before, t);
    if (m.state == GlyphMask::Unchecked || !matches)
        m.state = matches ? GlyphMask::Matches : GlyphMask::QtOnly;
}
} // namespace

void blitGlyphRun(QImage& image, std::unique_ptr<QPainter>& painter, const QRawFont& raw,
                  GlyphMasks& masks, const quint32* glyphs, const int* offsets, int count, int x,
                  int baseline, QRgb colour, QRgb background) {
    int k = gEnabled ? tableFor(masks, colour, background) : -1;
    BlendTable* t = k >= 0 ? masks.tables[size_t(k)].get() : nullptr;
    const Pixels pixels{image.bits(), image.bytesPerLine()};
    for (int i = 0; i < count; ++i) {
        int penX = x + offsets[i];
        GlyphMask* m = t ? &maskOf(raw, masks, glyphs[i]) : nullptr;
        Place p = m ? placeOf(image, *m, penX, baseline) : Place{0, 0, false};
        if (!m || m->state == GlyphMask::QtOnly || !p.inside) {
            drawByQt(image, painter, raw, glyphs[i], penX, baseline, colour);
            continue;
        }
        Ground ground = groundOf(pixels, *m, p, *t, k);
        if (m->state == GlyphMask::Matches && ground == Ground::Clear) {
            blit(pixels, *m, p, *t);
            ++gFromMasks;
        } else {
            drawAndLearn(image, painter, raw, *m, glyphs[i], p, penX, baseline, *t,
                         ground != Ground::Inked);
        }
    }
}

void setGlyphMasksEnabled(bool enabled) {
    gEnabled = enabled;
}

long glyphsDrawnFromMasks() {
    return gFromMasks;
}
