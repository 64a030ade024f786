// A peer of the reader's start-up: the reader's first window made the plain Qt way, and ended
// after its first paint. A tool bar with the reader's buttons, tips and "Go" menu, a scroll
// bar, and the page: lesson LESSON expanded from the embedded book, laid out whole by
// QTextLayout in the reader's face, styles, margins and labels (tools/qt_peer), the scroll
// range set from that layout, and its first page drawn. Like the reader it reads no image
// through Qt's plug-ins: the icons are the reader's XPM compiled in, and the tool bar's
// extension arrow is left out.
//
// usage: plain_window LESSON FACE
#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "content/resource.h"
#include "platform/memory.h"
#include "resources/bitmaps/114.xpm"
#include "resources/menus.h"
#include "tools/qt_peer/qt_peer.h"

namespace {
// The reader's size with the bench's settings, and the letter base of a Unicode Hebrew face.
constexpr int kFontSize = 18, kUnicodeLetters = 1488;

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

// The page: the lesson laid out whole by QTextLayout (tools/qt_peer), drawn from the top.
class Page : public QWidget {
public:
    Page(QtPeer* peer, QWidget* parent) : QWidget(parent), peer_(peer) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        QtPeerDraw(peer_, &p, height());
        // Queued, as the reader is ended: once this paint has been drawn and shown.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }

private:
    QtPeer* peer_;
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
    int lesson = argc == 3 ? std::atoi(argv[1]) : 0;
    if (lesson < 1) {
        std::fputs("usage: plain_window LESSON FACE\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setStyle(new NoArrowStyle);
    // The lesson's bytes come from the same embedded book objects through the reader's own
    // resource lookup and expander, as the reader takes them: the book's packing is not Qt's
    // to read, and an expander of the peer's own would be measured in the reader's place.
    int error = 0;
    uint8_t* text = LoadBookResource(lesson, &error);
    if (!text) {
        std::fprintf(stderr, "plain_window: lesson %d cannot be loaded (error %d)\n", lesson,
                     error);
        return 1;
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
    // The whole lesson laid out in the reader's styles at the page's width, as the reader lays
    // it out before its first paint, and the scroll range taken from the layout's height.
    const int pageWidth = window.width() - scrollWidth, pageHeight = window.height() - barHeight;
    QtPeer* peer = QtPeerCreate(text, QString::fromLocal8Bit(argv[2]).toStdU16String(), kFontSize,
                                kUnicodeLetters);
    QtPeerLayout(peer, pageWidth);
    auto* scroll = new QScrollBar(Qt::Vertical, &window);
    scroll->setGeometry(window.width() - scrollWidth, 0, scrollWidth, window.height());
    scroll->setRange(0, std::max(0, QtPeerHeight(peer) - pageHeight));
    scroll->setPageStep(pageHeight);
    auto* page = new Page(peer, &window);
    page->setGeometry(0, barHeight, pageWidth, pageHeight);
    window.show();
    int status = QApplication::exec();
    QtPeerDestroy(peer);
    plainFree(text);
    return status;
}
