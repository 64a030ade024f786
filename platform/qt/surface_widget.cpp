#include "platform/qt/surface_widget.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

#include "platform/qt/qt_events.h"
#include "platform/qt/qt_window.h"

SurfaceWidget::SurfaceWidget(PlatformWindow* window, QWidget* parent)
    : QWidget(parent), window_(window) {
    setAttribute(Qt::WA_OpaquePaintEvent, window->kind == PlatformWindow::Main);
}

void fitSurface(PlatformWindow* window) {
    QtImageDc* dc = window->surface;
    QWidget* client = window->client;
    if (!dc || !client) return;
    double ratio = client->devicePixelRatioF();
    QSize size(int(std::ceil(client->width() * ratio)), int(std::ceil(client->height() * ratio)));
    // The first show of a window sized as made: its surface fits already (a new one would cost
    // a start its megabytes of fresh pages twice over, to fill and to copy).
    if (dc->image.size() == size && dc->image.devicePixelRatio() == ratio) return;
    QImage fitted(size, QImage::Format_RGB32);
    fitted.setDevicePixelRatio(ratio);
    fitted.fill(Qt::white);
    {
        QPainter p(&fitted);
        p.drawImage(0, 0, dc->image);
    }
    dc->image = fitted;
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
    QtImageDc* dc = window_->surface;
    // A dialog shows its surface only once it draws itself (it has asked for its context).
    if (!dc) return;
    if (dc->image.devicePixelRatio() != devicePixelRatioF()) {
        // On a screen of another pixel density: a surface at its device pixels, drawn afresh.
        fitSurface(window_);
        window_->invalid = true;
        window_->eraseNeeded = window_->kind != PlatformWindow::Main;
    }
    if (window_->invalid && !window_->destroyed) {
        bool erase = window_->eraseNeeded;
        window_->invalid = false;
        window_->eraseNeeded = false;
        dc->quiet = true;
        const WindowEvents* events = window_->events;
        bool erased =
            erase && events && events->eraseBackground && events->eraseBackground(window_, dc);
        if (erase && !erased)
            fillRect(dc, Rect{0, 0, width(), height()}, getStockBrush(WhiteBrush));
        if (events && events->paint) events->paint(window_);
        dc->quiet = false;
    }
    QPainter p(this);
    p.drawImage(0, 0, dc->image);
}

void SurfaceWidget::resizeEvent(QResizeEvent*) {
    fitSurface(window_);
    window_->invalid = true;
    if (window_->kind == PlatformWindow::Main) {
        placeBars(window_);
    } else {
        window_->eraseNeeded = true;
        placeDialogScrollBar(window_);
    }
    const WindowEvents* events = liveEvents(window_);
    if (events && events->size) events->size(window_, width(), height());
}

void SurfaceWidget::keyPressEvent(QKeyEvent* e) {
    std::optional<Key> key = keyOf(e->key());
    const WindowEvents* events = liveEvents(window_);
    auto handled = [&] {
        return key && events && events->key &&
               events->key(window_, *key, modifiersOf(e->modifiers()));
    };
    if (window_->kind != PlatformWindow::Main) {
        // Return, Escape and Tab belong to the dialog (OK, Cancel, the next item); a key the
        // handler leaves goes on to the dialog too.
        bool dialogKey = key == Key::Return || key == Key::Escape || key == Key::Tab;
        if (dialogKey || !handled()) e->ignore();
        return;
    }
    handled();
}

void SurfaceWidget::mousePressEvent(QMouseEvent* e) {
    const WindowEvents* events = liveEvents(window_);
    if (e->button() == Qt::BackButton || e->button() == Qt::ForwardButton) {
        if (events && events->sideButton)
            events->sideButton(window_, e->button() == Qt::BackButton ? SideButton::Back
                                                                      : SideButton::Forward);
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    QPoint at = e->position().toPoint();
    if (events && events->tap) events->tap(window_, Point{at.x(), at.y()});
}

void SurfaceWidget::wheelEvent(QWheelEvent* e) {
    // The wheel scrolls three lines a notch (120 units of angle), as the scroll bar's arrows
    // would. Touchpads and fine wheels send smaller steps, or pixels (taken as 20 to a line):
    // they add up, and what is not yet worth a line waits for the next event.
    constexpr int kPerLine = 120 / 3, kPixelsPerLine = 20;
    KeyModifiers modifiers = modifiersOf(e->modifiers());
    const WindowEvents* events = liveEvents(window_);
    if (modifiers != NoModifiers && events && events->wheel) {
        // With a modifier held a notch is one step of whatever the handler does with it.
        modifiedRest_ += e->angleDelta().y() != 0 ? e->angleDelta().y() : e->pixelDelta().y() * 6;
        int notches = modifiedRest_ / 120;
        modifiedRest_ -= notches * 120;
        if (notches == 0 || events->wheel(window_, notches, modifiers)) return;
    }
    int pixels = e->pixelDelta().y();
    wheelRest_ += pixels != 0 ? pixels * kPerLine / kPixelsPerLine : e->angleDelta().y();
    int lines = wheelRest_ / kPerLine;
    wheelRest_ -= lines * kPerLine;
    if (lines == 0) return;
    int position = window_->scrollBar ? window_->scrollBar->sliderPosition() : 0;
    for (int i = 0; i < std::abs(lines); ++i)
        deliverScroll(window_, lines > 0 ? ScrollRequest::LineUp : ScrollRequest::LineDown,
                      position);
    deliverScroll(window_, ScrollRequest::EndScroll, position);
}
