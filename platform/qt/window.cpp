// The main window on Qt: a frame with the client area (which shows the persistent drawing
// surface) and the vertical scroll bar; Qt's events become calls on the window's handlers here.
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QVariant>

#include <map>

#include "platform/qt/dialog_items.h"
#include "platform/qt/qt_events.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/surface_widget.h"
#include "platform/quit.h"

namespace {
std::map<std::u16string, const WindowEvents*> gClasses;
constexpr int kDefaultWidth = 480, kDefaultHeight = 640;

class FrameWidget : public QWidget {
public:
    explicit FrameWidget(PlatformWindow* window) : window_(window) {}

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        deliverClose(window_);
    }
    void changeEvent(QEvent* e) override {
        const WindowEvents* events = liveEvents(window_);
        if (e->type() == QEvent::ActivationChange && events && events->activate)
            events->activate(window_, isActiveWindow());
        bool colours = e->type() == QEvent::PaletteChange ||
                       e->type() == QEvent::ApplicationPaletteChange ||
                       e->type() == QEvent::ThemeChange;
        if (colours && events && events->desktopColours) events->desktopColours(window_);
        QWidget::changeEvent(e);
    }

private:
    PlatformWindow* window_;
};
} // namespace

PlatformWindow* windowOf(const QWidget* widget) {
    return widget ? static_cast<PlatformWindow*>(widget->property("versewellWindow").value<void*>())
                  : nullptr;
}

void attachWindow(QWidget* widget, PlatformWindow* window) {
    widget->setProperty("versewellWindow", QVariant::fromValue<void*>(window));
}

bool registerWindowClass(const char16_t* className, const WindowEvents* events) {
    gClasses[className] = events;
    return true;
}

WindowHandle createWindow(const char16_t* className, const char16_t* title, WindowOptions options) {
    auto it = gClasses.find(className);
    if (it == gClasses.end() || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    auto* window = new PlatformWindow;
    window->kind = PlatformWindow::Main;
    window->events = it->second;
    auto* frame = new FrameWidget(window);
    frame->setWindowTitle(QString::fromUtf16(title));
    frame->setWindowIcon(sharpIcon(bitmapResource(101)));
    frame->setObjectName(QString::fromUtf16(className));
    window->widget = frame;
    attachWindow(frame, window);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* client = new SurfaceWidget(window);
    client->setFocusPolicy(Qt::StrongFocus);
    attachWindow(client, window);
    window->client = client;
    layout->addWidget(client, 1);
    if (options & WindowVScroll) {
        window->scrollBar = new QScrollBar(Qt::Vertical, frame);
        window->scrollBar->setRange(0, 0);
        layout->addWidget(window->scrollBar);
        connectScrollBar(window, window->scrollBar);
    }
    int scrollWidth = window->scrollBar ? window->scrollBar->sizeHint().width() : 0;
    frame->resize(kDefaultWidth + scrollWidth, kDefaultHeight);
    window->surface = makeImageDc(kDefaultWidth, kDefaultHeight, client->devicePixelRatioF());
    window->surface->widget = client;
    client->resize(kDefaultWidth, kDefaultHeight);
    if (window->events && window->events->created) window->events->created(window);
    return window;
}

const WindowEvents* windowEvents(WindowHandle window) {
    return window ? window->events : nullptr;
}

void destroyWindow(WindowHandle window) {
    if (!window || window->destroyed) return;
    if (window->kind == PlatformWindow::Main) {
        if (window->events && window->events->destroyed) window->events->destroyed(window);
        window->destroyed = true;
        window->widget->hide();
        window->surface->widget = nullptr;
        // The record behind the handle and its surface outlive the widgets that point to them.
        QObject::connect(window->widget, &QObject::destroyed, [window]() {
            deleteDc(window->surface);
            delete window;
        });
        window->widget->deleteLater();
    } else {
        window->destroyed = true;
        window->widget->deleteLater();
    }
}

void showWindow(WindowHandle window) {
    if (!window || window->destroyed) return;
    window->invalid = true;
    window->widget->show();
}

void updateWindow(WindowHandle window) {
    if (!window || window->destroyed || window->kind != PlatformWindow::Main) return;
    window->invalid = true;
    window->client->repaint();
}

FontHandle itemFont(WindowHandle item) {
    if (!item || item->kind != PlatformWindow::Item) return nullptr;
    if (item->assignedFont) return item->assignedFont;
    if (!item->ownFont) {
        QFont f = item->widget->font();
        FontDescription d{};
        d.height = f.pixelSize() > 0 ? f.pixelSize() : 0;
        d.weight = int(f.weight());
        std::u16string face = f.family().toStdU16String().substr(0, 31);
        std::copy(face.begin(), face.end(), d.face);
        item->ownFont = createFont(d);
    }
    return item->ownFont;
}

void setItemFont(WindowHandle item, FontHandle font) {
    if (!item || item->kind != PlatformWindow::Item || !font) return;
    item->assignedFont = font;
    item->widget->setFont(nativeOf(font).font);
}

int runMessageLoop() {
    int code = 0;
    if (!quitRequested(&code)) code = QApplication::exec();
    // Windows destroyed on the way out are deleted now, not left to a loop that has ended.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}

Rect windowRect(WindowHandle window) {
    if (!window || !window->widget) return {0, 0, 0, 0};
    // Top-level windows by their frame, items within their dialog's client area.
    QRect r =
        window->widget->isWindow() ? window->widget->frameGeometry() : window->widget->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Rect clientRect(WindowHandle window) {
    if (!window) return {0, 0, 0, 0};
    QWidget* w = window->client ? window->client : window->widget;
    return {0, 0, w->width(), w->height()};
}

void moveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) {
    if (!window || !window->widget) return;
    QWidget* w = window->widget;
    if (w->isWindow()) {
        // The rectangle is the frame's, as windowRect gives it.
        QRect frame = w->frameGeometry(), inner = w->geometry();
        w->resize(width - (frame.width() - inner.width()),
                  height - (frame.height() - inner.height()));
        w->move(x, y);
    } else {
        w->setGeometry(x, y, width, height);
        growToText(window); // a dialog's text item keeps room for its text
    }
    if (repaint) w->update();
}

WindowHandle foregroundWindow() {
    QWidget* active = QApplication::activeWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) active = modal;
    return windowOf(active);
}

WindowHandle parentWindow(WindowHandle window) {
    return window ? window->owner : nullptr;
}

void setForegroundWindow(WindowHandle window) {
    if (!window || !window->widget) return;
    QWidget* top = window->widget->window();
    top->showNormal();
    top->raise();
    top->activateWindow();
}

DcHandle getWindowDc(WindowHandle window) {
    if (!window) return nullptr;
    if (!window->surface && window->kind == PlatformWindow::Dialog) {
        // The dialog draws itself from now on: a persistent surface the size of its client area.
        QWidget* client = window->client;
        window->surface =
            makeImageDc(client->width(), client->height(), client->devicePixelRatioF());
        if (window->surface) window->surface->widget = client;
        window->invalid = true;
        window->eraseNeeded = true;
        client->setAttribute(Qt::WA_OpaquePaintEvent);
        client->update();
    } else if (!window->surface) {
        // Bars, dialogs and their items get a context to measure in, with the item's font.
        window->surface = makeImageDc(1, 1, 1.0);
        if (window->kind == PlatformWindow::Item) {
            selectFont(window->surface, itemFont(window));
        }
    }
    return window->surface;
}

void releaseWindowDc(WindowHandle, DcHandle) {}

namespace {
// The window's scroll bar; a dialog gets one on first use.
QScrollBar* scrollBarOf(WindowHandle window, bool make) {
    if (!window) return nullptr;
    if (!window->scrollBar && make && window->kind == PlatformWindow::Dialog) {
        window->scrollBar = new QScrollBar(Qt::Vertical, window->client);
        window->scrollBar->setRange(0, 0);
        connectScrollBar(window, window->scrollBar);
        placeDialogScrollBar(window);
    }
    return window->scrollBar;
}
} // namespace

void setScrollRange(WindowHandle window, int minimum, int maximum, int position, bool redraw) {
    QScrollBar* bar = scrollBarOf(window, true);
    if (!bar) return;
    bar->blockSignals(true);
    bar->setRange(minimum, maximum < minimum ? minimum : maximum);
    bar->setValue(position);
    bar->setSliderPosition(position);
    bar->blockSignals(false);
    if (window->kind == PlatformWindow::Dialog) placeDialogScrollBar(window);
    if (redraw) bar->update();
}

bool scrollRange(WindowHandle window, int* minimum, int* maximum, int* position) {
    QScrollBar* bar = scrollBarOf(window, false);
    if (!bar) return false;
    if (minimum) *minimum = bar->minimum();
    if (maximum) *maximum = bar->maximum();
    if (position) *position = bar->value();
    return true;
}

void setScrollPage(WindowHandle window, int page) {
    QScrollBar* bar = scrollBarOf(window, true);
    if (bar) bar->setPageStep(page > 0 ? page : 10);
}

int scrollPage(WindowHandle window) {
    QScrollBar* bar = scrollBarOf(window, false);
    return bar ? bar->pageStep() : -1;
}

void placeDialogScrollBar(PlatformWindow* dialog) {
    QScrollBar* bar = dialog->scrollBar;
    if (!bar) return;
    int width = systemMetric(Metric::ScrollBarWidth);
    bar->setGeometry(dialog->client->width() - width, 0, width, dialog->client->height());
    bar->setVisible(bar->maximum() > bar->minimum());
}

void processPendingEvents() {
    QCoreApplication::processEvents();
}
