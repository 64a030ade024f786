// vw-grab: writes a screenshot of the whole X screen (or of one window, by id) to a PNG. Used
// by the end-to-end tests to look at the real program in a real window.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: vw-grab FILE.png [WINDOW_ID]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "vw-grab: no screen\n");
        return 1;
    }
    WId window = argc == 3 ? WId(std::strtoull(argv[2], nullptr, 0)) : 0;
    QPixmap shot = screen->grabWindow(window);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "vw-grab: cannot grab or write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
