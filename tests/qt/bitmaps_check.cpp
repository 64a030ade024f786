// The bitmaps the build converted to pixel tables (tools/bitmaps) against what Qt's XPM reader
// makes of their sources: every bitmap in resources/bitmaps/, every pixel; and the icons made
// of them, at every device ratio.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

#include <utility>
#include <vector>

#include "platform/qt/qt_window.h"

namespace {
void startApplication() {
    static int argc = 1;
    static char name[] = "bitmaps_check";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

// Each source's id and its pixels as Qt's XPM reader gives them.
std::vector<std::pair<int, QImage>> sourceBitmaps() {
    std::vector<std::pair<int, QImage>> bitmaps;
    QDir sources(QStringLiteral(VW_SOURCE_DIR "/resources/bitmaps"));
    for (const QString& file : sources.entryList({QStringLiteral("*.xpm")}, QDir::Files)) {
        QImageReader reader(sources.filePath(file), "xpm");
        reader.setAutoDetectImageFormat(false);
        bitmaps.emplace_back(file.section(u'.', 0, 0).toInt(),
                             reader.read().convertToFormat(QImage::Format_ARGB32));
    }
    return bitmaps;
}
} // namespace

TEST(Bitmaps, EveryPixelAsItsSourceReads) {
    startApplication();
    auto bitmaps = sourceBitmaps();
    ASSERT_FALSE(bitmaps.empty());
    for (const auto& [id, expected] : bitmaps) {
        SCOPED_TRACE(id);
        ASSERT_FALSE(expected.isNull());
        QImage shown = bitmapResource(id);
        ASSERT_EQ(shown.size(), expected.size());
        ASSERT_EQ(shown.format(), QImage::Format_ARGB32);
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x)
                ASSERT_EQ(shown.pixel(x, y), expected.pixel(x, y)) << "at " << x << ", " << y;
        }
    }
}

// An icon's pixmap at ratio r shows each pixel of the bitmap as an r x r square, alpha and all.
TEST(Bitmaps, IconsRepeatEachPixelAtEveryRatio) {
    startApplication();
    for (const auto& [id, source] : sourceBitmaps()) {
        QIcon icon = sharpIcon(bitmapResource(id));
        QImage expected = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int ratio = 1; ratio <= 4; ++ratio) {
            SCOPED_TRACE(testing::Message() << id << " at ratio " << ratio);
            QImage shown = icon.pixmap(source.size() * ratio)
                               .toImage()
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            ASSERT_EQ(shown.size(), source.size() * ratio);
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x)
                    ASSERT_EQ(shown.pixel(x, y), expected.pixel(x / ratio, y / ratio))
                        << "at " << x << ", " << y;
            }
        }
    }
}

TEST(Bitmaps, UnknownIdIsNull) {
    for (int id : {0, -1, 100, 999})
        EXPECT_TRUE(bitmapResource(id).isNull()) << id;
}
