#include "dialogs/lesson_text.h"

#include "content/lesson_records.h"
#include "platform/message_box.h"
#include "state/state.h"
#include "view/letters.h"

namespace {
// The dashes that stand for a rule or link: L of them up to 160, else two per step above.
int dashesOf(uint8_t layout) {
    return layout <= 160 ? layout : (layout - 160) * 2;
}

bool isDigit(char16_t unit) {
    return unit >= u'0' && unit <= u'9';
}
// A separator that stays inside a number when it stands between two digits ("1,000", "16:8").
bool isNumberSeparator(char16_t unit) {
    return unit == u'+' || unit == u'-' || unit == u',' || unit == u'.' || unit == u':' ||
           unit == u'/';
}
// A sign that goes with a number it touches ("50%").
bool isNumberSign(char16_t unit) {
    return unit == u'#' || unit == u'$' || unit == u'%';
}

// A Hebrew record turned round into reading order has its numbers backwards too, since they
// are shown left to right inside the right-to-left line: turns each number back.
void restoreNumbers(char16_t* units, size_t n) {
    size_t done = 0; // units before this belong to numbers already turned, or to none
    for (size_t i = 0; i < n;) {
        if (!isDigit(units[i])) {
            ++i;
            continue;
        }
        size_t start = i;
        while (start > done && isNumberSign(units[start - 1]))
            --start;
        size_t end = i + 1;
        while (end < n && (isDigit(units[end]) || (isNumberSeparator(units[end]) && end + 1 < n &&
                                                   isDigit(units[end + 1])))) {
            ++end;
        }
        while (end < n && isNumberSign(units[end]))
            ++end;
        for (size_t a = start, b = end - 1; a < b; ++a, --b) {
            char16_t t = units[a];
            units[a] = units[b];
            units[b] = t;
        }
        done = i = end;
    }
}

// Puts units into a fixed buffer and remembers, instead of writing, what would not fit.
struct UnitWriter {
    char16_t* out;
    size_t capacity; // units
    size_t count;
    bool overflow;

    void put(char16_t unit) {
        if (count < capacity) {
            out[count++] = unit;
        } else {
            overflow = true;
        }
    }
    void repeat(char16_t unit, int times) {
        for (int i = 0; i < times; ++i)
            put(unit);
    }
};
} // namespace

size_t measureLessonText(const uint8_t* lesson) {
    size_t lines = 0, margins = 0, dashes = 0;
    uint32_t pos = 0;
    LessonRecord r;
    while (nextLessonRecord(lesson, &pos, &r)) {
        lines += (r.style & StyleEmptyAfter) ? 2 : 1;
        if (isControlStyle(r.style)) {
            dashes += size_t(dashesOf(r.layout));
        } else {
            margins += size_t(marginOf(r.layout));
        }
    }
    size_t bytes = pos; // up to the end mark
    size_t units = bytes + bytes / 2 + 2 * lines + dashes + margins + 1;
    return units * sizeof(char16_t);
}

int lessonToText(const uint8_t* lesson, char16_t* out, size_t capacityBytes, int letterBase,
                 bool reverse) {
    UnitWriter w{out, capacityBytes / sizeof(char16_t), 0, false};
    uint32_t pos = 0;
    LessonRecord r;
    while (nextLessonRecord(lesson, &pos, &r)) {
        if (isControlStyle(r.style)) {
            w.repeat(u'-', dashesOf(r.layout));
        } else {
            bool hebrew = r.style & StyleHebrew;
            int margin = marginOf(r.layout);
            if (!hebrew) w.repeat(u' ', margin);
            int base = hebrew ? letterBase : int(LetterBaseLatin);
            char16_t* units = convertRun(lesson + r.textOffset, int(r.textLength), base, reverse,
                                         &appState.letterConversion);
            if (!units) return 1;
            size_t count = 0;
            while (units[count])
                ++count;
            if (hebrew && base != LetterBaseLatin && reverse) restoreNumbers(units, count);
            for (size_t i = 0; i < count; ++i)
                w.put(units[i]);
            if (hebrew) w.repeat(u' ', margin);
        }
        w.put(13);
        w.put(10);
        if (r.style & StyleEmptyAfter) {
            w.put(13);
            w.put(10);
        }
    }
    w.put(0);
    if (w.overflow) {
        showMessageBox(appState.mainWindow, u"(obuf > (start + size))", nullptr, MessageBoxOk);
        return 1;
    }
    return 0;
}
