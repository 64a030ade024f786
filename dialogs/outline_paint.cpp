// The outline list on screen: painting, scrolling, taps, opening and closing headings, and
// the open state kept across a new layout.
#include <cstring>

#include "content/index_records.h"
#include "dialogs/outline_list.h"
#include "platform/bitmaps.h"
#include "platform/memory.h"
#include "view/letters.h"
#include "view/page_colours.h"

namespace {
constexpr int kGlyphSize = 9, kGlyphGap = 4, kTapSlack = 13;

bool shown(const OutlineRow& row) {
    return row.sectionStyle & SectionShown;
}
bool isHeading(const OutlineRow& row) {
    return row.sectionValue & SectionHeading;
}

// The distance of a row's text from the right edge of the area.
int indentOf(const OutlineList* list, const OutlineRow& row) {
    return list->area.left + list->area.width - row.x - row.width;
}

// Whether row i carries on the record of row i - 1: the same value and no record's end (the 0
// after a title) between their texts. A bookmark and the index's entry of the same lesson share
// their value but are two records.
bool continuesRecord(const OutlineList* list, int i) {
    if (i <= 0) return false;
    const OutlineRow& a = list->rows[i - 1];
    const OutlineRow& b = list->rows[i];
    if (a.sectionValue != b.sectionValue || b.start < a.start + a.length) return false;
    for (int at = a.start + a.length; at < b.start; ++at) {
        if (list->indexText[at] == 0) return false;
    }
    return true;
}

// The first row drawn: the one after topRow shown rows.
int firstDrawnRow(const OutlineList* list) {
    int i = 0;
    for (int passed = 0; list->rows[i].sectionStyle && passed < list->topRow; ++i)
        passed += shown(list->rows[i]);
    return i;
}

// Shows the rows of one record from `from` in `step` direction (+1 or -1); headings newly shown
// are shown closed.
void revealRecord(OutlineList* list, int from, int step) {
    uint16_t value = list->rows[from].sectionValue;
    for (int i = from; i >= 0 && i < list->rowCount && list->rows[i].sectionStyle &&
                       list->rows[i].sectionValue == value;
         i += step) {
        OutlineRow& row = list->rows[i];
        if (shown(row)) continue;
        row.sectionStyle |= SectionShown;
        ++list->shownRows;
        if (isHeading(row)) row.sectionStyle &= uint8_t(~SectionOpen);
    }
}

// The rows of the record around row `row`: [*first, *last].
void recordRows(const OutlineList* list, int row, int* first, int* last) {
    uint16_t value = list->rows[row].sectionValue;
    int a = row, b = row;
    while (a > 0 && list->rows[a - 1].sectionValue == value)
        --a;
    while (b + 1 < list->rowCount && list->rows[b + 1].sectionValue == value)
        ++b;
    *first = a;
    *last = b;
}
} // namespace

void OutlineList_DrawGlyph(OutlineList* list, const OutlineRow& row, int y) {
    int which = !isHeading(row) ? 2 : (row.sectionStyle & SectionOpen) ? 1 : 0;
    BitmapHandle glyph = appState.outlineIcons[which];
    if (!glyph) return;
    int offset = (row.height - kGlyphSize) / 2;
    // In the page's colours: the index's text on its paper.
    const PageColours& colours = pageColours();
    drawBitmapInColours(list->dc, glyph, row.x + row.width + kGlyphGap,
                        y + (offset > 0 ? offset : 0), colours.indexText, colours.paper);
}

int OutlineList_Paint(OutlineList* list, int erase) {
    if (!list || !list->indexText || !list->rows) return -1;
    list->rowsPainted = 0;
    if (list->topRow > list->shownRows) list->topRow = list->maxTopRow;
    int i = firstDrawnRow(list);
    int y = list->area.top, room = list->area.height;
    Colour colour = getTextColour(list->dc);
    appState.letterConversion.activeLetterBase = list->font.FontAsciiBase;
    uint8_t key = list->rows[i].sectionStyle & SectionKeyMask;
    FontHandle before =
        OutlineList_SelectStyle(list, list->rows[i].sectionStyle | SelectWithColour);
    Colour paper = pageColours().paper;
    Colour oldBack = paper == 0xFFFFFF ? paper : setBackgroundColour(list->dc, paper);
    if (erase)
        fillPaper(list->dc, list->area.left, list->area.top, list->area.width, list->area.height);
    uint16_t lastValue = 0;
    for (; list->rows[i].sectionStyle; ++i) {
        const OutlineRow& row = list->rows[i];
        if (room < row.height) break;
        if (!shown(row)) continue;
        if ((row.sectionStyle & SectionKeyMask) != key) {
            key = row.sectionStyle & SectionKeyMask;
            OutlineList_SelectStyle(list, row.sectionStyle | SelectWithColour);
        }
        if (row.sectionValue != lastValue || !continuesRecord(list, i))
            OutlineList_DrawGlyph(list, row, y);
        lastValue = row.sectionValue;
        DrawTextCell(list->dc, list->indexText + row.start, row.length, row.x, y, row.width,
                     row.height);
        y += row.height;
        room -= row.height;
        ++list->rowsPainted;
    }
    if (before) selectFont(list->dc, before);
    setTextColour(list->dc, colour);
    if (paper != 0xFFFFFF) setBackgroundColour(list->dc, oldBack);
    appState.letterConversion.activeLetterBase = LetterBaseLatin;
    return 0;
}

void OutlineList_ScrollBy(OutlineList* list, int delta) {
    if (!list) return;
    int t = list->topRow + delta;
    if (t < 0) t = 0;
    if (t > list->maxTopRow) t = list->maxTopRow;
    if (t == list->topRow) return;
    list->topRow = uint16_t(t);
    OutlineList_Paint(list, 1);
}

int32_t OutlineList_HitTest(OutlineList* list, int x, int y) {
    if (!list || !list->rows) return 0;
    const ViewArea& a = list->area;
    if (x < a.left || x > a.left + a.width || y < a.top || y > a.top + a.height) return 0;
    int bottom = a.top, room = a.height;
    for (int i = firstDrawnRow(list); list->rows[i].sectionStyle; ++i) {
        const OutlineRow& row = list->rows[i];
        if (room < row.height) return OutlineBelowRows;
        if (!shown(row)) continue;
        room -= row.height;
        bottom += row.height;
        if (y > bottom) continue;
        if (x >= row.x && x <= row.x + row.width + kTapSlack) {
            if (row.sectionValue & SectionEntry) return row.sectionValue & SectionNumberMask;
            return OutlineList_Toggle(list, i);
        }
        if (isHeading(row) && x > row.x + row.width) return OutlineList_Toggle(list, i);
        return 0;
    }
    return OutlineBelowRows;
}

int32_t OutlineList_Toggle(OutlineList* list, int row) {
    int first = 0, last = 0;
    recordRows(list, row, &first, &last);
    int id = list->rows[row].sectionValue & SectionNumberMask;
    bool wasOpen = list->rows[row].sectionStyle & SectionOpen;
    // Every row of the heading keeps the same open bit.
    for (int i = first; i <= last; ++i)
        list->rows[i].sectionStyle ^= SectionOpen;
    uint16_t shownBefore = list->shownRows;
    int own = indentOf(list, list->rows[row]);
    int child = last + 1;
    // The records below belong to the heading only when they are indented deeper.
    if (list->rows[child].sectionStyle && indentOf(list, list->rows[child]) > own) {
        int depth = indentOf(list, list->rows[child]);
        for (int i = child; list->rows[i].sectionStyle; ++i) {
            OutlineRow& r = list->rows[i];
            int indent = indentOf(list, r);
            if (indent < depth) break;
            if (wasOpen && shown(r)) {
                r.sectionStyle &= uint8_t(~SectionShown);
                --list->shownRows;
            } else if (!wasOpen && indent == depth && !shown(r)) {
                r.sectionStyle |= SectionShown;
                ++list->shownRows;
            }
        }
    }
    if (list->shownRows != shownBefore) OutlineList_ComputeMaxTop(list);
    OutlineList_Paint(list, 1);
    return -id;
}

void OutlineList_RevealLesson(OutlineList* list, int lesson) {
    if (!list || lesson == 0 || !list->rows || list->rowCount == 0) return;
    int found = -1;
    for (int i = 0; i < list->rowCount; ++i) {
        const OutlineRow& row = list->rows[i];
        if ((row.sectionValue & SectionNumberMask) == lesson && !isHeading(row)) {
            found = i;
            break;
        }
    }
    if (found < 0 || shown(list->rows[found])) return;
    revealRecord(list, found, 1);
    int first = 0, last = 0;
    recordRows(list, found, &first, &last);
    if (last + 1 < list->rowCount) revealRecord(list, last + 1, 1);
    int depth = indentOf(list, list->rows[found]);
    for (int i = found; i >= 0; --i) {
        int indent = indentOf(list, list->rows[i]);
        if (indent < depth) {
            revealRecord(list, i, -1);
            depth = indent;
        }
    }
}

uint16_t* OutlineList_SaveOpenState(OutlineList* list) {
    if (!list || !list->rows) return nullptr;
    size_t runs = 0;
    for (int i = 0; i < list->rowCount; ++i) {
        const OutlineRow& row = list->rows[i];
        bool continues =
            i > 0 && shown(list->rows[i - 1]) && list->rows[i - 1].sectionValue == row.sectionValue;
        runs += shown(row) && !continues;
    }
    if (runs == 0) return nullptr;
    auto* saved = static_cast<uint16_t*>(checkedAlloc((2 * runs + 1) * sizeof(uint16_t)));
    if (!saved) return nullptr;
    uint16_t* out = saved;
    for (int i = 0; i < list->rowCount; ++i) {
        const OutlineRow& row = list->rows[i];
        bool continues =
            i > 0 && shown(list->rows[i - 1]) && list->rows[i - 1].sectionValue == row.sectionValue;
        if (!shown(row) || continues) continue;
        *out++ = row.sectionValue;
        *out++ = (row.sectionStyle & SectionOpen) ? 1 : 0;
    }
    *out = 0;
    return saved;
}

int OutlineList_RestoreOpenState(OutlineList* list, const uint16_t* saved) {
    if (!list || !list->indexText || !list->rows || !saved) return -1;
    int i = 0;
    for (const uint16_t* pair = saved; pair[0] != 0; pair += 2) {
        while (i < list->rowCount && list->rows[i].sectionValue != pair[0])
            ++i;
        if (i >= list->rowCount) break;
        for (uint16_t value = pair[0]; i < list->rowCount && list->rows[i].sectionValue == value;
             ++i) {
            OutlineRow& row = list->rows[i];
            if (!shown(row)) ++list->shownRows;
            row.sectionStyle |= SectionShown;
            if (pair[1]) row.sectionStyle |= SectionOpen;
        }
    }
    OutlineList_ComputeMaxTop(list);
    return 0;
}
