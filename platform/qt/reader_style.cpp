#include "platform/qt/reader_style.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>

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
};
} // namespace

void installReaderStyle() {
    QApplication::setStyle(new ReaderStyle);
}
