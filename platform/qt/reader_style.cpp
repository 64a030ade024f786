#include "platform/qt/reader_style.h"

#include <QApplication>
#include <QIcon>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOptionComplex>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
// A chevron pointing to where the hidden buttons are, at 16 pixels and at twice that.
QIcon extensionArrow(bool vertical, const QColor& colour) {
    QIcon icon;
    for (int scale = 1; scale <= 2; ++scale) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(colour, 1.5 * scale));
        p.scale(scale, scale);
        for (int step : {0, 4}) {
            QPolygonF chevron;
            if (vertical) {
                chevron << QPointF(4, 4 + step) << QPointF(8, 8 + step) << QPointF(12, 4 + step);
            } else {
                chevron << QPointF(4 + step, 4) << QPointF(8 + step, 8) << QPointF(4 + step, 12);
            }
            p.drawPolyline(chevron);
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

class ReaderStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon == SP_ToolBarHorizontalExtensionButton ||
            icon == SP_ToolBarVerticalExtensionButton) {
            QColor colour = QApplication::palette().color(QPalette::ButtonText);
            return extensionArrow(icon == SP_ToolBarVerticalExtensionButton, colour);
        }
        return QProxyStyle::standardIcon(icon, option, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        if (control != CC_ScrollBar || !drawnInStrips(option, painter, widget))
            QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

private:
    // Qt's raster engine blends a fill of this many rows or more (the gradients of a tall
    // scroll bar) on a pool of threads, which it starts on first need: at start, starting them
    // cost more than all the drawing.
    static constexpr int kPooledRows = 96;

    // Draws a tall scroll bar strip by strip, each on an image of its own over a copy of what
    // lies under it, then copied back: the same pixels, blended on this thread. False (nothing
    // drawn) where that cannot be done as drawing directly would: a painter that does not
    // draw into a plain 32-bit image at whole pixels, or that draws only part of the bar.
    bool drawnInStrips(const QStyleOptionComplex* option, QPainter* painter,
                       const QWidget* widget) const {
        QPaintEngine* engine = painter->paintEngine();
        QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
        if (!device || device->devType() != QInternal::Image) return false;
        auto* target = static_cast<QImage*>(device);
        const QTransform t = painter->deviceTransform();
        const QRect bar = t.mapRect(option->rect);
        if (t.type() > QTransform::TxTranslate || target->depth() != 32 ||
            target->devicePixelRatio() != 1 || !target->isDetached() ||
            bar.height() < kPooledRows || painter->hasClipping() || !target->rect().contains(bar) ||
            (!engine->systemClip().isEmpty() && !engine->systemClip().contains(bar))) {
            return false;
        }
        const int strips = (bar.height() + kPooledRows - 2) / (kPooledRows - 1);
        const int rows = (bar.height() + strips - 1) / strips;
        const size_t rowBytes = size_t(bar.width()) * sizeof(QRgb);
        for (int top = bar.top(); top <= bar.bottom(); top += rows) {
            const QRect part(bar.left(), top, bar.width(), std::min(rows, bar.bottom() + 1 - top));
            QImage piece = std::as_const(*target).copy(part);
            {
                QPainter p(&piece);
                p.setTransform(t * QTransform::fromTranslate(-part.left(), -part.top()));
                p.setRenderHints(painter->renderHints());
                p.setFont(painter->font());
                p.setPen(painter->pen());
                p.setBrush(painter->brush());
                p.setBrushOrigin(painter->brushOrigin());
                p.setBackground(painter->background());
                p.setBackgroundMode(painter->backgroundMode());
                p.setOpacity(painter->opacity());
                p.setLayoutDirection(painter->layoutDirection());
                QProxyStyle::drawComplexControl(CC_ScrollBar, option, &p, widget);
            }
            for (int y = 0; y < part.height(); ++y) {
                std::memcpy(target->scanLine(part.top() + y) + size_t(part.left()) * sizeof(QRgb),
                            piece.constScanLine(y), rowBytes);
            }
        }
        return true;
    }
};
} // namespace

void installReaderStyle() {
    QApplication::setStyle(new ReaderStyle);
}
