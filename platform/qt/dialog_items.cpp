// Dialog items over Qt's widgets, and their operations: text, list boxes, edit boxes, check
// marks.
#include "platform/qt/dialog_items.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextEdit>

#include "platform/qt/qt_events.h"
#include "platform/qt/qt_window.h"

namespace {
// Shown before every line of a display-order box, so that Qt lays the line out left to right
// exactly as it is held.
constexpr char16_t kLeftToRightOverride = 0x202D;

void command(PlatformWindow* dialog, int id, ItemNotification notification) {
    const WindowEvents* events = liveEvents(dialog);
    if (events && events->itemCommand) events->itemCommand(dialog, id, notification);
}

bool displayOrder(const PlatformWindow* item) {
    return item->itemStyle & EditDisplayOrder;
}

QString withMarks(const QString& text) {
    QString shown;
    shown.reserve(text.size() + 1);
    shown += QChar(kLeftToRightOverride);
    for (QChar c : text) {
        shown += c;
        if (c == QChar('\n')) shown += QChar(kLeftToRightOverride);
    }
    return shown;
}

QString withoutMarks(QString shown) {
    return shown.remove(QChar(kLeftToRightOverride));
}

// Positions in the held text and in the shown one (which has a mark before every line).
int shownPosition(const QString& held, int position) {
    int marks = 1;
    for (int i = 0; i < position && i < held.size(); ++i)
        marks += held[i] == QChar('\n');
    return position + marks;
}

int heldPosition(const QString& shown, int position) {
    int held = 0;
    for (int i = 0; i < position && i < shown.size(); ++i)
        held += shown[i] != QChar(kLeftToRightOverride);
    return held;
}

// A button the dialog draws itself, through its drawItem handler.
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
        const WindowEvents* events = liveEvents(dialog_);
        if (events && events->drawItem) events->drawItem(dialog_, item);
        QPainter p(this);
        p.drawImage(0, 0, dc->image);
        deleteDc(dc);
    }

private:
    PlatformWindow* dialog_;
    int id_;
};

// A multi-line edit box: Return is OK unless the box wants it, Tab moves on.
class MultiLineEdit : public QTextEdit {
public:
    MultiLineEdit(bool wantReturn, QWidget* parent) : QTextEdit(parent), wantReturn_(wantReturn) {
        setAcceptRichText(false);
        setTabChangesFocus(true);
    }
    int limit = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (!wantReturn_ && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
            e->ignore();
            return;
        }
        QTextEdit::keyPressEvent(e);
    }

private:
    bool wantReturn_;
};

QWidget* makeEdit(PlatformWindow* item, const DialogItemTemplate& t, QWidget* parent) {
    ItemStyle s = t.style;
    Qt::Alignment align = (s & EditRight)    ? Qt::AlignRight | Qt::AlignAbsolute
                          : (s & EditCenter) ? Qt::AlignHCenter
                                             : Qt::AlignLeft | Qt::AlignAbsolute;
    QString text = t.text ? QString::fromUtf16(t.text) : QString();
    if (!(s & EditMultiLine)) {
        auto* edit = new QLineEdit(parent);
        edit->setAlignment(align);
        if (s & EditRight) edit->setLayoutDirection(Qt::RightToLeft);
        edit->setFrame(s & ItemBorder);
        edit->setReadOnly(s & EditReadOnly);
        edit->setText(displayOrder(item) ? withMarks(text) : text);
        return edit;
    }
    auto* edit = new MultiLineEdit(s & EditWantReturn, parent);
    QTextOption option = edit->document()->defaultTextOption();
    option.setAlignment(align);
    edit->document()->setDefaultTextOption(option);
    edit->setLineWrapMode((s & EditAutoHScroll) ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy((s & ItemVScroll) ? Qt::ScrollBarAsNeeded
                                                       : Qt::ScrollBarAlwaysOff);
    if (!(s & ItemBorder)) edit->setFrameShape(QFrame::NoFrame);
    edit->setReadOnly(s & EditReadOnly);
    edit->setPlainText(displayOrder(item) ? withMarks(text) : text);
    QObject::connect(edit, &QTextEdit::textChanged, [edit, item]() {
        // Text past the limit is taken off again, as the box would not have taken it.
        QString held = withoutMarks(edit->toPlainText());
        if (edit->limit <= 0 || held.size() <= edit->limit) return;
        QTextCursor cut(edit->document());
        cut.setPosition(displayOrder(item) ? shownPosition(held, edit->limit) : edit->limit);
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
    });
    return edit;
}

QWidget* makeList(PlatformWindow* dialog, PlatformWindow* item, const DialogItemTemplate& t,
                  QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy((t.style & ItemVScroll) ? Qt::ScrollBarAsNeeded
                                                             : Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (!(t.style & ItemBorder)) list->setFrameShape(QFrame::NoFrame);
    if (t.style & ListNotify) {
        // Only the user's changes are told (the program's own are made with signals blocked).
        QObject::connect(list, &QListWidget::currentRowChanged, [dialog, item](int) {
            command(dialog, item->id, ItemNotification::SelectionChanged);
        });
        QObject::connect(list, &QListWidget::itemDoubleClicked, [dialog, item](QListWidgetItem*) {
            command(dialog, item->id, ItemNotification::DoubleClicked);
        });
    }
    return list;
}

QWidget* makeCheckable(PlatformWindow* dialog, PlatformWindow* item, const DialogItemTemplate& t,
                       QWidget* parent) {
    QString text = t.text ? QString::fromUtf16(t.text) : QString();
    if (t.kind == DialogItemKind::CheckBox) {
        auto* box = new QCheckBox(text, parent);
        QObject::connect(box, &QCheckBox::clicked, [dialog, item]() {
            command(dialog, item->id, ItemNotification::Clicked);
        });
        return box;
    }
    auto* radio = new QRadioButton(text, parent);
    // The group is kept here, so that the program can also leave every button unchecked.
    radio->setAutoExclusive(false);
    QObject::connect(radio, &QRadioButton::clicked, [dialog, item, radio]() {
        for (QWidget* child : radio->parentWidget()->findChildren<QWidget*>()) {
            PlatformWindow* other = windowOf(child);
            if (other && other != item && other->radioGroup == item->radioGroup)
                static_cast<QAbstractButton*>(child)->setChecked(false);
        }
        radio->setChecked(true);
        command(dialog, item->id, ItemNotification::Clicked);
    });
    return radio;
}

QListWidget* listOf(WindowHandle item) {
    return item ? qobject_cast<QListWidget*>(item->widget) : nullptr;
}
} // namespace

QWidget* makeDialogItem(PlatformWindow* dialog, PlatformWindow* item, const DialogItemTemplate& t,
                        QWidget* parent) {
    QString text = t.text ? QString::fromUtf16(t.text) : QString();
    switch (t.kind) {
    case DialogItemKind::Static:
    case DialogItemKind::StaticImage: {
        auto* label = new QLabel(parent);
        if (t.kind == DialogItemKind::StaticImage) {
            label->setPixmap(QPixmap::fromImage(
                atDeviceRatio(bitmapResource(t.bitmapId), parent->devicePixelRatioF())));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else {
            label->setText(text);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment((t.style & StaticCenter)  ? Qt::AlignHCenter
                                : (t.style & StaticRight) ? Qt::AlignRight | Qt::AlignAbsolute
                                                          : Qt::AlignLeft | Qt::AlignAbsolute);
        }
        // A tap on a static item is the dialog's own, at the dialog's coordinates.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        return label;
    }
    case DialogItemKind::OwnerDrawButton:
    case DialogItemKind::Button: {
        QPushButton* button = t.kind == DialogItemKind::Button
                                  ? new QPushButton(text, parent)
                                  : new OwnerDrawnButton(dialog, t.id, parent);
        if (t.kind == DialogItemKind::OwnerDrawButton) button->setText(text);
        QObject::connect(button, &QPushButton::clicked, [dialog, item]() {
            command(dialog, item->id, ItemNotification::Clicked);
        });
        return button;
    }
    case DialogItemKind::Edit:
        return makeEdit(item, t, parent);
    case DialogItemKind::ListBox:
        return makeList(dialog, item, t, parent);
    case DialogItemKind::CheckBox:
    case DialogItemKind::RadioButton:
        return makeCheckable(dialog, item, t, parent);
    }
    return new QWidget(parent);
}

void growToText(PlatformWindow* item) {
    if (!item || item->kind != PlatformWindow::Item || !item->widget) return;
    QWidget* w = item->widget;
    QSize need;
    switch (item->itemKind) {
    case DialogItemKind::Static:
    case DialogItemKind::CheckBox:
    case DialogItemKind::RadioButton:
        need = w->sizeHint();
        break;
    case DialogItemKind::Button: {
        // The text and the button's margins; a style's minimum button width is no need.
        auto* button = static_cast<QPushButton*>(w);
        int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w) +
                     w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
        need = QSize(button->fontMetrics().horizontalAdvance(button->text()) + 2 * margin,
                     w->sizeHint().height());
        break;
    }
    default:
        return;
    }
    QRect box = w->geometry();
    int extra = need.width() - box.width();
    if (extra > 0) {
        bool right = item->itemKind == DialogItemKind::Static && (item->itemStyle & StaticRight);
        bool centre = item->itemKind == DialogItemKind::Static && (item->itemStyle & StaticCenter);
        int left = right ? box.left() - extra : centre ? box.left() - extra / 2 : box.left();
        box.setLeft(std::max(0, left));
        box.setWidth(need.width());
    }
    if (need.height() > box.height()) box.setHeight(need.height());
    if (box != w->geometry()) w->setGeometry(box);
}

int getItemText(WindowHandle item, char16_t* text, int capacity) {
    if (!item || capacity <= 0) return 0;
    QString value;
    if (auto* label = qobject_cast<QLabel*>(item->widget))
        value = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(item->widget))
        value = button->text();
    else if (auto* line = qobject_cast<QLineEdit*>(item->widget))
        value = line->text();
    else if (auto* edit = qobject_cast<QTextEdit*>(item->widget))
        value = edit->toPlainText();
    if (displayOrder(item)) value = withoutMarks(value);
    std::u16string units = value.toStdU16String().substr(0, size_t(capacity - 1));
    std::copy(units.begin(), units.end(), text);
    text[units.size()] = 0;
    return int(units.size());
}

void setItemText(WindowHandle item, const char16_t* text) {
    if (!item) return;
    QString value = text ? QString::fromUtf16(text) : QString();
    if (displayOrder(item)) value = withMarks(value);
    if (auto* label = qobject_cast<QLabel*>(item->widget))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(item->widget))
        button->setText(value);
    else if (auto* line = qobject_cast<QLineEdit*>(item->widget))
        line->setText(value);
    else if (auto* edit = qobject_cast<QTextEdit*>(item->widget))
        edit->setPlainText(value);
    if (item->kind == PlatformWindow::Item) {
        growToText(item);
        fitDialogToItems(dialogOf(item));
    }
}

int listAddString(WindowHandle item, const char16_t* text) {
    QListWidget* list = listOf(item);
    if (!list || !text) return -1;
    QString value = QString::fromUtf16(text);
    int at = list->count();
    if (item->itemStyle & ListSort) {
        // After the last entry that does not sort after it, as equal strings keep their order.
        int low = 0, high = list->count();
        while (low < high) {
            int middle = (low + high) / 2;
            if (QString::compare(list->item(middle)->text(), value, Qt::CaseInsensitive) <= 0)
                low = middle + 1;
            else
                high = middle;
        }
        at = low;
    }
    list->blockSignals(true);
    list->insertItem(at, value);
    list->blockSignals(false);
    return at;
}

void listReset(WindowHandle item) {
    if (QListWidget* list = listOf(item)) {
        list->blockSignals(true);
        list->clear();
        list->blockSignals(false);
    }
}

int listCount(WindowHandle item) {
    QListWidget* list = listOf(item);
    return list ? list->count() : -1;
}

int listSetSelection(WindowHandle item, int index) {
    QListWidget* list = listOf(item);
    if (!list) return -1;
    list->blockSignals(true);
    int result = -1;
    if (index >= 0 && index < list->count()) {
        list->setCurrentRow(index);
        list->scrollToItem(list->item(index));
        result = index;
    } else {
        list->clearSelection();
        list->setCurrentRow(-1);
    }
    list->blockSignals(false);
    return result;
}

int listSelection(WindowHandle item) {
    QListWidget* list = listOf(item);
    if (!list) return -1;
    QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

int listItemText(WindowHandle item, int index, char16_t* text, int capacity) {
    QListWidget* list = listOf(item);
    if (!list || index < 0 || index >= list->count() || capacity <= 0) return -1;
    std::u16string units =
        list->item(index)->text().toStdU16String().substr(0, size_t(capacity - 1));
    std::copy(units.begin(), units.end(), text);
    text[units.size()] = 0;
    return int(units.size());
}

int listFindPrefix(WindowHandle item, int after, const char16_t* prefix) {
    QListWidget* list = listOf(item);
    if (!list || !prefix) return -1;
    int n = list->count();
    if (after < -1 || after >= n) after = -1;
    QString wanted = QString::fromUtf16(prefix);
    for (int k = 1; k <= n; ++k) {
        int i = (after + k) % n;
        if (list->item(i)->text().startsWith(wanted, Qt::CaseInsensitive)) return i;
    }
    return -1;
}

void editLimitText(WindowHandle item, int units) {
    if (!item) return;
    if (auto* line = qobject_cast<QLineEdit*>(item->widget)) {
        line->setMaxLength(units > 0 ? units : 32767);
    } else if (auto* edit = dynamic_cast<MultiLineEdit*>(item->widget)) {
        edit->limit = units;
    }
}

void editSetSelection(WindowHandle item, int start, int end) {
    if (!item) return;
    if (auto* line = qobject_cast<QLineEdit*>(item->widget)) {
        QString held = displayOrder(item) ? withoutMarks(line->text()) : line->text();
        int n = int(held.size());
        if (start < 0) {
            line->deselect();
            return;
        }
        if (end < 0 || end > n) end = n;
        if (start > n) start = n;
        if (displayOrder(item)) {
            start = shownPosition(held, start);
            end = shownPosition(held, end);
        }
        if (start == end)
            line->setCursorPosition(start);
        else
            line->setSelection(start, end - start);
    } else if (auto* edit = qobject_cast<QTextEdit*>(item->widget)) {
        QString held = withoutMarks(edit->toPlainText());
        int n = int(held.size());
        QTextCursor cursor = edit->textCursor();
        if (start < 0) {
            cursor.clearSelection();
        } else {
            if (end < 0 || end > n) end = n;
            if (start > n) start = n;
            if (displayOrder(item)) {
                start = shownPosition(held, start);
                end = shownPosition(held, end);
            }
            cursor.setPosition(start);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
        }
        edit->setTextCursor(cursor);
    }
}

void editSelection(WindowHandle item, int* start, int* end) {
    int s = 0, e = 0;
    if (auto* line = item ? qobject_cast<QLineEdit*>(item->widget) : nullptr) {
        if (line->hasSelectedText()) {
            s = line->selectionStart();
            e = line->selectionEnd();
        } else {
            s = e = line->cursorPosition();
        }
        if (displayOrder(item)) {
            s = heldPosition(line->text(), s);
            e = heldPosition(line->text(), e);
        }
    } else if (auto* edit = item ? qobject_cast<QTextEdit*>(item->widget) : nullptr) {
        QTextCursor cursor = edit->textCursor();
        s = cursor.selectionStart();
        e = cursor.selectionEnd();
        if (displayOrder(item)) {
            s = heldPosition(edit->toPlainText(), s);
            e = heldPosition(edit->toPlainText(), e);
        }
    }
    if (start) *start = s;
    if (end) *end = e;
}

void editReplaceSelection(WindowHandle item, const char16_t* text, bool undoable) {
    if (!item || !text) return;
    QString value = QString::fromUtf16(text);
    if (auto* line = qobject_cast<QLineEdit*>(item->widget)) {
        if (undoable) {
            line->insert(value);
            return;
        }
        int s = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        int e = line->hasSelectedText() ? line->selectionEnd() : s;
        QString after = line->text().left(s) + value + line->text().mid(e);
        after.truncate(line->maxLength());
        line->setText(after);
        line->setCursorPosition(std::min<int>(s + int(value.size()), int(after.size())));
    } else if (auto* edit = qobject_cast<QTextEdit*>(item->widget)) {
        if (!undoable) edit->setUndoRedoEnabled(false);
        edit->textCursor().insertText(value);
        if (!undoable) edit->setUndoRedoEnabled(true);
    }
}

int editUndo(WindowHandle item) {
    if (auto* line = item ? qobject_cast<QLineEdit*>(item->widget) : nullptr) {
        if (!line->isUndoAvailable()) return 0;
        line->undo();
        return 1;
    }
    if (auto* edit = item ? qobject_cast<QTextEdit*>(item->widget) : nullptr) {
        if (!edit->document()->isUndoAvailable()) return 0;
        edit->undo();
        return 1;
    }
    return 0;
}

void setButtonCheck(WindowHandle item, int checked) {
    auto* button = item ? qobject_cast<QAbstractButton*>(item->widget) : nullptr;
    if (button && button->isCheckable()) button->setChecked(checked != 0);
}

int buttonCheck(WindowHandle item) {
    auto* button = item ? qobject_cast<QAbstractButton*>(item->widget) : nullptr;
    return button && button->isCheckable() && button->isChecked() ? 1 : 0;
}
