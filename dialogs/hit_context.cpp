#include "dialogs/hit_context.h"

#include "content/lesson_records.h"
#include "platform/bidi.h"
#include "platform/memory.h"

namespace {
constexpr char32_t kAlef = 0x05D0;
constexpr char16_t kOpen = u'\u00BB', kClose = u'\u00AB'; // » before the hit, « after it

struct Out {
    char16_t* units;
    int capacity, length;
};

void put(Out* out, char32_t c) {
    if (c >= 0x10000 || out->length + 1 > out->capacity - 1) return;
    out->units[out->length++] = char16_t(c);
}

char32_t shownAs(uint8_t b, bool hebrew) {
    if (hebrew && b >= 0x61 && b <= 0x7B) return kAlef + (b - 0x61);
    if (hebrew && b == 0x7E) return U'{';
    return b;
}

// Appends bytes [from, to) of a record in reading order: a Hebrew record's bytes through the
// bidi step (they are stored in display order), any other record's as they are. False when
// memory is short.
bool putPiece(Out* out, const uint8_t* text, int from, int to, bool hebrew) {
    int n = to - from;
    if (n <= 0) return true;
    if (!hebrew) {
        for (int i = from; i < to; ++i)
            put(out, text[i]);
        return true;
    }
    auto* block = static_cast<char32_t*>(plainAlloc(2 * size_t(n) * sizeof(char32_t)));
    if (!block) return false;
    for (int i = 0; i < n; ++i)
        block[i] = shownAs(text[from + i], true);
    if (bidiReadingOrder(block, size_t(n), block + n) != 0) {
        plainFree(block);
        return false;
    }
    for (int i = 0; i < n; ++i)
        put(out, block[n + i]);
    plainFree(block);
    return true;
}

// The record whose text holds `offset`, or false.
bool recordHolding(const uint8_t* text, int offset, LessonRecord* found) {
    uint32_t pos = 0;
    LessonRecord record;
    while (nextLessonRecord(text, &pos, &record)) {
        if (int(record.textOffset) <= offset &&
            offset < int(record.textOffset + record.textLength)) {
            *found = record;
            return true;
        }
    }
    return false;
}

int finish(Out* out, bool ok) {
    if (!ok) out->length = 0;
    out->units[out->length] = 0;
    return ok ? out->length : -1;
}
} // namespace

int hitContext(const uint8_t* text, const SearchHit& hit, char16_t* out, int capacity) {
    Out o{out, capacity, 0};
    out[0] = 0;
    LessonRecord record;
    if (!text || !recordHolding(text, hit.highlightStart, &record)) return 0;
    int first = int(record.textOffset), end = int(record.textOffset + record.textLength);
    int below =
        hit.highlightStart - kContextBytes > first ? hit.highlightStart - kContextBytes : first;
    int above = hit.highlightEnd + kContextBytes < end ? hit.highlightEnd + kContextBytes : end;
    // Whole words at the edges when a space allows.
    for (int i = below; below > first && i < hit.highlightStart; ++i) {
        if (text[i] == ' ') {
            below = i + 1;
            break;
        }
    }
    for (int i = above - 1; above < end && i >= hit.highlightEnd; --i) {
        if (text[i] == ' ') {
            above = i;
            break;
        }
    }
    bool hebrew = (record.style & StyleHebrew) != 0;
    // Reading order: a Hebrew record reads from its highest byte down.
    int beforeFrom = hebrew ? hit.highlightEnd : below,
        beforeTo = hebrew ? above : hit.highlightStart;
    int afterFrom = hebrew ? below : hit.highlightEnd,
        afterTo = hebrew ? hit.highlightStart : above;
    bool ok = putPiece(&o, text, beforeFrom, beforeTo, hebrew);
    put(&o, kOpen);
    ok = ok && putPiece(&o, text, hit.highlightStart, hit.highlightEnd, hebrew);
    put(&o, kClose);
    ok = ok && putPiece(&o, text, afterFrom, afterTo, hebrew);
    return finish(&o, ok);
}

int lessonTitle(const uint8_t* text, char16_t* out, int capacity) {
    Out o{out, capacity, 0};
    out[0] = 0;
    if (!text) return 0;
    uint32_t pos = 0;
    LessonRecord record;
    for (int i = 0; i < 2 && nextLessonRecord(text, &pos, &record); ++i) {
        bool title = record.style == TitleHebrewStyle || record.style == TitleLatinStyle;
        bool subtitle = record.style == SubtitleHebrewStyle || record.style == SubtitleLatinStyle;
        if (!title && !(subtitle && i == 0)) continue;
        int from = int(record.textOffset);
        return finish(&o, putPiece(&o, text, from, from + int(record.textLength),
                                   (record.style & StyleHebrew) != 0));
    }
    return 0;
}
