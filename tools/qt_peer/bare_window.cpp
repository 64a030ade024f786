// The peer of the reader's start-up: a bare Qt widget program that opens a window, paints one
// line of text and ends after its first paint.
#include <QApplication>
#include <QPainter>
#include <QWidget>

class Bare : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawText(10, 20, QStringLiteral("Versewell"));
        QCoreApplication::exit(0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bare window;
    window.resize(480, 640);
    window.show();
    return QApplication::exec();
}
