// Drawing on Qt images. Text is drawn as glyph runs of the chosen font, one glyph per code
// unit at the positions its advances give, so Qt never reorders it and what is measured is
// exactly what is drawn.
#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "platform/qt/qt_drawing.h"

QColor toQColor(Colour c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

Colour fromQColor(QRgb rgb) {
    return Colour(qRed(rgb)) | Colour(qGreen(rgb)) << 8 | Colour(qBlue(rgb)) << 16;
}

namespace {
// The face used for a font description without one: the first family with Hebrew letters.
QString defaultFace() {
    static QString face = [] {
        char16_t units[32];
        return firstHebrewFamily(units) ? QString::fromUtf16(units) : QString();
    }();
    return face;
}
} // namespace

NativeFont& nativeOf(FontHandle font) {
    if (!font->native) {
        auto* n = new NativeFont;
        QString face = QString::fromUtf16(font->description.face);
        n->font = QFont(face.isEmpty() ? defaultFace() : face);
        n->font.setPixelSize(font->description.height > 0 ? font->description.height : 16);
        n->font.setWeight(
            QFont::Weight(font->description.weight > 0 ? font->description.weight : 400));
        n->font.setUnderline(font->description.underline);
        n->font.setKerning(false);
        QFontMetrics m(n->font);
        // The font's own engine, already loaded for its metrics; only a face without the Hebrew
        // letters looks further, for the font the desktop gives Hebrew (a second engine).
        n->raw = QRawFont::fromFont(n->font);
        if (!n->raw.supportsCharacter(QChar(0x05D0)))
            n->raw = QRawFont::fromFont(n->font, QFontDatabase::Hebrew);
        n->height = m.height();
        n->ascent = m.ascent();
        n->maxWidth = m.maxWidth();
        n->glyph.assign(kTableUnits, 0);
        n->advance.assign(kTableUnits, std::numeric_limits<double>::quiet_NaN());
        font->native = n;
        font->destroyNative = [](void* p) { delete static_cast<NativeFont*>(p); };
    }
    return *static_cast<NativeFont*>(font->native);
}

namespace {
// The font's table is filled one unit at a time on first use (NaN: not yet): loading every
// glyph of a font up front would cost a start-up many times what the book uses.
[[gnu::noinline]] void fillUnit(NativeFont& n, char16_t unit) {
    QList<quint32> glyphs = n.raw.glyphIndexesForString(QString(QChar(unit)));
    glyphs.resize(1);
    QList<QPointF> advances = n.raw.advancesForGlyphIndexes(glyphs);
    n.glyph[unit] = glyphs[0];
    n.advance[unit] = advances.isEmpty() ? 0.0 : advances[0].x();
}

// The advance of `unit` (below kTableUnits); its glyph is n.glyph[unit] afterwards.
inline double advanceOf(NativeFont& n, char16_t unit) {
    if (std::isnan(n.advance[unit])) [[unlikely]]
        fillUnit(n, unit);
    return n.advance[unit];
}

bool inTable(const char16_t* units, int count) {
    for (int i = 0; i < count; ++i)
        if (units[i] >= kTableUnits) return false;
    return true;
}

// Glyphs of the units, one per unit, and the rounded prefix sums of their advances (summed
// from the first unit on, so that a position is the same however it is asked for).
void glyphsOf(NativeFont& n, const char16_t* units, int count, std::vector<quint32>& glyphs,
              int* prefix) {
    glyphs.resize(size_t(count));
    double x = 0;
    prefix[0] = 0;
    if (inTable(units, count)) {
        for (int i = 0; i < count; ++i) {
            x += advanceOf(n, units[i]);
            glyphs[size_t(i)] = n.glyph[units[i]];
            prefix[i + 1] = int(std::lround(x));
        }
        return;
    }
    QList<quint32> list = n.raw.glyphIndexesForString(QString::fromUtf16(units, count));
    list.resize(count);
    QList<QPointF> advances = n.raw.advancesForGlyphIndexes(list);
    for (int i = 0; i < count; ++i) {
        glyphs[size_t(i)] = list[i];
        x += i < advances.size() ? advances[i].x() : 0.0;
        prefix[i + 1] = int(std::lround(x));
    }
}

// Whether the family's own font (not a fallback Qt would put in its place) holds the letters.
bool holdsHebrew(const QString& family) {
    QRawFont raw = QRawFont::fromFont(QFont(family), QFontDatabase::Any);
    if (!raw.isValid()) return false;
    for (char32_t c = 0x05D0; c <= 0x05EA; ++c) {
        if (!raw.supportsCharacter(c)) return false;
    }
    return true;
}
} // namespace

void QtImageDc::changed() {
    if (widget && !quiet) widget->update();
}

TextMetrics QtImageDc::metrics() {
    NativeFont& n = nativeOf(font);
    return {n.height, n.maxWidth};
}

void QtImageDc::advances(const char16_t* units, int count, int* prefix) {
    std::vector<quint32> glyphs;
    glyphsOf(nativeOf(font), units, count, glyphs, prefix);
}

int QtImageDc::fitBytes(const uint8_t* bytes, int count, const char16_t* map, int maxWidth,
                        int* width) {
    NativeFont& n = nativeOf(font);
    // A rounded position lround(x) stays within maxWidth exactly while x < maxWidth + 0.5.
    if (maxWidth < 0) return PlatformDc::fitBytes(bytes, count, map, maxWidth, width);
    const double limit = maxWidth + 0.5;
    double x = 0;
    int i = 0;
    for (; i < count; ++i) {
        char16_t unit = map[bytes[i]];
        if (unit == 0) break;
        if (unit >= kTableUnits) return PlatformDc::fitBytes(bytes, count, map, maxWidth, width);
        double next = x + advanceOf(n, unit);
        if (!(next < limit)) break;
        x = next;
    }
    *width = int(std::lround(x));
    return i;
}

namespace {
// The pixels of r on the image, all of one opaque colour.
void fillPixels(QImage& image, QRect r, QRgb colour) {
    r &= image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(row + r.left(), row + r.right() + 1, colour);
    }
}
} // namespace

void QtImageDc::text(const char16_t* units, int count, int x, int y, int width, int height) {
    NativeFont& n = nativeOf(font);
    std::vector<quint32> glyphs;
    std::vector<int> prefix(size_t(count) + 1);
    glyphsOf(n, units, count, glyphs, prefix.data());
    QRgb colour = toQColor(textColour).rgb(), background = toQColor(backgroundColour).rgb();
    if (image.format() == QImage::Format_RGB32 && image.devicePixelRatio() == 1.0 &&
        !n.font.underline() && width > 0 && height > 0) {
        // Whole pixels on a plain image: the glyphs from their masks, where Qt's drawing of
        // them has been learnt.
        fillPixels(image, QRect(x, y, width, height), background);
        std::unique_ptr<QPainter> painter;
        blitGlyphRun(image, painter, n.raw, n.masks, glyphs.data(), prefix.data(), count, x,
                     y + n.ascent, colour, background);
    } else {
        QPainter p(&image);
        p.fillRect(QRect(x, y, width, height), toQColor(backgroundColour));
        QList<QPointF> positions;
        positions.reserve(count);
        for (int i = 0; i < count; ++i)
            positions.append(QPointF(prefix[size_t(i)], 0));
        QGlyphRun run;
        run.setRawFont(n.raw);
        run.setGlyphIndexes(QList<quint32>(glyphs.begin(), glyphs.end()));
        run.setPositions(positions);
        run.setUnderline(n.font.underline());
        p.setPen(toQColor(textColour));
        p.drawGlyphRun(QPointF(x, y + n.ascent), run);
    }
    changed();
}

void QtImageDc::fill(const Rect& r, const PlatformBrush& b) {
    if (b.hollow) return;
    {
        QPainter p(&image);
        p.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), toQColor(b.colour));
    }
    changed();
}

void QtImageDc::outline(QPainter& p, const Rect& r) {
    int w = pen->width;
    QColor c = toQColor(pen->colour);
    int width = r.right - r.left, height = r.bottom - r.top;
    p.fillRect(QRect(r.left, r.top, width, w), c);
    p.fillRect(QRect(r.left, r.bottom - w, width, w), c);
    p.fillRect(QRect(r.left, r.top, w, height), c);
    p.fillRect(QRect(r.right - w, r.top, w, height), c);
}

void QtImageDc::rectangle(const Rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    {
        QPainter p(&image);
        if (!brush->hollow)
            p.fillRect(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top),
                       toQColor(brush->colour));
        if (pen->width > 0) outline(p, r);
    }
    changed();
}

void QtImageDc::roundRect(const Rect& r, int ew, int eh) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(brush->hollow ? QBrush(Qt::NoBrush) : QBrush(toQColor(brush->colour)));
        p.setPen(pen->width > 0 ? QPen(toQColor(pen->colour), pen->width) : QPen(Qt::NoPen));
        p.drawRoundedRect(QRectF(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1),
                          ew / 2.0, eh / 2.0);
    }
    changed();
}

void QtImageDc::copyFrom(int x, int y, int width, int height, PlatformDc& source, int sx, int sy) {
    auto* src = dynamic_cast<QtImageDc*>(&source);
    if (!src) return;
    {
        QPainter p(&image);
        double ratio = src->image.devicePixelRatio();
        p.drawImage(QRectF(x, y, width, height), src->image,
                    QRectF(sx * ratio, sy * ratio, width * ratio, height * ratio));
    }
    changed();
}

Colour QtImageDc::pixel(int x, int y) {
    double ratio = image.devicePixelRatio();
    int px = int(x * ratio), py = int(y * ratio);
    return image.valid(px, py) ? fromQColor(image.pixel(px, py)) : 0;
}

int QtImageDc::save(const char* path) {
    // Encoded in memory and written under the name's own bytes (a name need not be UTF-8).
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return 1;
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 1;
    bool written = std::fwrite(png.constData(), 1, size_t(png.size()), out) == size_t(png.size());
    return std::fclose(out) == 0 && written ? 0 : 1;
}

QtImageDc* makeImageDc(int width, int height, double ratio) {
    auto* dc = new QtImageDc;
    dc->image =
        QImage(int(std::ceil(width * ratio)), int(std::ceil(height * ratio)), QImage::Format_RGB32);
    if (dc->image.isNull()) {
        delete dc;
        return nullptr;
    }
    dc->image.setDevicePixelRatio(ratio);
    dc->image.fill(Qt::white);
    initialiseDc(*dc);
    return dc;
}

DcHandle createImageDc(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    return makeImageDc(width, height, 1.0);
}

bool fontFamilyInstalled(const char16_t* face) {
    return QFontDatabase::families().contains(QString::fromUtf16(face), Qt::CaseInsensitive);
}

int enumerateFontFamilies(DcHandle, FontFamilyCallback callback, void* context) {
    int passed = 0;
    for (const QString& family : QFontDatabase::families()) {
        if (family.size() >= 32) continue;
        FontDescription d{};
        d.weight = 400;
        std::u16string units = family.toStdU16String();
        std::copy(units.begin(), units.end(), d.face);
        QFontMetrics m{QFont(family)};
        TextMetrics metrics{m.height(), m.maxWidth()};
        metrics.charSet = holdsHebrew(family) ? CharSetHebrew : CharSetDefault;
        ++passed;
        if (!callback(&d, &metrics, context)) break;
    }
    return passed;
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

DcHandle loadImageDc(const char* path) {
    QImage image(QString::fromLocal8Bit(path));
    if (image.isNull()) return nullptr;
    auto* dc = new QtImageDc;
    dc->image = image.convertToFormat(QImage::Format_RGB32);
    initialiseDc(*dc);
    return dc;
}

int dcWidth(DcHandle dc) {
    auto* image = dynamic_cast<QtImageDc*>(dc);
    return image ? int(image->image.width() / image->image.devicePixelRatio()) : 0;
}

int dcHeight(DcHandle dc) {
    auto* image = dynamic_cast<QtImageDc*>(dc);
    return image ? int(image->image.height() / image->image.devicePixelRatio()) : 0;
}
