#include "dialogs/search.h"

#include <cstring>

#include "calendar/weekly_lesson.h"
#include "content/book_constants.h"
#include "content/lesson_records.h"
#include "content/resource.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "state/state.h"
#include "view/reader_window.h"
#include "view/text_view.h"
#include "view/title_banner.h"

namespace {
// Sentinel offset above every record of a lesson: a search from there finds nothing in it.
constexpr uint16_t kAboveEveryRecord = 65535;

int unitsOf(const LineRecord& line) {
    return (line.style & StyleEmptyAfter) ? 2 : 1;
}

int patternLength() {
    int n = 0;
    while (n < kMaxPatternLength && appState.searchPattern[n] != 0)
        ++n;
    return n;
}

// Whether the lesson can hold a hit at all: every hit ends with the pattern's last byte (always
// matched as it is) and the literal bytes before it up to the first wildcard, so a lesson in
// which those bytes occur nowhere, across its records or not, has none.
bool mayHoldHit(const uint8_t* text, int n) {
    const char* pattern = appState.searchPattern;
    int j = n - 1;
    while (j > 0 && pattern[j - 1] != '?' && pattern[j - 1] != '*')
        --j;
    uint32_t end = 0;
    LessonRecord record;
    while (nextLessonRecord(text, &end, &record)) {
    }
    return memmem(text, end, pattern + j, size_t(n - j)) != nullptr;
}

// The record list's nodes come in blocks, one allocation for many records.
constexpr int kNodesPerBlock = 64;
struct NodeBlock {
    NodeBlock* next;
    SearchRecordNode nodes[kNodesPerBlock];
};

void freeBlocks(NodeBlock* block) {
    while (block) {
        NodeBlock* next = block->next;
        plainFree(block);
        block = next;
    }
}

// The lesson's records in stored order (*head, null for none) and the blocks that hold them
// (*blocks, for freeBlocks). False when memory ran out (nothing left allocated).
bool buildRecordList(const uint8_t* text, SearchRecordNode** head, NodeBlock** blocks) {
    *head = nullptr;
    *blocks = nullptr;
    SearchRecordNode** tail = head;
    int used = kNodesPerBlock;
    uint32_t pos = 0;
    LessonRecord record;
    while (nextLessonRecord(text, &pos, &record)) {
        if (used == kNodesPerBlock) {
            auto* block = static_cast<NodeBlock*>(checkedAlloc(sizeof(NodeBlock)));
            if (!block) {
                freeBlocks(*blocks);
                *blocks = nullptr;
                *head = nullptr;
                return false;
            }
            block->next = *blocks;
            *blocks = block;
            used = 0;
        }
        SearchRecordNode* node = &(*blocks)->nodes[used++];
        *node = {nullptr, text + record.offset, text + record.textOffset + record.textLength};
        *tail = node;
        tail = &node->next;
    }
    return true;
}

// A hit that no line's byte range holds (a label word, a run of spaces between lines) is shown
// with the line that has the greatest start at or below it: the line it belongs to.
void showLineOf(TextView* view, int offset) {
    if (TextView_ShowOffset(view, offset) || view->lineCount == 0) return;
    int best = 0;
    for (int i = 0; i < view->lineCount; ++i) {
        if (view->lines[i].start <= offset && view->lines[i].start >= view->lines[best].start)
            best = i;
    }
    int units = 0;
    for (int i = 0; i < best; ++i)
        units += unitsOf(view->lines[i]);
    view->topLine = uint16_t(units < view->maxTopLine ? units : view->maxTopLine);
}

// Just below the previous hit. A hit from its record's first text byte leaves nothing of the
// record below it: the search goes on with the next record from its top (a start below a
// record's text would search that record again whole and find the same hit).
uint16_t belowHighlight(const TextView* view) {
    int start = view->highlightStart;
    uint32_t pos = 0;
    LessonRecord record;
    while (nextLessonRecord(view->text, &pos, &record) && int(record.textOffset) <= start) {
        if (int(record.textOffset) != start) continue;
        LessonRecord next;
        if (!nextLessonRecord(view->text, &pos, &next)) return kAboveEveryRecord;
        return uint16_t(next.textOffset + next.textLength);
    }
    return uint16_t(start - 1);
}

int showHit(TextView* view, WindowHandle owner, int hit, int length) {
    showLineOf(view, hit);
    repaintView(nullptr, RepaintAll);
    view->highlightStart = uint16_t(hit - length + 1);
    view->highlightEnd = uint16_t(hit + 1);
    TextView_Paint(view, 1);
    syncBookmarkCheck(owner);
    DrawTitleBanner(view);
    return 1;
}

// Makes lesson `number` (its expanded `text`) current in the view. False, with the text freed
// and the lesson left as it was, when the view refuses it.
bool openLesson(TextView* view, int number, uint8_t* text) {
    LessonPlace kept = currentLessonPlace();
    chooseLesson(uint16_t(number));
    if (showLessonText(view, text, kept, nullptr) != 0) return false;
    // Another lesson opened by a search, as by any movement that is not a link: no return
    // point and no return link (as the next start would show it too).
    appState.PreviousLesson = 0;
    view->viewFlags &= uint16_t(~ReturnLinkShown);
    return true;
}
} // namespace

void ConvertPattern(const char16_t* text) {
    int base = appState.fontSpec.FontAsciiBase;
    uint8_t bytes[kMaxPatternLength];
    int n = 0;
    for (; text && n < kMaxPatternLength && text[n] != 0; ++n) {
        int u = text[n];
        uint8_t b = u >= base && u < base + 27 ? uint8_t(u - base + 0x61) : uint8_t(u & 0xFF);
        if (b == 0) break;
        bytes[n] = b;
    }
    int m = 0;
    for (int i = 0; i < n; ++i) {
        if (bytes[i] == ' ' && i + 1 < n && bytes[i + 1] == ' ') continue;
        appState.searchPattern[m++] = char(bytes[i]);
    }
    appState.searchPattern[m] = 0;
}

const uint8_t* MatchBackward(const uint8_t* begin, const char* pattern, int patternLength,
                             const uint8_t* from, int* matchLength) {
    if (patternLength <= 0) return nullptr;
    uint8_t last = uint8_t(pattern[patternLength - 1]);
    for (const uint8_t* pos = from; pos >= begin; --pos) {
        // Only positions holding the pattern's last byte can end a hit.
        pos = static_cast<const uint8_t*>(memrchr(begin, last, size_t(pos - begin) + 1));
        if (!pos) break;
        const uint8_t* t = pos - 1;
        int k = patternLength - 2;
        bool abandoned = false;
        for (; k >= 0; --k, --t) {
            if (t < begin) {
                abandoned = true;
                break;
            }
            uint8_t p = uint8_t(pattern[k]);
            if (p == *t || p == '?') continue;
            if (p == '*') {
                // The '*' covers whatever lies between the hit of the pattern before it and
                // what matched after it. Each call recurses at most once, so the work stays
                // linear in the number of '*'s.
                int innerLength = 0;
                const uint8_t* inner = MatchBackward(begin, pattern, k, t, &innerLength);
                if (!inner) return nullptr;
                if (matchLength) *matchLength = int(pos - inner) + innerLength;
                return pos;
            }
            abandoned = true;
            break;
        }
        if (abandoned) continue;
        if (matchLength) *matchLength = int(pos - t);
        return pos;
    }
    return nullptr;
}

uint16_t SearchInText(const uint8_t* text, uint16_t startOffset, int* matchLength) {
    if (matchLength) *matchLength = 0;
    int n = patternLength();
    if (!text || n == 0) return 0;
    if (!mayHoldHit(text, n)) return 0;
    SearchRecordNode* list = nullptr;
    NodeBlock* blocks = nullptr;
    if (!buildRecordList(text, &list, &blocks)) {
        if (matchLength) *matchLength = -1;
        return 0;
    }
    const uint8_t* hit = nullptr;
    int length = 0;
    for (SearchRecordNode* node = list; node && !hit; node = node->next) {
        long end = node->textEnd - text;
        if (end < startOffset) continue;
        const uint8_t* textStart = node->recordStart + 2;
        const uint8_t* from =
            startOffset >= textStart - text ? text + startOffset : node->textEnd - 1;
        hit = MatchBackward(textStart, appState.searchPattern, n, from, &length);
    }
    freeBlocks(blocks);
    if (!hit) return 0;
    if (matchLength) *matchLength = length;
    return uint16_t(hit - text);
}

uint16_t SearchStartOffset() {
    const TextView* view = appState.view;
    if (!view || !view->text || !view->lines || view->lineCount == 0) return 0;
    int i = 0, sum = 0;
    while (sum < view->topLine && i < view->lineCount - 1)
        sum += unitsOf(view->lines[i++]);
    const LineRecord& top = view->lines[i];
    int c = top.start, d = top.length;
    if ((view->highlightEnd < c || view->highlightEnd > c + d) &&
        view->topLine < view->maxTopLine) {
        return uint16_t(c + d - 1);
    }
    if (view->highlightStart != c) return belowHighlight(view);
    // The previous hit reaches down to the top line's first stored byte: go on with the
    // following line. After the lesson's last line nothing is left of it.
    if (i + 1 >= view->lineCount) return kAboveEveryRecord;
    const LineRecord& next = view->lines[i + 1];
    int following = next.start + next.length;
    // Lines broken inside a word or after a hyphen touch in storage: start below the hit.
    return uint16_t(following == c ? c - 1 : following);
}

int SearchAgain(WindowHandle owner) {
    TextView* view = appState.view;
    if (appState.searchPattern[0] == 0 || !view) return 0;
    Place from = readerPlace();
    // A hit is a jump: the place it left goes into the history.
    auto shown = [&](uint16_t hit, int length) {
        int result = showHit(view, owner, hit, length);
        recordJump(from);
        return result;
    };
    int length = 0;
    if (view->text) {
        uint16_t hit = SearchInText(view->text, SearchStartOffset(), &length);
        if (length < 0) return 0;
        if (hit) return shown(hit, length);
    }
    int current = appState.Lesson;
    int i = current;
    // At most every lesson once, also when the current number is none of the book's.
    for (int tried = 0; tried < kLessonCount; ++tried) {
        i = i + 1 > kLessonCount ? (current == 0 ? 0 : 1) : i + 1;
        if (i == current) break;
        uint8_t* text = LoadBookResource(i, nullptr);
        if (!text) continue;
        uint16_t hit = SearchInText(text, 0, &length);
        if (length < 0) {
            plainFree(text);
            return 0;
        }
        if (!hit) {
            plainFree(text);
            continue;
        }
        if (openLesson(view, i, text)) return shown(hit, length);
    }
    if (view->text) {
        uint16_t hit = SearchInText(view->text, 0, &length);
        if (length < 0) return 0;
        if (hit) return shown(hit, length);
    }
    showMessageBox(owner, u"Not Found!", u"Versewell", MessageBoxOk);
    return 0;
}
