// Lessons for the clipboard export, compiled from source, and the clipboard of the offscreen
// platform (in this process) to put them on and read them back.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/clipboard_export.h"
#include "platform/clipboard.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "state/state.h"
#include "tests/support/config_home.h"
#include "tests/support/fixtures.h"
#include "tools/bookc/lesson_source.h"
#include "view/letters.h"
#include "view/text_view.h"

class ExportTest : public testing::Test {
protected:
    void SetUp() override {
        // The windowed application, so that the shell's tests can run in the same program.
        ASSERT_TRUE(startTestGraphics());
        resetAppState();
        appState.Flags = DefaultFlags; // Reverse off
        appState.fontSpec.FontAsciiBase = 1488;
        takeShownMessages();
        putClipboardTypes({});
    }
    void TearDown() override {
        injectAllocFailures(0, 0);
        failClipboardOpen(false);
        plainFree(appState.letterConversion.convBuffer);
        appState.letterConversion = LetterConversion{};
    }

    // The records of a lesson source, padded as LoadBookResource pads a lesson.
    static std::vector<uint8_t> lesson(const std::string& source) {
        CompiledLesson compiled;
        SourceError error;
        EXPECT_TRUE(CompileLesson("fixture", source, compiled, error)) << error.describe();
        return padded(compiled.records);
    }

    // The base and Reverse flag that Copy and Append will see.
    static void chooseBase(int base, bool reverse = false) {
        appState.fontSpec.FontAsciiBase = base;
        appState.Flags = reverse ? (DefaultFlags | FlagReverse) : (DefaultFlags & ~FlagReverse);
    }

    // Copy (append 0) or Append (1) of `source` as the reader's menu runs it.
    static void copy(const std::string& source, int append) {
        std::vector<uint8_t> bytes = lesson(source);
        TextView view{};
        view.text = bytes.data();
        copyLessonToClipboard(&view, append);
    }

    static std::string richText() { return clipboardTypeData("text/rtf"); }
    static std::u16string unicodeText() {
        std::u16string text;
        if (!openClipboard(nullptr)) return text;
        if (const void* data = getClipboardData(ClipboardUnicodeText, nullptr))
            text = static_cast<const char16_t*>(data);
        closeClipboard();
        return text;
    }
    static void putUnicode(const std::u16string& text) {
        ASSERT_TRUE(openClipboard(nullptr));
        emptyClipboard();
        auto* block = static_cast<char16_t*>(plainAlloc((text.size() + 1) * 2));
        std::copy(text.c_str(), text.c_str() + text.size() + 1, block);
        setClipboardData(ClipboardUnicodeText, block, (text.size() + 1) * 2);
        closeClipboard();
    }
    static unsigned richTextFormat() { return registerClipboardFormat(u"Rich Text Format"); }

    ConfigHome config_; // a failing checkedAlloc saves the settings
};
