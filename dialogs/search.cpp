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

// The letter-code final forms (kaf, mem, nun, pe, tsadi), each just before its medial form.
constexpr uint8_t kFinals[] = {0x6B, 0x6E, 0x70, 0x74, 0x76};

struct FoldTable {
    uint8_t folded[256];
    uint8_t partner[256]; // the other form of a foldable letter, else 0
};
constexpr FoldTable makeFoldTable() {
    FoldTable t{};
    for (int b = 0; b < 256; ++b)
        t.folded[b] = uint8_t(b);
    for (uint8_t f : kFinals) {
        t.folded[f] = uint8_t(f + 1);
        t.partner[f] = uint8_t(f + 1);
        t.partner[f + 1] = f;
    }
    return t;
}
constexpr FoldTable kFold = makeFoldTable();

bool forgiving() {
    return appState.ExactLetters == 0;
}

// The pattern as it is compared in Hebrew records: its letters folded when matching forgives.
struct PreparedPattern {
    char hebrew[kMaxPatternLength + 1];
    int length;
    bool fold;
};
PreparedPattern preparePattern(int n) {
    PreparedPattern p{};
    p.length = n;
    p.fold = forgiving();
    for (int i = 0; i < n; ++i) {
        auto b = uint8_t(appState.searchPattern[i]);
        p.hebrew[i] = char(p.fold ? kFold.folded[b] : b);
    }
    return p;
}

bool literalBytesOccur(const uint8_t* text, uint32_t end, const char* bytes, int count) {
    return memmem(text, end, bytes, size_t(count)) != nullptr;
}

// Whether the lesson can hold a hit at all: every hit ends with the pattern's last byte (always
// matched as it is, or as either form of a foldable letter) and the literal bytes before it up
// to the first wildcard, so a lesson in which those bytes occur nowhere, across its records or
// not, has none. Under forgiving matching each spelling of the final and medial forms is looked
// for (up to 8); with more foldable letters than that the lesson is searched.
bool mayHoldHit(const uint8_t* text, int n) {
    const char* pattern = appState.searchPattern;
    int j = n - 1;
    while (j > 0 && pattern[j - 1] != '?' && pattern[j - 1] != '*')
        --j;
    uint32_t end = 0;
    LessonRecord record;
    while (nextLessonRecord(text, &end, &record)) {
    }
    if (!forgiving()) return literalBytesOccur(text, end, pattern + j, n - j);
    char tail[kMaxPatternLength];
    int foldable[kMaxPatternLength];
    int k = 0, count = n - j;
    for (int i = 0; i < count; ++i) {
        tail[i] = char(kFold.folded[uint8_t(pattern[j + i])]);
        if (kFold.partner[uint8_t(tail[i])]) foldable[k++] = i;
    }
    if (k > 3) return true;
    for (int spelling = 0; spelling < (1 << k); ++spelling) {
        for (int f = 0; f < k; ++f) {
            auto medial = uint8_t(kFold.folded[uint8_t(tail[foldable[f]])]);
            tail[foldable[f]] = char((spelling >> f) & 1 ? kFold.partner[medial] : medial);
        }
        if (literalBytesOccur(text, end, tail, count)) return true;
    }
    return false;
}

// The outcome of comparing the pattern with its last byte at one position.
enum class AtPosition { Hit, NoHit, NoneBelow };

// Compares `pattern` with its last byte at `pos` (the caller has checked that byte), towards
// lower positions. Hit: *matchLength set. NoneBelow: a '*' found no hit of the pattern before
// it at or below its place, so no lower position can hold a hit either.
template <bool Fold>
AtPosition compareAt(const uint8_t* begin, const char* pattern, int patternLength,
                     const uint8_t* pos, int* matchLength);

template <bool Fold> uint8_t asCompared(uint8_t b) {
    if constexpr (Fold) {
        return kFold.folded[b];
    } else {
        return b;
    }
}

// Where the other form of a foldable last byte was last found at or below the scan (searched:
// at is valid, null when there is none), so that each part of the text is scanned once.
struct PartnerScan {
    const uint8_t* at = nullptr;
    bool searched = false;
};

// The highest position at or below `pos` holding the pattern's last byte `last`, or under
// folding its other form. Null when there is none.
template <bool Fold>
const uint8_t* lastByteAt(const uint8_t* begin, const uint8_t* pos, uint8_t last,
                          PartnerScan* partner) {
    const auto* a = static_cast<const uint8_t*>(memrchr(begin, last, size_t(pos - begin) + 1));
    if constexpr (Fold) {
        uint8_t other = kFold.partner[last];
        if (!other) return a;
        if (!partner->searched || (partner->at && partner->at > pos)) {
            partner->at =
                static_cast<const uint8_t*>(memrchr(begin, other, size_t(pos - begin) + 1));
            partner->searched = true;
        }
        if (partner->at && (!a || partner->at > a)) return partner->at;
    }
    return a;
}

template <bool Fold>
const uint8_t* matchDown(const uint8_t* begin, const char* pattern, int patternLength,
                         const uint8_t* from, int* matchLength) {
    if (patternLength <= 0) return nullptr;
    auto last = uint8_t(pattern[patternLength - 1]);
    PartnerScan partner;
    for (const uint8_t* pos = from; pos >= begin; --pos) {
        // Only positions holding the pattern's last byte can end a hit.
        pos = lastByteAt<Fold>(begin, pos, last, &partner);
        if (!pos) break;
        AtPosition at = compareAt<Fold>(begin, pattern, patternLength, pos, matchLength);
        if (at == AtPosition::Hit) return pos;
        if (at == AtPosition::NoneBelow) return nullptr;
    }
    return nullptr;
}

template <bool Fold>
AtPosition compareAt(const uint8_t* begin, const char* pattern, int patternLength,
                     const uint8_t* pos, int* matchLength) {
    const uint8_t* t = pos - 1;
    for (int k = patternLength - 2; k >= 0; --k, --t) {
        if (t < begin) return AtPosition::NoHit;
        auto p = uint8_t(pattern[k]);
        if (p == asCompared<Fold>(*t) || p == '?') continue;
        if (p == '*') {
            // The '*' covers whatever lies between the hit of the pattern before it and what
            // matched after it. Each call recurses at most once, so the work stays linear in
            // the number of '*'s.
            int innerLength = 0;
            const uint8_t* inner = matchDown<Fold>(begin, pattern, k, t, &innerLength);
            if (!inner) return AtPosition::NoneBelow;
            if (matchLength) *matchLength = int(pos - inner) + innerLength;
            return AtPosition::Hit;
        }
        return AtPosition::NoHit;
    }
    if (matchLength) *matchLength = int(pos - t);
    return AtPosition::Hit;
}

// The pattern and how it is compared in one record: folded in a Hebrew record when matching
// forgives, as stored otherwise.
const uint8_t* matchInRecord(const PreparedPattern& p, uint8_t style, const uint8_t* begin,
                             const uint8_t* from, int* matchLength) {
    if (p.fold && (style & StyleHebrew))
        return matchDown<true>(begin, p.hebrew, p.length, from, matchLength);
    return matchDown<false>(begin, appState.searchPattern, p.length, from, matchLength);
}

// The lowest position above `above` (and at most `top`) where a hit ends, and under startAbove
// only a hit that also begins above it: the hit just before `above` in the search's order.
const uint8_t* matchUpInRecord(const PreparedPattern& p, uint8_t style, const uint8_t* begin,
                               const uint8_t* above, const uint8_t* top, bool startAbove,
                               int* matchLength) {
    bool fold = p.fold && (style & StyleHebrew);
    const char* pattern = fold ? p.hebrew : appState.searchPattern;
    auto last = uint8_t(pattern[p.length - 1]);
    for (const uint8_t* pos = above + 1; pos <= top; ++pos) {
        uint8_t b = fold ? kFold.folded[*pos] : *pos;
        if (b != last) continue;
        int length = 0;
        AtPosition at = fold ? compareAt<true>(begin, pattern, p.length, pos, &length)
                             : compareAt<false>(begin, pattern, p.length, pos, &length);
        if (at != AtPosition::Hit) continue;
        if (startAbove && pos - length + 1 <= above) continue;
        *matchLength = length;
        return pos;
    }
    return nullptr;
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

uint8_t FoldedLetter(uint8_t b) {
    return kFold.folded[b];
}

const uint8_t* MatchBackward(const uint8_t* begin, const char* pattern, int patternLength,
                             const uint8_t* from, int* matchLength) {
    return matchDown<false>(begin, pattern, patternLength, from, matchLength);
}

const uint8_t* MatchBackwardFolded(const uint8_t* begin, const char* pattern, int patternLength,
                                   const uint8_t* from, int* matchLength) {
    return matchDown<true>(begin, pattern, patternLength, from, matchLength);
}

namespace {
// The start of a search of `text` for the pattern now set: its record list and the prepared
// pattern. False, with nothing to free, for no pattern, no text or a text that cannot hold a
// hit (*matchLength 0), and when memory for the list is short (*matchLength -1).
bool startRecordScan(const uint8_t* text, int* matchLength, SearchRecordNode** list,
                     NodeBlock** blocks, PreparedPattern* prepared) {
    if (matchLength) *matchLength = 0;
    int n = patternLength();
    if (!text || n == 0 || !mayHoldHit(text, n)) return false;
    *list = nullptr;
    *blocks = nullptr;
    if (!buildRecordList(text, list, blocks)) {
        if (matchLength) *matchLength = -1;
        return false;
    }
    *prepared = preparePattern(n);
    return true;
}

// A search's answer: the hit's offset in `text` with its length in *matchLength, or 0.
uint16_t hitOffset(const uint8_t* text, const uint8_t* hit, int length, int* matchLength) {
    if (!hit) return 0;
    if (matchLength) *matchLength = length;
    return uint16_t(hit - text);
}
} // namespace

uint16_t SearchInText(const uint8_t* text, uint16_t startOffset, int* matchLength) {
    SearchRecordNode* list;
    NodeBlock* blocks;
    PreparedPattern prepared;
    if (!startRecordScan(text, matchLength, &list, &blocks, &prepared)) return 0;
    const uint8_t* hit = nullptr;
    int length = 0;
    for (SearchRecordNode* node = list; node && !hit; node = node->next) {
        long end = node->textEnd - text;
        if (end < startOffset) continue;
        const uint8_t* textStart = node->recordStart + 2;
        const uint8_t* from =
            startOffset >= textStart - text ? text + startOffset : node->textEnd - 1;
        hit = matchInRecord(prepared, node->recordStart[0], textStart, from, &length);
    }
    freeBlocks(blocks);
    return hitOffset(text, hit, length, matchLength);
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

uint16_t SearchBefore(const uint8_t* text, int boundary, bool startAbove, int* matchLength) {
    SearchRecordNode* list;
    NodeBlock* blocks;
    PreparedPattern prepared;
    if (!startRecordScan(text, matchLength, &list, &blocks, &prepared)) return 0;
    // The boundary's record, then the records before it, nearest first.
    int before = 0;
    SearchRecordNode* holding = list;
    for (; holding && holding->textEnd - text < boundary; holding = holding->next)
        ++before;
    const uint8_t* hit = nullptr;
    int length = 0;
    // A boundary below the record's text (a start that searches that record whole) leaves all
    // of the record after it.
    if (holding && holding->recordStart + 2 - text <= boundary) {
        hit = matchUpInRecord(prepared, holding->recordStart[0], holding->recordStart + 2,
                              text + boundary, holding->textEnd - 1, startAbove, &length);
    }
    SearchRecordNode** earlier = nullptr;
    if (!hit && before > 0) {
        earlier = static_cast<SearchRecordNode**>(
            checkedAlloc(size_t(before) * sizeof(SearchRecordNode*)));
        if (!earlier) {
            freeBlocks(blocks);
            if (matchLength) *matchLength = -1;
            return 0;
        }
        int i = 0;
        for (SearchRecordNode* node = list; i < before; node = node->next)
            earlier[i++] = node;
    }
    for (int i = before - 1; earlier && i >= 0 && !hit; --i) {
        const uint8_t* textStart = earlier[i]->recordStart + 2;
        hit = matchUpInRecord(prepared, earlier[i]->recordStart[0], textStart, textStart - 1,
                              earlier[i]->textEnd - 1, false, &length);
    }
    plainFree(earlier);
    freeBlocks(blocks);
    return hitOffset(text, hit, length, matchLength);
}

int SearchPrevious(WindowHandle owner) {
    TextView* view = appState.view;
    if (appState.searchPattern[0] == 0 || !view) return 0;
    int length = 0;
    if (view->text) {
        bool highlighted = view->highlightEnd > view->highlightStart;
        int boundary = highlighted ? view->highlightEnd - 1 : SearchStartOffset();
        uint16_t hit = SearchBefore(view->text, boundary, highlighted, &length);
        if (length < 0) return 0;
        if (hit) return showHit(view, owner, hit, length);
    }
    int current = appState.Lesson;
    int i = current;
    for (int tried = 0; tried < kLessonCount; ++tried) {
        i = i - 1 < 1 ? (current == 0 && tried > 0 ? 0 : kLessonCount) : i - 1;
        if (i == current) break;
        uint8_t* text = LoadBookResource(i, nullptr);
        if (!text) continue;
        uint16_t hit = SearchBefore(text, kAboveEveryRecord, false, &length);
        if (length < 0) {
            plainFree(text);
            return 0;
        }
        if (!hit) {
            plainFree(text);
            continue;
        }
        if (openLesson(view, i, text)) return showHit(view, owner, hit, length);
    }
    if (view->text) {
        uint16_t hit = SearchBefore(view->text, kAboveEveryRecord, false, &length);
        if (length < 0) return 0;
        if (hit) return showHit(view, owner, hit, length);
    }
    showMessageBox(owner, u"Not Found!", u"Versewell", MessageBoxOk);
    return 0;
}

namespace {
// A growing list of hits; false when memory ran out (the list freed).
bool appendHit(SearchHit** hits, int* count, int* capacity, const SearchHit& hit) {
    if (*count == *capacity) {
        int grown = *capacity ? *capacity * 2 : 256;
        auto* bigger = static_cast<SearchHit*>(plainAlloc(size_t(grown) * sizeof(SearchHit)));
        if (!bigger) {
            plainFree(*hits);
            *hits = nullptr;
            return false;
        }
        if (*count) std::memcpy(bigger, *hits, size_t(*count) * sizeof(SearchHit));
        plainFree(*hits);
        *hits = bigger;
        *capacity = grown;
    }
    (*hits)[(*count)++] = hit;
    return true;
}

// Appends the hits of one lesson, record by record, each search going on just below the hit
// before (a hit from its record's first byte leaves the record). -1 when memory ran out.
// (No memmem test first: a word listed is mostly a word the book holds, and the record walk
// costs no more than the test.)
int lessonHits(int lesson, const uint8_t* text, SearchHit** hits, int* count, int* capacity) {
    int n = patternLength();
    SearchRecordNode* list = nullptr;
    NodeBlock* blocks = nullptr;
    if (!buildRecordList(text, &list, &blocks)) return -1;
    PreparedPattern prepared = preparePattern(n);
    int status = 0;
    for (SearchRecordNode* node = list; node && status == 0; node = node->next) {
        const uint8_t* textStart = node->recordStart + 2;
        const uint8_t* from = node->textEnd - 1;
        while (from >= textStart) {
            int length = 0;
            const uint8_t* hit =
                matchInRecord(prepared, node->recordStart[0], textStart, from, &length);
            if (!hit) break;
            auto start = uint16_t(hit - text - length + 1);
            if (!appendHit(hits, count, capacity,
                           {uint16_t(lesson), start, uint16_t(hit - text + 1)})) {
                status = -1;
                break;
            }
            from = text + start - 1;
        }
    }
    freeBlocks(blocks);
    return status;
}
} // namespace

int FindAllHits(SearchHit** hits) {
    *hits = nullptr;
    if (patternLength() == 0) return 0;
    int count = 0, capacity = 0;
    for (int lesson = 1; lesson <= kLessonCount; ++lesson) {
        uint8_t* text = LoadBookResource(lesson, nullptr);
        if (!text) continue;
        int status = lessonHits(lesson, text, hits, &count, &capacity);
        plainFree(text);
        if (status < 0) {
            plainFree(*hits);
            *hits = nullptr;
            return -1;
        }
    }
    return count;
}

int ShowSearchHit(WindowHandle owner, const SearchHit& hit) {
    TextView* view = appState.view;
    if (!view) return 0;
    if (hit.lesson != appState.Lesson || !view->text) {
        uint8_t* text = LoadBookResource(hit.lesson, nullptr);
        if (!text || !openLesson(view, hit.lesson, text)) return 0;
    }
    return showHit(view, owner, hit.highlightEnd - 1, hit.highlightEnd - hit.highlightStart);
}
