// A peer of the reader's start-up: the reader's first window made the plain Qt way, and ended
// after its first paint. A tool bar with the reader's buttons, tips and "Go" menu, a scroll
// bar, and the page: the lesson's text (as `versewell --export N --text` writes it) laid out
// and drawn by QTextLayout, right to left, in the reader's face at the sizes of its styles.
// Like the reader it reads no image through Qt's plug-ins: the icons are the reader's XPM
// compiled in, and the tool bar's extension arrow is left out.
//
// usage: plain_window TEXT FACE
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>
#include <QTextLayout>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <cstdio>

#include "resources/bitmaps/114.xpm"
#include "resources/menus.h"

namespace {
class NoArrowStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon == SP_ToolBarHorizontalExtensionButton ||
            icon == SP_ToolBarVerticalExtensionButton)
            return QIcon();
        return QProxyStyle::standardIcon(icon, option, widget);
    }
};

class Page : public QWidget {
public:
    Page(const QStringList& paragraphs, const QString& face, QWidget* parent)
        : QWidget(parent), paragraphs_(paragraphs), face_(face) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        // The title, the lesson's heading and its first subheading, then body paragraphs: the
        // reader's styles for a base size of 18 pixels.
        struct Style {
            int pixels;
            bool bold;
            QColor colour;
            Qt::Alignment align;
        };
        const Style title{22, true, Qt::blue, Qt::AlignHCenter};
        const Style heading{18, true, Qt::black, Qt::AlignHCenter};
        const Style subheading{13, true, Qt::darkBlue, Qt::AlignRight};
        const Style body{18, false, Qt::black, Qt::AlignRight};
        const Style* styles[] = {&title, &heading, &subheading};
        qreal y = 2;
        for (int i = 0; i < paragraphs_.size() && y < height(); ++i) {
            const Style& s = i < 3 ? *styles[i] : body;
            QFont font(face_);
            font.setPixelSize(s.pixels);
            font.setBold(s.bold);
            QTextLayout layout(paragraphs_[i], font);
            QTextOption option(s.align);
            option.setTextDirection(Qt::RightToLeft);
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            qreal h = 0;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(width() - 8);
                line.setPosition(QPointF(0, h));
                h += line.height();
                if (y + h >= height()) break;
            }
            layout.endLayout();
            p.setPen(s.colour);
            layout.draw(&p, QPointF(4, y));
            y += h;
        }
        // Queued, as the reader is ended: once this paint has been drawn and shown.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }

private:
    QStringList paragraphs_;
    QString face_;
};

// The reader's "Go" menu on a tool button (a \b parts an item's text from its shortcut).
void addGoMenu(QToolBar* bar, QWidget* window) {
    auto* menu = new QMenu(QString::fromUtf16(kGoMenu.title), bar);
    for (int i = 0; i < kGoMenu.itemCount; ++i) {
        const MenuItemTemplate& item = kGoMenu.items[i];
        if (item.command == 0) {
            menu->addSeparator();
            continue;
        }
        QStringList parts = QString::fromUtf16(item.text).split(QLatin1Char('\b'));
        QAction* action = menu->addAction(parts[0]);
        if (parts.size() > 1) {
            action->setShortcut(QKeySequence(parts[1]));
            window->addAction(action);
        }
    }
    auto* go = new QToolButton(bar);
    go->setText(QString::fromUtf16(kGoMenu.title));
    go->setMenu(menu);
    go->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(go);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: plain_window TEXT FACE\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setStyle(new NoArrowStyle);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "plain_window: cannot read %s\n", argv[1]);
        return 1;
    }
    QStringList paragraphs;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty()) paragraphs << line.trimmed();
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("Versewell"));
    window.resize(480, 640);
    int scrollWidth = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    auto* bar = new QToolBar(&window);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    const QImage strip(tool_buttons);
    for (const BarButton& button : kToolButtons) {
        QPixmap icon = QPixmap::fromImage(strip.copy(button.image * 16, 0, 16, 16));
        bar->addAction(QIcon(icon), QString::fromUtf16(kToolTips[&button - kToolButtons + 1]));
    }
    addGoMenu(bar, &window);
    int barHeight = bar->sizeHint().height();
    bar->setGeometry(0, 0, window.width() - scrollWidth, barHeight);
    auto* scroll = new QScrollBar(Qt::Vertical, &window);
    scroll->setGeometry(window.width() - scrollWidth, 0, scrollWidth, window.height());
    scroll->setRange(0, 500);
    auto* page = new Page(paragraphs, QString::fromLocal8Bit(argv[2]), &window);
    page->setGeometry(0, barHeight, window.width() - scrollWidth, window.height() - barHeight);
    window.show();
    return QApplication::exec();
}
