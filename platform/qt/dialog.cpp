// The dialog host: Qt dialogs built from in-memory templates, delivering the reader's dialog
// messages to the dialog procedure.
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "platform/qt/qt_window.h"

namespace {
DialogScript gScript = nullptr;

class HostDialog : public QDialog {
public:
    explicit HostDialog(PlatformWindow* window, QWidget* parent)
        : QDialog(parent), window_(window) {}

protected:
    void closeEvent(QCloseEvent* e) override {
        // The caption's close box is the caption OK button.
        e->ignore();
        sendMessage(window_, MsgCommand, 1, 0);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape) {
            sendMessage(window_, MsgCommand, 2, 0);
            return;
        }
        QDialog::keyPressEvent(e);
    }

private:
    PlatformWindow* window_;
};

// A button drawn by the dialog procedure through the draw-item message.
class OwnerDrawnButton : public QPushButton {
public:
    OwnerDrawnButton(PlatformWindow* dialog, int id, QWidget* parent)
        : QPushButton(parent), dialog_(dialog), id_(id) {
        setFlat(true);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QtImageDc* dc = makeImageDc(width(), height(), devicePixelRatioF());
        if (!dc) return;
        DrawItem item{id_, dc, Rect{0, 0, width(), height()}};
        sendMessage(dialog_, MsgDrawItem, WParam(id_), reinterpret_cast<LParam>(&item));
        QPainter p(this);
        p.drawImage(0, 0, dc->image);
        deleteDc(dc);
    }

private:
    PlatformWindow* dialog_;
    int id_;
};

QWidget* makeItem(PlatformWindow* dialog, const DialogItemTemplate& t, QWidget* parent) {
    QString text = t.text ? QString::fromUtf16(t.text) : QString();
    switch (t.kind) {
    case DialogItemKind::StaticImage: {
        auto* label = new QLabel(parent);
        label->setPixmap(QPixmap::fromImage(bitmapResource(t.bitmapId)));
        return label;
    }
    case DialogItemKind::Static:
        return new QLabel(text, parent);
    case DialogItemKind::OwnerDrawButton: {
        auto* button = new OwnerDrawnButton(dialog, t.id, parent);
        button->setText(text);
        QObject::connect(button, &QPushButton::clicked,
                         [dialog, id = t.id]() { sendMessage(dialog, MsgCommand, WParam(id), 0); });
        return button;
    }
    case DialogItemKind::Edit:
        return new QLineEdit(text, parent);
    default: {
        auto* button = new QPushButton(text, parent);
        QObject::connect(button, &QPushButton::clicked,
                         [dialog, id = t.id]() { sendMessage(dialog, MsgCommand, WParam(id), 0); });
        return button;
    }
    }
}
} // namespace

intptr_t runDialog(const DialogTemplate* t, WindowHandle owner, DialogProc procedure,
                   LParam parameter) {
    if (!t || !qobject_cast<QApplication*>(QCoreApplication::instance())) return -1;
    auto* window = new PlatformWindow;
    window->kind = PlatformWindow::Dialog;
    window->procedure = procedure;
    window->owner = owner;
    window->templateId = t->id;
    HostDialog dialog(window, owner && owner->widget ? owner->widget->window() : nullptr);
    window->widget = &dialog;
    attachWindow(&dialog, window);
    dialog.setWindowTitle(QString::fromUtf16(t->title));
    // Dialog units: a quarter of the average character width across, an eighth of the
    // character height down, in the dialog's font.
    QFontMetrics m(dialog.font());
    auto ux = [&](int v) { return v * m.averageCharWidth() / 4; };
    auto uy = [&](int v) { return v * m.height() / 8; };
    dialog.resize(ux(t->width), uy(t->height));
    std::vector<PlatformWindow*> items;
    for (int i = 0; i < t->itemCount; ++i) {
        const DialogItemTemplate& it = t->items[i];
        auto* item = new PlatformWindow;
        item->kind = PlatformWindow::Item;
        item->owner = window;
        item->id = it.id;
        item->widget = makeItem(window, it, &dialog);
        item->widget->setGeometry(ux(it.x), uy(it.y), ux(it.width), uy(it.height));
        attachWindow(item->widget, item);
        items.push_back(item);
    }
    sendMessage(window, MsgInitDialog, 0, parameter);
    if (gScript) {
        gScript(window, t->id);
    } else if (!window->ended) {
        dialog.exec();
    }
    intptr_t result = window->ended ? window->result : -1;
    for (PlatformWindow* item : items) {
        deleteFont(item->itemFont);
        deleteDc(item->surface);
        delete item;
    }
    delete window;
    return result;
}

void endDialog(WindowHandle dialog, intptr_t result) {
    if (!dialog || dialog->kind != PlatformWindow::Dialog) return;
    dialog->ended = true;
    dialog->result = result;
    static_cast<QDialog*>(dialog->widget)->done(int(result));
}

WindowHandle dialogItem(WindowHandle dialog, int id) {
    if (!dialog) return nullptr;
    for (QWidget* child : dialog->widget->findChildren<QWidget*>()) {
        PlatformWindow* item = windowOf(child);
        if (item && item->kind == PlatformWindow::Item && item->id == id) return item;
    }
    return nullptr;
}

int getItemText(WindowHandle item, char16_t* text, int capacity) {
    if (!item || capacity <= 0) return 0;
    QString value;
    if (auto* label = qobject_cast<QLabel*>(item->widget))
        value = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(item->widget))
        value = button->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(item->widget))
        value = edit->text();
    std::u16string units = value.toStdU16String().substr(0, size_t(capacity - 1));
    std::copy(units.begin(), units.end(), text);
    text[units.size()] = 0;
    return int(units.size());
}

void setItemText(WindowHandle item, const char16_t* text) {
    if (!item) return;
    QString value = QString::fromUtf16(text);
    if (auto* label = qobject_cast<QLabel*>(item->widget))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(item->widget))
        button->setText(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(item->widget))
        edit->setText(value);
}

void resizeItem(WindowHandle item, int width, int height) {
    if (item && item->widget) item->widget->resize(width, height);
}

int pixelsPerInchY(DcHandle) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(screen->logicalDotsPerInchY()) : 96;
}

void scriptDialogs(DialogScript script) {
    gScript = script;
}
