// Message boxes. In a program with windows they are modal dialogs; without one (command-line
// modes, tools) the text goes to standard error. Tests script the answers instead, so no box
// ever blocks, and read back what was shown.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/handles.h"

// Button and icon flags, and the answers.
enum : unsigned {
    MessageBoxOk = 0x00,
    MessageBoxOkCancel = 0x01,
    MessageBoxYesNoCancel = 0x03,
    MessageBoxYesNo = 0x04,
    MessageBoxIconStop = 0x10,
    MessageBoxIconQuestion = 0x20,
    MessageBoxIconWarning = 0x30,
    MessageBoxIconInformation = 0x40,
};
enum : int { AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

// Shows `text` (null-terminated UTF-16) with `caption` (null: no caption of its own) and
// returns the button chosen. Escape and closing the box choose Cancel where there is one, but
// No in a box with Yes, No and Cancel, where Cancel is a choice of its own: they do nothing.
int showMessageBox(WindowHandle owner, const char16_t* text, const char16_t* caption,
                   unsigned flags);

struct ShownMessage {
    std::u16string text;
    std::u16string caption;
    bool hasCaption;
    bool hasOwner;
    unsigned flags;
};

// Test hooks: scripted mode records every box and answers from the queue (OK, or Yes for a
// box with Yes, when the queue is empty).
void scriptMessageBoxes(bool on);
void queueMessageBoxAnswer(int answer);
// Test hook for real boxes (scripted mode off): each one, once shown, gets this gesture of the
// user: Escape, its close box, or a click on the button of an answer (AnswerYes, ...).
enum : int { MessageBoxGestureNone = 0, MessageBoxGestureEscape = -1, MessageBoxGestureClose = -2 };
void gestureOnMessageBoxes(int gesture);
std::vector<ShownMessage> takeShownMessages();
