// Bitmap resources, embedded as XPM images under ":/bitmap/ID".
#include <QImage>

#include "platform/qt/qt_window.h"

QImage bitmapResource(int id) {
    QImage image(QStringLiteral(":/bitmap/%1.xpm").arg(id));
    return image.convertToFormat(QImage::Format_ARGB32);
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

void drawBitmap(DcHandle dc, BitmapHandle bitmap, int x, int y) {
    auto* target = dynamic_cast<QtImageDc*>(dc);
    if (!target || !bitmap) return;
    {
        QPainter p(&target->image);
        p.drawImage(x, y, bitmap->image);
    }
    target->changed();
}
