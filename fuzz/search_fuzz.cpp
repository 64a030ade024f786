// Arbitrary search patterns ('?' and '*' included) against the book's real lessons, from
// arbitrary reading positions and previous hits. Every hit must end on the pattern's last byte,
// lie inside one record's text and match the pattern as a whole; the stored pattern must come
// back unchanged through the search box. Input: lesson, reading position, previous hit, letter
// base and Reverse, then at most 33 pattern bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "content/lesson_records.h"
#include "content/resource.h"
#include "dialogs/search.h"
#include "dialogs/search_box.h"
#include "fuzz/glob_match.h"
#include "platform/memory.h"
#include "platform/recording/recording_dc.h"
#include "state/state.h"
#include "view/text_view.h"

namespace {
void check(bool ok) {
    if (!ok) __builtin_trap();
}

struct Book {
    DcHandle dc = createRecordingDc();
    TextView* views[54] = {};
};

Book& book() {
    static Book b = [] {
        Book b;
        resetAppState();
        appState.ExactLetters = 1; // byte for byte: forgiving_search_fuzz has the other
        appState.fontSpec.FontSize = 16;
        appState.fontSpec.FontAsciiBase = 1488;
        Rect area{0, 0, 240, 320};
        for (int n = 1; n <= 53; ++n) {
            b.views[n] = TextView_Create(b.dc, &area, &appState.fontSpec, 100);
            uint8_t* text = LoadBookResource(n, nullptr);
            if (text && TextView_SetText(b.views[n], text, 0) != 0) plainFree(text);
        }
        return b;
    }();
    return b;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6 || size > 6 + size_t(kMaxPatternLength)) return 0;
    Book& b = book();
    TextView* view = b.views[1 + data[0] % 53];
    if (!view->text) return 0;
    appState.view = view;
    view->topLine = uint16_t(data[1] | data[2] << 8);
    view->highlightStart = uint16_t(data[3] << 6);
    view->highlightEnd = uint16_t(view->highlightStart + data[4] % 40);
    appState.fontSpec.FontAsciiBase = data[5] & 1 ? 224 : 1488;
    appState.Flags = data[5] & 2 ? FlagReverse : 0;
    int m = int(size - 6);
    std::memset(appState.searchPattern, 0, sizeof appState.searchPattern);
    // Bytes from 0x80 on stand for letters, so that most patterns meet the text.
    for (int i = 0; i < m; ++i)
        appState.searchPattern[i] =
            char(data[6 + i] >= 0x80 ? 0x61 + data[6 + i] % 27 : data[6 + i]);
    m = int(std::strlen(appState.searchPattern));

    const uint8_t* text = view->text;
    for (uint16_t start : {SearchStartOffset(), uint16_t(0)}) {
        int length = 0;
        uint16_t hit = SearchInText(text, start, &length);
        if (!hit) {
            check(length == 0);
            continue;
        }
        check(m > 0 && length >= 1 && text[hit] == uint8_t(appState.searchPattern[m - 1]));
        // The hit lies inside one record's text, at or below the start when it is in the
        // record holding the start.
        uint32_t pos = 0;
        LessonRecord r;
        bool inside = false;
        while (nextLessonRecord(text, &pos, &r)) {
            if (hit >= r.textOffset && hit < r.textOffset + r.textLength) {
                inside = hit - length + 1 >= int(r.textOffset);
                if (start >= r.textOffset && start <= r.textOffset + r.textLength)
                    inside = inside && hit <= start;
                break;
            }
        }
        check(inside);
        check(globMatches(appState.searchPattern, m, text + hit - length + 1, length, false));
    }

    // The box round trip of a pattern made only of letters, spaces, '?' and '*' (one space
    // between words, as ConvertPattern stores them).
    char clean[kMaxPatternLength + 1];
    int n = 0;
    for (int i = 0; i < m; ++i) {
        uint8_t c = uint8_t(appState.searchPattern[i]);
        char t = c % 30 < 27 ? char(0x61 + c % 30) : "? *"[c % 30 - 27];
        if (t == ' ' && (n == 0 || clean[n - 1] == ' ')) continue;
        clean[n++] = t;
    }
    while (n > 0 && clean[n - 1] == ' ')
        --n;
    clean[n] = 0;
    char16_t* box = patternToBoxText(clean);
    check(box != nullptr);
    char16_t display[kMaxPatternLength + 1];
    check(boxTextToDisplayOrder(box, display, kMaxPatternLength + 1) >= 0);
    plainFree(box);
    ConvertPattern(display);
    check(std::strcmp(appState.searchPattern, clean) == 0);
    appState.view = nullptr;
    return 0;
}
