#include "tools/qt_peer/qt_peer.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <memory>

struct QtPeer {
    QFont font;
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    QImage image;
};

QtPeer* QtPeerCreate(const std::vector<std::u16string>& paragraphs, const std::u16string& face,
                     int pixelSize) {
    auto* peer = new QtPeer;
    peer->font = QFont(QString::fromStdU16String(face));
    peer->font.setPixelSize(pixelSize);
    for (const std::u16string& p : paragraphs) {
        auto layout = std::make_unique<QTextLayout>(QString::fromStdU16String(p), peer->font);
        QTextOption option(Qt::AlignRight);
        option.setTextDirection(Qt::RightToLeft);
        option.setWrapMode(QTextOption::WordWrap);
        layout->setTextOption(option);
        peer->layouts.push_back(std::move(layout));
    }
    return peer;
}

void QtPeerDestroy(QtPeer* peer) {
    delete peer;
}

int QtPeerLayout(QtPeer* peer, int width) {
    int lines = 0;
    for (auto& layout : peer->layouts) {
        layout->clearLayout();
        layout->beginLayout();
        double y = 0;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
            ++lines;
        }
        layout->endLayout();
    }
    return lines;
}

int QtPeerPaint(QtPeer* peer, int width, int height) {
    if (peer->image.width() != width || peer->image.height() != height) {
        peer->image = QImage(width, height, QImage::Format_RGB32);
    }
    peer->image.fill(Qt::white);
    QPainter painter(&peer->image);
    double y = 0;
    int drawn = 0;
    for (auto& layout : peer->layouts) {
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            if (y + line.height() > height) return drawn;
            line.draw(&painter, QPointF(0, y - line.y()));
            y += line.height();
            ++drawn;
        }
    }
    return drawn;
}
