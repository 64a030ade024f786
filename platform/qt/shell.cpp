// Requests to the desktop: opening an address, full screen, system metrics and version.
#include <QApplication>
#include <QDesktopServices>
#include <QPalette>
#include <QStyle>
#include <QUrl>

#include "platform/qt/qt_window.h"

namespace {
bool gRecordAddresses = false;
std::vector<std::u16string> gOpenedAddresses;
} // namespace

void openAddress(const char16_t* address) {
    if (gRecordAddresses) {
        gOpenedAddresses.push_back(address);
        return;
    }
    // The desktop's handler opens it; nothing is reported when there is none.
    QDesktopServices::openUrl(QUrl(QString::fromUtf16(address)));
}

void recordOpenedAddresses(bool on) {
    gRecordAddresses = on;
    gOpenedAddresses.clear();
}

std::vector<std::u16string> takeOpenedAddresses() {
    std::vector<std::u16string> taken;
    taken.swap(gOpenedAddresses);
    return taken;
}

void fullScreenRequest(WindowHandle window, uint32_t flags) {
    // Hiding the task bar is the desktop's full screen; the input panel and start icon have
    // nothing to hide here.
    if (window && window->kind == PlatformWindow::Main && (flags & FullScreenHideTaskBar) &&
        !window->widget->isFullScreen()) {
        window->widget->showFullScreen();
    }
}

int systemMetric(Metric metric) {
    switch (metric) {
    case Metric::ScrollBarWidth:
        return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    case Metric::EdgeWidth:
    case Metric::EdgeHeight:
        return 2;
    }
    return 0;
}

#include <unistd.h>

#include "platform/process.h"

int programPath(char16_t* buffer, int capacity) {
    if (capacity <= 0) return 0;
    char link[4096];
    ssize_t n = ::readlink("/proc/self/exe", link, sizeof link - 1);
    std::u16string path =
        n > 0 ? QString::fromLocal8Bit(link, qsizetype(n)).toStdU16String() : std::u16string();
    if (path.size() >= size_t(capacity)) path.clear();
    std::copy(path.begin(), path.end(), buffer);
    buffer[path.size()] = 0;
    return int(path.size());
}

bool desktopIsDark() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    QPalette palette = QApplication::palette();
    return palette.color(QPalette::Window).lightness() <
           palette.color(QPalette::WindowText).lightness();
}

void setDesktopPaletteForTest(bool dark) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Window, dark ? QColor(0x20, 0x20, 0x20) : QColor(0xEF, 0xEF, 0xEF));
    palette.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
    QApplication::setPalette(palette);
}
