// Bitmap resources: pixels converted from resources/bitmaps/ by the build.
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/qt/bitmap_pixels.h"
#include "platform/qt/qt_window.h"

QImage bitmapResource(int id) {
    const BitmapPixels* end = kBitmapPixels + kBitmapPixelsCount;
    const BitmapPixels* b =
        std::find_if(kBitmapPixels, end, [id](const BitmapPixels& p) { return p.id == id; });
    if (b == end) return QImage();
    QImage indexed(b->pixels, b->width, b->height, b->width, QImage::Format_Indexed8);
    indexed.setColorTable(QList<QRgb>(b->palette, b->palette + b->colours));
    return indexed.convertToFormat(QImage::Format_ARGB32);
}

namespace {
// Each pixel as a square of `factor` pixels: what Qt's fast scaling gives at a whole ratio,
// without its transformed drawing (which starts a pool of threads for it). A premultiplied image
// stays premultiplied; any other comes out as ARGB32.
QImage repeatedPixels(const QImage& image, int factor) {
    QImage::Format format = image.format() == QImage::Format_ARGB32_Premultiplied
                                ? QImage::Format_ARGB32_Premultiplied
                                : QImage::Format_ARGB32;
    QImage source = image.convertToFormat(format);
    QImage scaled(source.width() * factor, source.height() * factor, format);
    if (scaled.isNull()) return scaled;
    const size_t rowBytes = size_t(scaled.width()) * sizeof(QRgb);
    const int width = source.width(), height = source.height();
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(scaled.scanLine(y * factor));
        for (int x = 0; x < width; ++x)
            std::fill_n(to + x * factor, factor, from[x]);
        for (int copy = 1; copy < factor; ++copy)
            std::memcpy(scaled.scanLine(y * factor + copy), to, rowBytes);
    }
    return scaled;
}
} // namespace

QImage atDeviceRatio(const QImage& image, double ratio) {
    if (image.isNull() || ratio <= 0) return image;
    QImage scaled = image;
    if (ratio == std::floor(ratio) && ratio > 1.0 && ratio <= 8.0) {
        scaled = repeatedPixels(image, int(ratio));
    } else if (ratio != 1.0) {
        scaled = image.scaled(int(std::ceil(image.width() * ratio)),
                              int(std::ceil(image.height() * ratio)), Qt::IgnoreAspectRatio,
                              Qt::FastTransformation);
    }
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

QIcon sharpIcon(const QImage& image) {
    // Premultiplied once, at one ratio: a pixmap takes a premultiplied image as it is, where it
    // would convert (copy) every ratio's pixels.
    const QImage premultiplied = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QIcon icon;
    for (int ratio = 1; ratio <= 4; ++ratio) {
        QImage scaled = atDeviceRatio(premultiplied, ratio);
        scaled.setDevicePixelRatio(1.0); // the icon picks its pixmap by device size
        icon.addPixmap(QPixmap::fromImage(std::move(scaled)));
    }
    return icon;
}

#include <QPainter>

#include "platform/bitmaps.h"

struct PlatformBitmap {
    QImage image;
};

BitmapHandle loadBitmap(int id) {
    QImage image = bitmapResource(id);
    return image.isNull() ? nullptr : new PlatformBitmap{image};
}

void deleteBitmap(BitmapHandle bitmap) {
    delete bitmap;
}

int bitmapWidth(BitmapHandle bitmap) {
    return bitmap ? bitmap->image.width() : 0;
}

int bitmapHeight(BitmapHandle bitmap) {
    return bitmap ? bitmap->image.height() : 0;
}

void drawBitmapInColours(DcHandle dc, BitmapHandle bitmap, int x, int y, Colour ink, Colour paper) {
    if (!bitmap) return;
    if (ink == 0x000000 && paper == 0xFFFFFF) {
        drawBitmap(dc, bitmap, x, y);
        return;
    }
    QColor i = toQColor(ink), p = toQColor(paper);
    QImage tinted = bitmap->image.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < tinted.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(tinted.scanLine(row));
        for (int col = 0; col < tinted.width(); ++col) {
            // How light the pixel is: 0 for the bitmap's black, 255 for its white.
            int light = qGray(line[col]);
            auto mix = [light](int from, int to) { return from + (to - from) * light / 255; };
            line[col] = qRgba(mix(i.red(), p.red()), mix(i.green(), p.green()),
                              mix(i.blue(), p.blue()), qAlpha(line[col]));
        }
    }
    PlatformBitmap coloured{tinted};
    drawBitmap(dc, &coloured, x, y);
}

void drawBitmap(DcHandle dc, BitmapHandle bitmap, int x, int y) {
    auto* target = dynamic_cast<QtImageDc*>(dc);
    if (!target || !bitmap) return;
    {
        // At the surface's own ratio, so that every device pixel comes from one bitmap pixel.
        QPainter p(&target->image);
        p.drawImage(x, y, atDeviceRatio(bitmap->image, target->image.devicePixelRatio()));
    }
    target->changed();
}
