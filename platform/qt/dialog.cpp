// The dialog host: Qt dialogs built from in-memory templates, calling the dialog's handlers
// as Qt's events come. A dialog is a frame holding its client area (a
// SurfaceWidget, parent of the items) and, where the handheld had a title-bar OK, a row of
// OK and Cancel buttons below it.
#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <xcb/xcb.h>

#include <algorithm>

#include "platform/qt/dialog_items.h"
#include "platform/qt/qt_events.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/surface_widget.h"

namespace {
DialogScript gScript = nullptr;

// OK or Cancel, as the buttons, the keys and the close box give them.
void deliverItemCommand(PlatformWindow* dialog, int id) {
    const WindowEvents* events = liveEvents(dialog);
    if (events && events->itemCommand) events->itemCommand(dialog, id, ItemNotification::Clicked);
}
constexpr int kButtonMargin = 6;

class HostDialog : public QDialog {
public:
    HostDialog(PlatformWindow* window, QWidget* parent) : QDialog(parent), window_(window) {}

    // The height the OK and Cancel row takes below the client area (0 while it is hidden).
    int buttonRowHeight() const {
        QWidget* box = window_->buttonBox;
        return box && !box->isHidden() ? box->sizeHint().height() + 2 * kButtonMargin : 0;
    }
    void placeChildren() {
        int row = buttonRowHeight();
        window_->client->setGeometry(0, 0, width(), height() - row);
        if (row) {
            window_->buttonBox->setGeometry(kButtonMargin, height() - row + kButtonMargin,
                                            width() - 2 * kButtonMargin, row - 2 * kButtonMargin);
        }
    }
    void reject() override { command(DialogCancel); }

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        command(DialogCancel);
    }
    void keyPressEvent(QKeyEvent* e) override {
        switch (e->key()) {
        case Qt::Key_Escape:
            command(DialogCancel);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Reaches the dialog when the focused item leaves it: a focused button has already
            // pressed itself, a want-return edit box has taken it as a new line.
            command(DialogOk);
            return;
        default:
            QDialog::keyPressEvent(e);
        }
    }
    // Another X client may destroy the dialog's window (XDestroyWindow). Qt's xcb platform makes
    // no event of that, only the DestroyNotify seen here; without it the modal run would wait
    // for ever with the reader blocked. The dialog ends as Cancel ends it, once Qt has done
    // with the event (ending it within this call crashes Qt's event handling).
    bool nativeEvent(const QByteArray& type, void* message, qintptr* result) override {
        if (type == "xcb_generic_event_t") {
            auto* event = static_cast<const xcb_generic_event_t*>(message);
            if ((event->response_type & ~0x80) == XCB_DESTROY_NOTIFY &&
                reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == winId()) {
                QTimer::singleShot(0, this, [this]() {
                    command(DialogCancel);
                    endDialog(window_, DialogCancel);
                });
            }
        }
        return QDialog::nativeEvent(type, message, result);
    }
    void resizeEvent(QResizeEvent*) override { placeChildren(); }
    void changeEvent(QEvent* e) override {
        const WindowEvents* events = window_->events;
        if (e->type() == QEvent::ActivationChange && !window_->ended && events && events->activate)
            events->activate(window_, isActiveWindow());
        QDialog::changeEvent(e);
    }

private:
    void command(int id) {
        if (!window_->ended) deliverItemCommand(window_, id);
    }
    PlatformWindow* window_;
};

// Dialog units come from the desktop's dialog font (the font every item is shown in) as the
// handheld computes them from its own: the horizontal unit is the average width of the 52 Latin
// letters, rounded; the vertical unit is the font's height.
int baseUnitX() {
    QFontMetrics m(QApplication::font());
    int letters = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                     "abcdefghijklmnopqrstuvwxyz"));
    return std::max(1, (letters / 26 + 1) / 2);
}
int baseUnitY() {
    return std::max(1, QFontMetrics(QApplication::font()).height());
}

void showButtons(PlatformWindow* window) {
    auto* dialog = static_cast<HostDialog*>(window->widget);
    if (!window->buttonBox->isHidden()) return;
    int clientHeight = window->client->height();
    window->buttonBox->show();
    dialog->resize(dialog->width(), clientHeight + dialog->buttonRowHeight());
    dialog->placeChildren();
    fitDialogToItems(window);
}
} // namespace

void fitDialogToItems(PlatformWindow* window) {
    if (!window || window->kind != PlatformWindow::Dialog || !window->client) return;
    QWidget* client = window->client;
    int left = client->width(), top = client->height(), right = 0, bottom = 0;
    for (QObject* child : client->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        PlatformWindow* item = windowOf(w);
        if (!item || item->kind != PlatformWindow::Item || w->isHidden()) continue;
        QRect g = w->geometry();
        left = std::min(left, std::max(0, g.left()));
        top = std::min(top, std::max(0, g.top()));
        right = std::max(right, g.left() + g.width());
        bottom = std::max(bottom, g.top() + g.height());
    }
    int width = right > client->width() ? right + left : client->width();
    int height = bottom > client->height() ? bottom + top : client->height();
    auto* dialog = static_cast<HostDialog*>(window->widget);
    if (dialog->buttonRowHeight())
        width = std::max(width, window->buttonBox->sizeHint().width() + 2 * kButtonMargin);
    if (width == client->width() && height == client->height()) return;
    dialog->resize(width, height + dialog->buttonRowHeight());
    dialog->placeChildren();
}

DialogUnits dialogBaseUnits() {
    return {baseUnitX(), baseUnitY()};
}

namespace {
int toPixelsX(int units) {
    return units * baseUnitX() / 4;
}
int toPixelsY(int units) {
    return units * baseUnitY() / 8;
}

// The template's items on the dialog's client area, in template order; a run of radio buttons
// is one group.
std::vector<PlatformWindow*> makeItems(PlatformWindow* window, const DialogTemplate* t) {
    std::vector<PlatformWindow*> items;
    int radioGroup = 0;
    bool lastWasRadio = false;
    for (int i = 0; i < t->itemCount; ++i) {
        const DialogItemTemplate& it = t->items[i];
        auto* item = new PlatformWindow;
        item->kind = PlatformWindow::Item;
        item->owner = window;
        item->id = it.id;
        item->itemKind = it.kind;
        item->itemStyle = it.style;
        bool radio = it.kind == DialogItemKind::RadioButton;
        if (radio && !lastWasRadio) ++radioGroup;
        item->radioGroup = radio ? radioGroup : 0;
        lastWasRadio = radio;
        item->widget = makeDialogItem(window, item, it, window->client);
        QSize natural = it.kind == DialogItemKind::StaticImage
                            ? item->widget->sizeHint()
                            : QSize(toPixelsX(it.width), toPixelsY(it.height));
        item->widget->setGeometry(toPixelsX(it.x), toPixelsY(it.y), natural.width(),
                                  natural.height());
        attachWindow(item->widget, item);
        growToText(item);
        items.push_back(item);
    }
    return items;
}

// The standard OK and Cancel buttons, giving items DialogOk and DialogCancel; shown when the
// template asks.
void addOkCancel(PlatformWindow* window, HostDialog* dialog, const DialogTemplate* t) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    window->buttonBox = buttons;
    QObject::connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked,
                     [window]() { deliverItemCommand(window, DialogOk); });
    QObject::connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked,
                     [window]() { deliverItemCommand(window, DialogCancel); });
    buttons->setVisible(t->style & DialogOkCancel);
}

// Initialises the dialog and runs it until endDialog (or as the test script acts); returns
// endDialog's result, -1 when it never ended, and destroys the dialog's windows.
intptr_t runAndRelease(PlatformWindow* window, HostDialog* dialog, const DialogTemplate* t,
                       std::vector<PlatformWindow*>& items) {
    if (window->events && window->events->created) window->events->created(window);
    // The handler may have given items new texts, fonts or sizes.
    fitDialogToItems(window);
    if (!window->ended) {
        if (gScript) {
            dialog->show();
            QCoreApplication::processEvents();
            gScript(window, t->id);
        } else {
            dialog->exec();
        }
    }
    intptr_t result = window->ended ? window->result : -1;
    window->ended = true;
    if (window->events && window->events->destroyed) window->events->destroyed(window);
    dialog->hide();
    for (PlatformWindow* item : items) {
        deleteFont(item->ownFont);
        deleteDc(item->surface);
        delete item;
    }
    deleteDc(window->surface);
    delete window;
    return result;
}
} // namespace

intptr_t runDialog(const DialogTemplate* t, WindowHandle owner, const WindowEvents* events,
                   void* state) {
    if (!t || !qobject_cast<QApplication*>(QCoreApplication::instance())) return -1;
    auto* window = new PlatformWindow;
    window->kind = PlatformWindow::Dialog;
    window->events = events;
    window->dialogState = state;
    window->owner = owner;
    window->templateId = t->id;
    HostDialog dialog(window, owner && owner->widget ? owner->widget->window() : nullptr);
    window->widget = &dialog;
    attachWindow(&dialog, window);
    dialog.setWindowTitle(QString::fromUtf16(t->title));
    window->client = new SurfaceWidget(window, &dialog);
    attachWindow(window->client, window);
    // Without items of its own the client area takes the keys (a dialog that draws itself).
    window->client->setFocusPolicy(t->itemCount ? Qt::NoFocus : Qt::StrongFocus);
    window->client->resize(toPixelsX(t->width), toPixelsY(t->height));
    std::vector<PlatformWindow*> items = makeItems(window, t);
    addOkCancel(window, &dialog, t);
    dialog.resize(window->client->width(), window->client->height() + dialog.buttonRowHeight());
    dialog.placeChildren();
    fitDialogToItems(window);
    return runAndRelease(window, &dialog, t, items);
}

void endDialog(WindowHandle dialog, intptr_t result) {
    if (!dialog || dialog->kind != PlatformWindow::Dialog || dialog->ended) return;
    dialog->ended = true;
    dialog->result = result;
    static_cast<QDialog*>(dialog->widget)->done(int(result));
}

void shellInitDialog(WindowHandle dialog, uint32_t flags) {
    if (!dialog || dialog->kind != PlatformWindow::Dialog) return;
    if (flags & ShellDialogOkButton) showButtons(dialog);
    // The handheld's screen is the reader's window here.
    if ((flags & (ShellDialogSize | ShellDialogSizeFullScreen)) && dialog->owner &&
        dialog->owner->widget) {
        QWidget* reader = dialog->owner->widget->window();
        dialog->widget->resize(reader->size());
        dialog->widget->move(reader->frameGeometry().topLeft());
        static_cast<HostDialog*>(dialog->widget)->placeChildren();
        fitDialogToItems(dialog);
    }
}

void invalidateWindow(WindowHandle window, const Rect* rect, bool erase) {
    if (!window || !window->client) return;
    window->invalid = true;
    window->eraseNeeded = window->eraseNeeded || erase;
    if (rect) {
        window->client->update(rect->left, rect->top, rect->right - rect->left,
                               rect->bottom - rect->top);
    } else {
        window->client->update();
    }
}

void* dialogState(WindowHandle dialogOrItem) {
    PlatformWindow* dialog = dialogOf(dialogOrItem);
    return dialog ? dialog->dialogState : nullptr;
}

PlatformWindow* dialogOf(PlatformWindow* window) {
    if (!window) return nullptr;
    if (window->kind == PlatformWindow::Dialog) return window;
    if (window->kind == PlatformWindow::Item) return window->owner;
    return nullptr;
}

WindowHandle dialogItem(WindowHandle dialog, int id) {
    if (!dialog || dialog->kind != PlatformWindow::Dialog) return nullptr;
    for (QWidget* child : dialog->client->findChildren<QWidget*>()) {
        PlatformWindow* item = windowOf(child);
        if (item && item->kind == PlatformWindow::Item && item->id == id) return item;
    }
    return nullptr;
}

int dialogItemId(WindowHandle item) {
    return item && item->kind == PlatformWindow::Item ? item->id : 0;
}

void resizeItem(WindowHandle item, int width, int height) {
    if (item && item->widget) item->widget->resize(width, height);
}

void setFocusItem(WindowHandle item) {
    if (item && item->kind == PlatformWindow::Item) item->widget->setFocus(Qt::OtherFocusReason);
}

WindowHandle focusedItem(WindowHandle dialog) {
    if (!dialog || dialog->kind != PlatformWindow::Dialog) return nullptr;
    for (QWidget* w = dialog->widget->focusWidget(); w; w = w->parentWidget()) {
        PlatformWindow* item = windowOf(w);
        if (item && item->kind == PlatformWindow::Item) return item;
    }
    return nullptr;
}

int pixelsPerInchY(DcHandle) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(screen->logicalDotsPerInchY()) : 96;
}

void scriptDialogs(DialogScript script) {
    gScript = script;
}
