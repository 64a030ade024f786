// The bitmaps the build converted to pixel tables (tools/bitmaps) against what Qt's XPM reader
// makes of their sources: every bitmap in resources/bitmaps/, every pixel.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>

#include "platform/qt/qt_window.h"

TEST(Bitmaps, EveryPixelAsItsSourceReads) {
    int argc = 1;
    char name[] = "bitmaps_check";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QDir sources(QStringLiteral(VW_SOURCE_DIR "/resources/bitmaps"));
    QStringList files = sources.entryList({QStringLiteral("*.xpm")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        QImageReader reader(sources.filePath(file), "xpm");
        reader.setAutoDetectImageFormat(false);
        QImage expected = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(expected.isNull());
        QImage shown = bitmapResource(file.section(u'.', 0, 0).toInt());
        ASSERT_EQ(shown.size(), expected.size());
        ASSERT_EQ(shown.format(), QImage::Format_ARGB32);
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x)
                ASSERT_EQ(shown.pixel(x, y), expected.pixel(x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST(Bitmaps, UnknownIdIsNull) {
    for (int id : {0, -1, 100, 999})
        EXPECT_TRUE(bitmapResource(id).isNull()) << id;
}
