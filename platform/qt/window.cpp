// The main window on Qt: a frame with the client area (which shows the persistent drawing
// surface) and the vertical scroll bar; Qt's events become the reader's messages here.
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVariant>
#include <QWheelEvent>

#include <cmath>
#include <map>

#include "platform/qt/qt_window.h"
#include "platform/quit.h"

namespace {
std::map<std::u16string, WindowProc> gClasses;
constexpr int kDefaultWidth = 480, kDefaultHeight = 640;

LParam packPoint(int x, int y) {
    return LParam((uint32_t(uint16_t(x))) | (uint32_t(uint16_t(y)) << 16));
}

uint32_t virtualKey(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyReturn;
    case Qt::Key_PageUp:
        return KeyPageUp;
    case Qt::Key_PageDown:
        return KeyPageDown;
    case Qt::Key_End:
        return KeyEnd;
    case Qt::Key_Home:
        return KeyHome;
    case Qt::Key_Left:
        return KeyLeft;
    case Qt::Key_Up:
        return KeyUp;
    case Qt::Key_Right:
        return KeyRight;
    case Qt::Key_Down:
        return KeyDown;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return uint32_t(key);
        if (key >= Qt::Key_0 && key <= Qt::Key_9) return uint32_t(key);
        if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return uint32_t(0x70 + key - Qt::Key_F1);
        return 0;
    }
}

class ClientWidget : public QWidget {
public:
    explicit ClientWidget(PlatformWindow* window) : window_(window) {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (window_->invalid && !window_->destroyed) {
            window_->invalid = false;
            window_->surface->quiet = true;
            sendMessage(window_, MsgPaint, 0, 0);
            window_->surface->quiet = false;
        }
        QPainter p(this);
        p.drawImage(0, 0, window_->surface->image);
        // For the start-up benchmark: end as soon as the first page is on the screen.
        static const bool quitAfterFirstPaint =
            qEnvironmentVariableIsSet("VERSEWELL_QUIT_AFTER_FIRST_PAINT");
        if (quitAfterFirstPaint) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                Qt::QueuedConnection);
        }
    }
    void resizeEvent(QResizeEvent*) override {
        QtImageDc* dc = window_->surface;
        double ratio = devicePixelRatioF();
        QImage grown(int(std::ceil(width() * ratio)), int(std::ceil(height() * ratio)),
                     QImage::Format_RGB32);
        grown.setDevicePixelRatio(ratio);
        grown.fill(Qt::white);
        {
            QPainter p(&grown);
            p.drawImage(0, 0, dc->image);
        }
        dc->image = grown;
        window_->invalid = true;
        placeBars(window_);
        sendMessage(window_, MsgSize, 0, packPoint(width(), height()));
    }
    void keyPressEvent(QKeyEvent* e) override {
        uint32_t key = virtualKey(e->key());
        if (key) sendMessage(window_, MsgKeyDown, key, 0);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) {
            QPoint at = e->position().toPoint();
            sendMessage(window_, MsgLButtonDown, 1, packPoint(at.x(), at.y()));
        }
    }
    void wheelEvent(QWheelEvent* e) override {
        // The wheel scrolls three lines a notch, as the scroll bar's arrows would.
        int notches = e->angleDelta().y() / 120;
        for (int i = 0; i < std::abs(notches) * 3; ++i) {
            sendMessage(window_, MsgVScroll, notches > 0 ? ScrollLineUp : ScrollLineDown, 0);
        }
        sendMessage(window_, MsgVScroll, ScrollEndScroll, 0);
    }

private:
    PlatformWindow* window_;
};

class FrameWidget : public QWidget {
public:
    explicit FrameWidget(PlatformWindow* window) : window_(window) {}

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        if (!window_->destroyed) sendMessage(window_, MsgClose, 0, 0);
    }
    void changeEvent(QEvent* e) override {
        if (e->type() == QEvent::ActivationChange && !window_->destroyed) {
            sendMessage(window_, MsgActivate, isActiveWindow() ? 1 : 0, 0);
        }
        QWidget::changeEvent(e);
    }

private:
    PlatformWindow* window_;
};

void scrollRequest(PlatformWindow* window, int action) {
    QScrollBar* bar = window->scrollBar;
    uint32_t request;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        request = ScrollLineDown;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        request = ScrollLineUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = ScrollPageDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = ScrollPageUp;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = ScrollTop;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = ScrollBottom;
        break;
    case QAbstractSlider::SliderMove:
        request = ScrollThumbTrack;
        break;
    default:
        return;
    }
    WParam position = WParam(uint16_t(bar->sliderPosition())) << 16;
    sendMessage(window, MsgVScroll, request | position, 0);
}
} // namespace

PlatformWindow* windowOf(const QWidget* widget) {
    return widget ? static_cast<PlatformWindow*>(widget->property("versewellWindow").value<void*>())
                  : nullptr;
}

void attachWindow(QWidget* widget, PlatformWindow* window) {
    widget->setProperty("versewellWindow", QVariant::fromValue<void*>(window));
}

bool registerWindowClass(const char16_t* className, WindowProc procedure) {
    gClasses[className] = procedure;
    return true;
}

WindowHandle createWindow(const char16_t* className, const char16_t* title, uint32_t style) {
    auto it = gClasses.find(className);
    if (it == gClasses.end() || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    auto* window = new PlatformWindow;
    window->kind = PlatformWindow::Main;
    window->procedure = it->second;
    window->style = style;
    auto* frame = new FrameWidget(window);
    frame->setWindowTitle(QString::fromUtf16(title));
    frame->setWindowIcon(QIcon(QPixmap::fromImage(bitmapResource(101))));
    frame->setObjectName(QString::fromUtf16(className));
    window->widget = frame;
    attachWindow(frame, window);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* client = new ClientWidget(window);
    attachWindow(client, window);
    window->client = client;
    layout->addWidget(client, 1);
    if (style & WindowVScroll) {
        window->scrollBar = new QScrollBar(Qt::Vertical, frame);
        window->scrollBar->setRange(0, 0);
        layout->addWidget(window->scrollBar);
        QObject::connect(window->scrollBar, &QAbstractSlider::actionTriggered,
                         [window](int action) { scrollRequest(window, action); });
        QObject::connect(window->scrollBar, &QAbstractSlider::sliderReleased, [window]() {
            WParam position = WParam(uint16_t(window->scrollBar->sliderPosition())) << 16;
            sendMessage(window, MsgVScroll, ScrollThumbPosition | position, 0);
            sendMessage(window, MsgVScroll, ScrollEndScroll, 0);
        });
    }
    int scrollWidth = window->scrollBar ? window->scrollBar->sizeHint().width() : 0;
    frame->resize(kDefaultWidth + scrollWidth, kDefaultHeight);
    window->surface = makeImageDc(kDefaultWidth, kDefaultHeight, client->devicePixelRatioF());
    window->surface->widget = client;
    client->resize(kDefaultWidth, kDefaultHeight);
    sendMessage(window, MsgCreate, 0, 0);
    return window;
}

void destroyWindow(WindowHandle window) {
    if (!window || window->destroyed) return;
    if (window->kind == PlatformWindow::Main) {
        sendMessage(window, MsgDestroy, 0, 0);
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

void showWindow(WindowHandle window, int) {
    if (!window || window->destroyed) return;
    window->invalid = true;
    window->widget->show();
}

void updateWindow(WindowHandle window) {
    if (!window || window->destroyed || window->kind != PlatformWindow::Main) return;
    window->invalid = true;
    window->client->repaint();
}

intptr_t sendMessage(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (!window) return 0;
    if (window->kind == PlatformWindow::Main && window->procedure) {
        return window->procedure(window, message, wParam, lParam);
    }
    if (window->kind == PlatformWindow::Dialog && window->procedure) {
        return window->procedure(window, message, wParam, lParam);
    }
    return defWindowProc(window, message, wParam, lParam);
}

intptr_t defWindowProc(WindowHandle window, uint32_t message, WParam wParam, LParam) {
    if (!window) return 0;
    switch (message) {
    case MsgClose:
        destroyWindow(window);
        return 0;
    case MsgGetFont:
        if (window->kind == PlatformWindow::Item) {
            if (!window->itemFont) {
                QFont f = window->widget->font();
                FontDescription d{};
                d.height = f.pixelSize() > 0 ? f.pixelSize() : 0;
                d.weight = int(f.weight());
                std::u16string face = f.family().toStdU16String().substr(0, 31);
                std::copy(face.begin(), face.end(), d.face);
                window->itemFont = createFont(d);
            }
            return reinterpret_cast<intptr_t>(window->itemFont);
        }
        return 0;
    case MsgSetFont:
        if (window->kind == PlatformWindow::Item && wParam) {
            window->widget->setFont(nativeOf(reinterpret_cast<FontHandle>(wParam)).font);
        }
        return 0;
    default:
        return 0;
    }
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
    QRect r = window->kind == PlatformWindow::Main ? window->widget->frameGeometry()
                                                   : window->widget->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Rect clientRect(WindowHandle window) {
    if (!window) return {0, 0, 0, 0};
    QWidget* w = window->client ? window->client : window->widget;
    return {0, 0, w->width(), w->height()};
}

void moveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) {
    if (!window || !window->widget) return;
    window->widget->setGeometry(x, y, width, height);
    if (repaint) window->widget->update();
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
    if (!window->surface) {
        // Bars, dialogs and their items get a context to measure in, with the item's font.
        window->surface = makeImageDc(1, 1, 1.0);
        if (window->kind == PlatformWindow::Item) {
            selectFont(window->surface,
                       reinterpret_cast<FontHandle>(defWindowProc(window, MsgGetFont, 0, 0)));
        }
    }
    return window->surface;
}

void releaseWindowDc(WindowHandle, DcHandle) {}

void setScrollRange(WindowHandle window, int minimum, int maximum, int position, bool redraw) {
    if (!window || !window->scrollBar) return;
    QScrollBar* bar = window->scrollBar;
    bar->blockSignals(true);
    bar->setRange(minimum, maximum < minimum ? minimum : maximum);
    bar->setValue(position);
    bar->setSliderPosition(position);
    bar->blockSignals(false);
    if (redraw) bar->update();
}

bool scrollRange(WindowHandle window, int* minimum, int* maximum, int* position) {
    if (!window || !window->scrollBar) return false;
    if (minimum) *minimum = window->scrollBar->minimum();
    if (maximum) *maximum = window->scrollBar->maximum();
    if (position) *position = window->scrollBar->value();
    return true;
}

void processPendingEvents() {
    QCoreApplication::processEvents();
}
