// The outline list's rows: building them from the index records, their fonts, the largest
// useful scroll position.
#include <cstring>

#include "content/index_records.h"
#include "dialogs/outline_list.h"
#include "platform/memory.h"
#include "view/letters.h"
#include "view/page_colours.h"
#include "view/record_table.h"
#include "view/text_view.h"

namespace {
constexpr int kIndentStep = 13;

// Grows the row array by 128 rows. false (row `index` zeroed) when memory is short or the
// array would pass kMaxOutlineRows.
bool growRows(OutlineList* list, int index) {
    return growRecordTable(list->rows, list->rowCapacity, index, kMaxOutlineRows, checkedAlloc);
}

bool isSpace(uint8_t b) {
    return b == ' ';
}

struct BuildState {
    OutlineList* list;
    int row;    // next row to write
    int height; // text height of the selected font
};

// Lays one record out into rows. false when memory ran short.
bool layoutRecord(BuildState& b, const SectionRecord& r) {
    OutlineList* list = b.list;
    int indent = r.level * kIndentStep;
    if (indent >= list->area.width) indent = 0;
    int n = int(r.titleLength);
    // Titles are stored in display order; rows are broken in reading order, from a reversed copy.
    auto* scratch = static_cast<uint8_t*>(checkedAlloc(size_t(n) + 1));
    if (!scratch) return false;
    const uint8_t* title = list->indexText + r.titleOffset;
    for (int k = 0; k < n; ++k)
        scratch[k] = title[n - 1 - k];
    scratch[n] = 0;
    int p = 0;
    bool ok = true;
    while (true) {
        while (p < n && isSpace(scratch[p]))
            ++p;
        if (p >= n) break;
        if (b.row >= list->rowCapacity && !growRows(list, b.row)) {
            ok = false;
            break;
        }
        int available = list->area.width - indent;
        int width = available;
        int fit = n - p;
        MeasureFit(list->dc, scratch + p, &width, &fit);
        if (p + fit < n && !isSpace(scratch[p + fit])) {
            int k = fit - 1;
            while (k >= 1 && !isSpace(scratch[p + k]))
                --k;
            if (k >= 1) {
                fit = k;
                width = 1 << 30;
                MeasureFit(list->dc, scratch + p, &width, &fit);
            }
        }
        if (fit == 0) {
            // Not one byte fits: the row takes one anyway, so that the layout ends.
            fit = 1;
            width = 1 << 30;
            MeasureFit(list->dc, scratch + p, &width, &fit);
            if (fit == 0) { // the conversion had no memory
                ok = false;
                break;
            }
        }
        OutlineRow& row = list->rows[b.row++];
        row.start = uint16_t(r.titleOffset + uint32_t(n - p - fit));
        row.length = uint16_t(fit);
        row.width = uint16_t(width);
        row.height = uint16_t(b.height);
        row.sectionValue = r.sectionValue;
        row.sectionStyle = r.sectionStyle;
        row.x = uint16_t(list->area.left + list->area.width - indent - width);
        if (r.sectionStyle & SectionShown) ++list->shownRows;
        p += fit;
    }
    plainFree(scratch);
    return ok;
}
} // namespace

OutlineList* OutlineList_Create(DcHandle dc, const Rect* rect, const FontSpec* fontSpec,
                                int initialCapacity) {
    if (!dc) return nullptr;
    auto* list = static_cast<OutlineList*>(checkedAlloc(sizeof(OutlineList)));
    if (!list) return nullptr;
    std::memset(list, 0, sizeof(OutlineList));
    list->dc = dc;
    if (fontSpec) list->font = *fontSpec;
    if (rect)
        list->area = {rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top};
    makeRecordTable(list->rows, list->rowCapacity, initialCapacity, kMaxOutlineRows, checkedAlloc);
    return list;
}

int32_t OutlineList_Build(OutlineList* list, uint8_t* indexText, int releaseOld) {
    if (!list) return -1;
    list->shownRows = 0;
    list->maxTopRow = 0;
    if (!indexText) {
        if (releaseOld) {
            plainFree(list->indexText);
            list->indexText = nullptr;
        }
        return 2;
    }
    uint32_t pos = 0;
    SectionRecord r;
    if (!nextSectionRecord(indexText, &pos, &r) || r.titleLength == 0) return OutlineEmptyIndex;
    if (releaseOld && list->indexText && list->indexText != indexText) {
        plainFree(list->indexText);
        list->indexText = nullptr;
    }
    if (!list->rows || list->rowCapacity == 0) {
        plainFree(list->rows);
        list->rows = nullptr;
        list->rowCapacity = 0;
        makeRecordTable(list->rows, list->rowCapacity, kRecordTableStep, kMaxOutlineRows,
                        checkedAlloc);
        if (!list->rows) {
            list->rowCount = 0;
            return OutlineOutOfMemory;
        }
    }
    // Rows point into the buffer being laid out from here on.
    uint8_t* held = list->indexText;
    list->indexText = indexText;
    appState.letterConversion.activeLetterBase = list->font.FontAsciiBase;
    FontHandle before = OutlineList_SelectStyle(list, 1);
    BuildState b{list, 0, getTextMetrics(list->dc).height};
    uint8_t key = 1;
    bool ok = true;
    pos = 0;
    while (ok && nextSectionRecord(indexText, &pos, &r)) {
        if ((r.sectionStyle ^ key) & SectionKeyMask) {
            OutlineList_SelectStyle(list, r.sectionStyle);
            b.height = getTextMetrics(list->dc).height;
        }
        key = r.sectionStyle;
        ok = layoutRecord(b, r);
    }
    if (before) selectFont(list->dc, before);
    appState.letterConversion.activeLetterBase = LetterBaseLatin;
    std::memset(&list->rows[b.row], 0, sizeof(OutlineRow));
    list->rowCount = uint16_t(b.row);
    if (!ok) {
        // The rows made so far end the array; the list goes on with the buffer it held.
        list->indexText = held;
        if (held != indexText) {
            list->rowCount = 0;
            list->rows[0] = OutlineRow{};
            list->shownRows = 0;
        }
        return OutlineOutOfMemory;
    }
    OutlineList_ComputeMaxTop(list);
    return 0;
}

int32_t OutlineList_Resize(OutlineList* list, int width, int height) {
    if (!list) return -1;
    list->area.width = width;
    list->area.height = height;
    return OutlineList_Build(list, list->indexText, 0);
}

FontHandle OutlineList_SelectStyle(OutlineList* list, int flags) {
    uint8_t key = uint8_t(flags & SectionKeyMask);
    FontHandle font = fontCacheFind(list->fontCache, key);
    if (!font) font = fontCacheAdd(&list->fontCache, key, makeStyleFont(list->font, key));
    if (!font) return nullptr;
    if (flags & SelectWithColour)
        setTextColour(list->dc, (key & (StyleLarge | StyleBold)) == (StyleLarge | StyleBold)
                                    ? pageColours().heading
                                    : pageColours().indexText);
    return selectFont(list->dc, font);
}

void OutlineList_ComputeMaxTop(OutlineList* list) {
    if (!list->rows || list->shownRows == 0 || list->rowCount == 0) return;
    int room = int16_t(list->area.height);
    int fitting = 0;
    for (int i = list->rowCount - 1; i >= 0; --i) {
        const OutlineRow& row = list->rows[i];
        if (row.height > room) break;
        if (row.sectionStyle & SectionShown) {
            room -= row.height;
            ++fitting;
        }
    }
    list->maxTopRow = uint16_t(list->shownRows - fitting);
}

void OutlineList_Destroy(OutlineList* list, int freeRecord) {
    if (!list) return;
    plainFree(list->indexText);
    list->indexText = nullptr;
    plainFree(list->rows);
    list->rows = nullptr;
    if (list->dc) selectFont(list->dc, stockFont());
    fontCacheFree(&list->fontCache);
    if (freeRecord) plainFree(list);
}
