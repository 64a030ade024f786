// Test hooks that take pictures of windows and dialog controls as they are on the screen, so
// that tests can see whether a text is shown whole.
#include <QApplication>
#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>

#include <vector>

#include "platform/gui.h"
#include "platform/qt/qt_window.h"

namespace {
QtImageDc* contextOn(const QImage& image) {
    if (image.isNull()) return nullptr;
    auto* dc = new QtImageDc;
    dc->image = image.convertToFormat(QImage::Format_RGB32);
    dc->image.setDevicePixelRatio(image.devicePixelRatio());
    initialiseDc(*dc);
    return dc;
}

// The dialog's items in template order, then the OK and Cancel buttons while they are shown.
std::vector<QWidget*> controlsOf(PlatformWindow* dialog) {
    std::vector<QWidget*> controls;
    for (QObject* child : dialog->client->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        PlatformWindow* item = windowOf(w);
        if (item && item->kind == PlatformWindow::Item) controls.push_back(w);
    }
    auto* box = qobject_cast<QDialogButtonBox*>(dialog->buttonBox);
    if (box && !box->isHidden()) {
        controls.push_back(box->button(QDialogButtonBox::Ok));
        controls.push_back(box->button(QDialogButtonBox::Cancel));
    }
    return controls;
}
} // namespace

DcHandle windowPicture(WindowHandle window) {
    if (!window || !window->widget) return nullptr;
    QCoreApplication::processEvents();
    return contextOn(window->widget->grab().toImage());
}

bool dialogControl(WindowHandle dialog, int n, Rect* shown, DcHandle* alone) {
    if (!dialog || dialog->kind != PlatformWindow::Dialog || n < 0) return false;
    std::vector<QWidget*> controls = controlsOf(dialog);
    if (size_t(n) >= controls.size()) return false;
    QWidget* w = controls[size_t(n)];
    QRect r(w->mapTo(dialog->widget, QPoint(0, 0)), w->size());
    if (shown) *shown = Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    if (alone) {
        // Drawn by itself at the size its content asks for (or its own, when larger), on the
        // dialog's background.
        QSize own = w->size(), full = own.expandedTo(w->sizeHint());
        double ratio = w->devicePixelRatioF();
        QImage image(full * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(dialog->widget->palette().color(QPalette::Window));
        w->resize(full);
        w->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        w->resize(own);
        *alone = contextOn(image);
    }
    return true;
}

void setDesktopFont(const char16_t* family, int pointSize) {
    static const QFont original = QApplication::font();
    QFont font = family && *family ? QFont(QString::fromUtf16(family)) : original;
    font.setPointSize(pointSize > 0 ? pointSize : original.pointSize());
    QApplication::setFont(font);
}
