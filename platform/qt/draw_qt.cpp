// Drawing on Qt images. Text is drawn as glyph runs of the chosen font, one glyph per code
// unit at the positions its advances give, so Qt never reorders it and what is measured is
// exactly what is drawn.
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <cmath>
#include <vector>

#include "platform/dc_backend.h"

namespace {
QColor toQColor(Colour c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

Colour fromQColor(QRgb rgb) {
    return Colour(qRed(rgb)) | Colour(qGreen(rgb)) << 8 | Colour(qBlue(rgb)) << 16;
}

struct NativeFont {
    QFont font;
    QRawFont raw;
    int height;
    int ascent;
    int maxWidth;
};

NativeFont& nativeOf(FontHandle font) {
    if (!font->native) {
        auto* n = new NativeFont;
        n->font = QFont(QString::fromUtf16(font->description.face));
        n->font.setPixelSize(font->description.height > 0 ? font->description.height : 16);
        n->font.setWeight(
            QFont::Weight(font->description.weight > 0 ? font->description.weight : 400));
        n->font.setUnderline(font->description.underline);
        n->font.setKerning(false);
        n->raw = QRawFont::fromFont(n->font);
        QFontMetrics m(n->font);
        n->height = m.height();
        n->ascent = m.ascent();
        n->maxWidth = m.maxWidth();
        font->native = n;
        font->destroyNative = [](void* p) { delete static_cast<NativeFont*>(p); };
    }
    return *static_cast<NativeFont*>(font->native);
}

// Glyphs of the units, one per unit, and the rounded prefix sums of their advances.
void glyphsOf(NativeFont& n, const char16_t* units, int count, QList<quint32>& glyphs,
              int* prefix) {
    glyphs = n.raw.glyphIndexesForString(QString::fromUtf16(units, count));
    glyphs.resize(count);
    QList<QPointF> advances = n.raw.advancesForGlyphIndexes(glyphs);
    double x = 0;
    prefix[0] = 0;
    for (int i = 0; i < count; ++i) {
        x += i < advances.size() ? advances[i].x() : 0.0;
        prefix[i + 1] = int(std::lround(x));
    }
}

struct QtImageDc : PlatformDc {
    QImage image;

    TextMetrics metrics() override {
        NativeFont& n = nativeOf(font);
        return {n.height, n.maxWidth};
    }

    void advances(const char16_t* units, int count, int* prefix) override {
        QList<quint32> glyphs;
        glyphsOf(nativeOf(font), units, count, glyphs, prefix);
    }

    void text(const char16_t* units, int count, int x, int y, int width, int height) override {
        QPainter p(&image);
        p.fillRect(QRect(x, y, width, height), toQColor(backgroundColour));
        NativeFont& n = nativeOf(font);
        QList<quint32> glyphs;
        std::vector<int> prefix(size_t(count) + 1);
        glyphsOf(n, units, count, glyphs, prefix.data());
        QList<QPointF> positions;
        for (int i = 0; i < count; ++i)
            positions.append(QPointF(prefix[size_t(i)], 0));
        QGlyphRun run;
        run.setRawFont(n.raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        run.setUnderline(n.font.underline());
        p.setPen(toQColor(textColour));
        p.drawGlyphRun(QPointF(x, y + n.ascent), run);
    }

    void fill(const Rect& r, const PlatformBrush& b) override {
        if (b.hollow) return;
        QPainter p(&image);
        p.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), toQColor(b.colour));
    }

    void outline(QPainter& p, const Rect& r) {
        int w = pen->width;
        QColor c = toQColor(pen->colour);
        int width = r.right - r.left, height = r.bottom - r.top;
        p.fillRect(QRect(r.left, r.top, width, w), c);
        p.fillRect(QRect(r.left, r.bottom - w, width, w), c);
        p.fillRect(QRect(r.left, r.top, w, height), c);
        p.fillRect(QRect(r.right - w, r.top, w, height), c);
    }

    void rectangle(const Rect& r) override {
        if (r.right <= r.left || r.bottom <= r.top) return;
        QPainter p(&image);
        if (!brush->hollow)
            p.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top),
                       toQColor(brush->colour));
        if (pen->width > 0) outline(p, r);
    }

    void roundRect(const Rect& r, int ew, int eh) override {
        if (r.right <= r.left || r.bottom <= r.top) return;
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(brush->hollow ? QBrush(Qt::NoBrush) : QBrush(toQColor(brush->colour)));
        p.setPen(pen->width > 0 ? QPen(toQColor(pen->colour), pen->width) : QPen(Qt::NoPen));
        p.drawRoundedRect(QRectF(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1),
                          ew / 2.0, eh / 2.0);
    }

    void copyFrom(int x, int y, int width, int height, PlatformDc& source, int sx,
                  int sy) override {
        auto* src = dynamic_cast<QtImageDc*>(&source);
        if (!src) return;
        QPainter p(&image);
        p.drawImage(QPoint(x, y), src->image, QRect(sx, sy, width, height));
    }

    Colour pixel(int x, int y) override {
        return image.valid(x, y) ? fromQColor(image.pixel(x, y)) : 0;
    }

    int save(const char* path) override {
        return image.save(QString::fromLocal8Bit(path), "PNG") ? 0 : 1;
    }
};

bool holdsHebrew(const QString& family) {
    QFontMetrics m{QFont(family)};
    for (char32_t c = 0x05D0; c <= 0x05EA; ++c) {
        if (!m.inFontUcs4(c)) return false;
    }
    return true;
}
} // namespace

DcHandle createImageDc(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto* dc = new QtImageDc;
    dc->image = QImage(width, height, QImage::Format_RGB32);
    if (dc->image.isNull()) {
        delete dc;
        return nullptr;
    }
    dc->image.fill(Qt::white);
    initialiseDc(*dc);
    return dc;
}

bool fontFamilyInstalled(const char16_t* face) {
    return QFontDatabase::families().contains(QString::fromUtf16(face), Qt::CaseInsensitive);
}

bool firstHebrewFamily(char16_t face[32]) {
    for (const QString& family : QFontDatabase::families(QFontDatabase::Hebrew)) {
        if (family.size() < 32 && holdsHebrew(family)) {
            std::u16string units = family.toStdU16String();
            std::copy(units.begin(), units.end(), face);
            face[units.size()] = 0;
            return true;
        }
    }
    face[0] = 0;
    return false;
}
