#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <cstdio>
#include <deque>

#include "platform/qt/qt_window.h"

namespace {
bool gScripted = false;
std::deque<int> gAnswers;
std::vector<ShownMessage> gShown;
int gGesture = 0; // MessageBoxGestureNone

QString toQString(const char16_t* text) {
    return text ? QString::fromUtf16(text) : QString();
}

int defaultAnswer(unsigned flags) {
    switch (flags & 0x0F) {
    case MessageBoxYesNo:
    case MessageBoxYesNoCancel:
        return AnswerYes;
    default:
        return AnswerOk;
    }
}
} // namespace

int showMessageBox(WindowHandle owner, const char16_t* text, const char16_t* caption,
                   unsigned flags) {
    if (gScripted) {
        gShown.push_back({text ? std::u16string(text) : std::u16string(),
                          caption ? std::u16string(caption) : std::u16string(), caption != nullptr,
                          owner != nullptr, flags});
        if (gAnswers.empty()) return defaultAnswer(flags);
        int answer = gAnswers.front();
        gAnswers.pop_front();
        return answer;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        // No windows in this process (command-line modes, tools): say it on standard error.
        QString line =
            caption ? toQString(caption) + QStringLiteral(": ") + toQString(text) : toQString(text);
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
        return defaultAnswer(flags);
    }
    QMessageBox box(owner && owner->widget ? owner->widget->window() : nullptr);
    box.setText(toQString(text));
    box.setWindowTitle(caption ? toQString(caption) : QString());
    switch (flags & 0xF0) {
    case MessageBoxIconStop:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageBoxIconQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageBoxIconWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageBoxIconInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (flags & 0x0F) {
    case MessageBoxOkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageBoxYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageBoxYesNoCancel:
        // Cancel is a choice of its own here (the reader's one such box gives it a meaning);
        // Escape and the close box mean "do nothing", which is No.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    if (gGesture != MessageBoxGestureNone) {
        // Once the box shows (its loop is running), as the user would.
        QTimer::singleShot(0, &box, [&box] {
            if (gGesture == MessageBoxGestureEscape) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&box, &press);
            } else if (gGesture == MessageBoxGestureClose) {
                box.close();
            } else {
                QMessageBox::StandardButton wanted = gGesture == AnswerYes  ? QMessageBox::Yes
                                                     : gGesture == AnswerNo ? QMessageBox::No
                                                     : gGesture == AnswerCancel
                                                         ? QMessageBox::Cancel
                                                         : QMessageBox::Ok;
                if (QAbstractButton* button = box.button(wanted)) button->click();
            }
        });
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return AnswerCancel;
    case QMessageBox::Yes:
        return AnswerYes;
    case QMessageBox::No:
        return AnswerNo;
    default:
        return AnswerOk;
    }
}

void gestureOnMessageBoxes(int gesture) {
    gGesture = gesture;
}

void scriptMessageBoxes(bool on) {
    gScripted = on;
    gAnswers.clear();
    gShown.clear();
}

void queueMessageBoxAnswer(int answer) {
    gAnswers.push_back(answer);
}

std::vector<ShownMessage> takeShownMessages() {
    std::vector<ShownMessage> shown;
    shown.swap(gShown);
    return shown;
}
