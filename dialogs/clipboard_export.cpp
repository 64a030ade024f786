#include "dialogs/clipboard_export.h"

#include <cstring>

#include "dialogs/lesson_text.h"
#include "dialogs/rich_text.h"
#include "platform/clipboard.h"
#include "platform/memory.h"
#include "state/state.h"
#include "view/text_view.h"

namespace {
const char16_t kRichTextFormatName[] = u"Rich Text Format";

// What Append starts from: the clipboard's data in `format`, or none. False when that data
// could not be copied, and the command is abandoned.
bool previousContent(unsigned format, int append, void** previous, size_t* length) {
    *previous = nullptr;
    *length = 0;
    if (!append) return true;
    *previous = readClipboard(format, length);
    return *previous || *length == 0;
}

// One format's new content for the clipboard: a block from plainAlloc and its size.
struct ClipboardBlock {
    unsigned format;
    void* block;
    size_t bytes;
};

// Replaces the clipboard's content by the `count` blocks, each in its format; releases them
// when the clipboard cannot be opened.
void replaceClipboard(const ClipboardBlock* blocks, size_t count) {
    if (!openClipboard(nullptr)) {
        for (size_t i = 0; i < count; ++i)
            plainFree(blocks[i].block);
        return;
    }
    emptyClipboard();
    for (size_t i = 0; i < count; ++i)
        setClipboardData(blocks[i].format, blocks[i].block, blocks[i].bytes);
    closeClipboard();
}
} // namespace

char16_t* exportLessonText(const uint8_t* lesson) {
    size_t capacity = measureLessonText(lesson);
    auto* text = static_cast<char16_t*>(checkedAlloc(capacity));
    if (!text) return nullptr;
    // At a Unicode base the text leaves in reading order: the stored order turned round, unless
    // Reverse already turns it round on the page.
    int base = appState.fontSpec.FontAsciiBase;
    bool reverse = (appState.Flags & FlagReverse) != 0;
    if (lessonToText(lesson, text, capacity, base, reverse != isUnicodeBase(base)) != 0) {
        plainFree(text);
        return nullptr;
    }
    return text;
}

void copyLessonToClipboard(TextView* view, int append) {
    if (!view || !view->text) return;
    char16_t* text = exportLessonText(view->text);
    if (!text) return;
    if (isUnicodeBase(appState.fontSpec.FontAsciiBase)) {
        putRichText(text, append);
    } else {
        putUnicodeText(text, append);
    }
    plainFree(text);
}

void* readClipboard(unsigned format, size_t* length) {
    *length = 0;
    if (!openClipboard(nullptr)) return nullptr;
    bool unicode = format == 0 || format == ClipboardUnicodeText;
    size_t size = 0;
    const void* data = getClipboardData(unicode ? ClipboardUnicodeText : format, &size);
    if (!data) {
        closeClipboard();
        return nullptr;
    }
    size_t n = 0;
    if (unicode) {
        const auto* units = static_cast<const char16_t*>(data);
        while (units[n] != 0)
            ++n;
        n *= sizeof(char16_t);
    } else {
        const auto* bytes = static_cast<const char*>(data);
        while (bytes[n] != 0)
            ++n;
    }
    void* copy = checkedAlloc(n);
    if (copy) std::memcpy(copy, data, n);
    closeClipboard();
    *length = n;
    return copy;
}

void putRichText(const char16_t* text, int append) {
    unsigned format = registerClipboardFormat(kRichTextFormatName);
    void* previous = nullptr;
    size_t e = 0;
    if (!previousContent(format, append, &previous, &e)) return;
    void* previousText = nullptr;
    size_t t = 0;
    if (!previousContent(ClipboardUnicodeText, append, &previousText, &t)) {
        plainFree(previous);
        return;
    }
    // Both documents are made before the clipboard is touched, so that a shortage of memory
    // leaves the clipboard as it was. The Unicode text goes beside the Rich Text for the
    // programs that paste only text (a terminal, a browser's field, a plain editor).
    ClipboardBlock blocks[2] = {{format, nullptr, 0}, {ClipboardUnicodeText, nullptr, 0}};
    blocks[0].block =
        richTextDocument(static_cast<const char*>(previous), e, text, &blocks[0].bytes);
    if (blocks[0].block)
        blocks[1].block =
            unicodeDocument(static_cast<const char16_t*>(previousText), t, text, &blocks[1].bytes);
    plainFree(previous);
    plainFree(previousText);
    if (blocks[0].block && blocks[1].block) {
        replaceClipboard(blocks, 2);
    } else {
        plainFree(blocks[0].block);
        plainFree(blocks[1].block);
    }
}

void putUnicodeText(const char16_t* text, int append) {
    void* previous = nullptr;
    size_t e = 0;
    if (!previousContent(ClipboardUnicodeText, append, &previous, &e)) return;
    size_t bytes = 0;
    char16_t* document = unicodeDocument(static_cast<const char16_t*>(previous), e, text, &bytes);
    plainFree(previous);
    if (!document) return;
    ClipboardBlock block = {ClipboardUnicodeText, document, bytes};
    replaceClipboard(&block, 1);
}

char16_t* unicodeDocument(const char16_t* previous, size_t previousBytes, const char16_t* text,
                          size_t* bytes) {
    size_t e = previous ? previousBytes & ~size_t(1) : 0;
    size_t units = 0;
    while (text[units] != 0)
        ++units;
    size_t size = e + 2 * units + 2;
    auto* block = static_cast<char16_t*>(plainAlloc(size));
    if (!block) return nullptr;
    if (e) std::memcpy(block, previous, e);
    std::memcpy(reinterpret_cast<char*>(block) + e, text, 2 * units + 2);
    if (bytes) *bytes = size;
    return block;
}
