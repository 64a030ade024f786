// The reader's style draws a tall scroll bar strip by strip (so that Qt blends it on the calling
// thread): every pixel must be what its base style gives drawing it at once. Scroll bars of many
// lengths, positions and states are drawn both ways onto images already holding a picture, at
// an offset, and compared.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>

#include "platform/qt/reader_style.h"

namespace {
struct Case {
    int length, value;
    Qt::Orientation orientation;
    bool enabled;
};

// A picture under the bar, so that what the bar leaves uncovered shows too.
QImage backdrop() {
    QImage image(60, 1500, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 60, 1500);
    g.setColorAt(0, Qt::darkCyan);
    g.setColorAt(1, Qt::yellow);
    p.fillRect(image.rect(), g);
    return image;
}

QImage drawn(QStyle* style, const Case& c) {
    QScrollBar bar(c.orientation);
    bar.setStyle(style);
    bar.setRange(0, 1000);
    bar.setPageStep(90);
    bar.setValue(c.value);
    bar.setEnabled(c.enabled);
    bar.resize(c.orientation == Qt::Vertical ? QSize(17, c.length) : QSize(c.length, 17));
    QImage image = backdrop();
    bar.render(&image, QPoint(7, 11));
    return image;
}

TEST(ReaderStyleScrollBar, DrawnAsItsBaseStyleDrawsIt) {
    int argc = 1;
    char name[] = "scroll_bar_check";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    installReaderStyle();
    auto* reader = qobject_cast<QProxyStyle*>(QApplication::style());
    ASSERT_TRUE(reader);
    QStyle* base = reader->baseStyle();
    const Case cases[] = {
        {95, 0, Qt::Vertical, true},      {96, 0, Qt::Vertical, true},
        {97, 500, Qt::Vertical, true},    {200, 1, Qt::Vertical, true},
        {333, 999, Qt::Vertical, true},   {640, 500, Qt::Vertical, true},
        {640, 1000, Qt::Vertical, false}, {1441, 250, Qt::Vertical, true},
        {60, 500, Qt::Horizontal, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " long at " << c.value
                                        << (c.orientation == Qt::Vertical ? " vertical" : "")
                                        << (c.enabled ? "" : " disabled"));
        QImage ours = drawn(QApplication::style(), c), theirs = drawn(base, c);
        EXPECT_TRUE(ours == theirs);
        // The bar did draw: the images are not both the bare backdrop.
        EXPECT_FALSE(ours == backdrop());
    }
}
} // namespace
