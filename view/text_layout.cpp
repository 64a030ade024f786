// Layout of a lesson into the line table.
#include <cstring>

#include "content/lesson_records.h"
#include "platform/memory.h"
#include "view/letters.h"
#include "view/record_table.h"
#include "view/text_view.h"

namespace {
bool isSpace(uint8_t b) {
    return b == ' ';
}
} // namespace

TextView* TextView_Create(DcHandle dc, const Rect* rect, const FontSpec* fontSpec,
                          int initialCapacity) {
    if (!dc) return nullptr;
    auto* view = static_cast<TextView*>(plainAlloc(sizeof(TextView)));
    if (!view) return nullptr;
    std::memset(view, 0, sizeof(TextView));
    view->dc = dc;
    if (fontSpec) view->font = *fontSpec;
    if (rect)
        view->area = {rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top};
    makeRecordTable(view->lines, view->lineCapacity, initialCapacity, kMaxLineCapacity, plainAlloc);
    return view;
}

void MeasureFit(DcHandle dc, const uint8_t* bytes, int* maxWidth, int* count) {
    // The bytes are measured through the conversion's table of single bytes (Reverse plays no
    // part in measuring), so only the bytes that fit are looked at.
    int base = appState.letterConversion.activeLetterBase != 0
                   ? appState.letterConversion.activeLetterBase
                   : appState.fontSpec.FontAsciiBase;
    int width = 0;
    *count = textFitBytes(dc, bytes, *count, letterMap(base), *maxWidth, &width);
    *maxWidth = width;
}

int GrowLineTable(TextView* view, int index) {
    return growRecordTable(view->lines, view->lineCapacity, index, kMaxLineCapacity, plainAlloc)
               ? 0
               : ViewOutOfMemory;
}

void TextView_ComputeMaxTop(TextView* view) {
    if (!view->lines || view->totalLines == 0 || view->lineCount == 0) return;
    int remaining = int16_t(view->area.height);
    int units = 0;
    for (int i = view->lineCount - 1; i >= 0; --i) {
        const LineRecord& line = view->lines[i];
        if (line.height > remaining) break;
        remaining -= line.height * lineUnits(line);
        units += lineUnits(line);
        if (remaining < 0) {
            --units;
            break;
        }
    }
    view->maxTopLine = uint16_t(view->totalLines - units);
}

namespace {
// The state of one layout pass.
struct Layout {
    TextView* view;
    uint8_t* text;      // the lesson being laid out
    int count = 0;      // LineRecords made
    int totalLines = 0; // empty lines after records, so far
    int linkLines = 0;
    int indent = 0;         // running indent I
    int height = 0;         // current line height H
    int style = kBodyStyle; // current style
    int previousLayout = 0; // layout byte of the record before
};

// One record's text as the line breaker sees it.
struct RecordText {
    const uint8_t* bytes; // in reading order (a Hebrew record's reversed copy)
    int n;
    uint32_t stored;     // offset in the lesson of the text's first stored byte
    uint8_t recordStyle; // the record's style byte, kept on its lines
    int style;           // the style its lines are laid out in
    uint16_t linkNumber; // a link's caption: its number, else 0
};

// Selects the font of `style` for the lines that follow; false when it cannot be had.
bool selectForLayout(Layout& l, int style) {
    if (!TextView_SelectStyle(l.view, style)) return false;
    l.height = getTextMetrics(l.view->dc).height;
    return true;
}

// Room in the table for one more line; false when memory ran out.
bool roomForLine(Layout& l) {
    return l.count < l.view->lineCapacity || GrowLineTable(l.view, l.count) == 0;
}

// The left edge of a line `width` pixels wide, aligned by `style` in the area, after an indent
// of `indent` pixels that with the label column comes to `used` pixels.
int alignedX(const ViewArea& area, int style, int indent, int used, int width) {
    switch (style & StyleAlignMask) {
    case StyleAlignRight:
        return area.left + area.width - used - width;
    case StyleAlignCenter:
        return area.left + indent + (area.width - used - width) / 2;
    default:
        return area.left + used;
    }
}

// The label word at the start of `bytes` (n long) and the spaces after it, in bytes.
int labelSkip(const uint8_t* bytes, int n) {
    int skip = 0;
    while (skip < n && !isSpace(bytes[skip]))
        ++skip;
    while (skip < n && isSpace(bytes[skip]))
        ++skip;
    return skip;
}

// The bytes of `from` (`left` of them) that go on one line of `available` pixels: what fits,
// pulled back after the last space or hyphen when the fit ends inside a word, and at least one
// byte so that the layout always ends. *width becomes their width.
int fitLine(DcHandle dc, const uint8_t* from, int left, int available, int* width) {
    int fit = left;
    *width = available;
    MeasureFit(dc, from, width, &fit);
    if (fit < left && !isSpace(from[fit])) {
        int k = fit - 1;
        while (k >= 1 && !isSpace(from[k]) && from[k] != '-')
            --k;
        if (k >= 1) {
            fit = from[k] == '-' ? k + 1 : k;
            *width = kUnlimitedWidth;
            MeasureFit(dc, from, width, &fit);
        }
    }
    if (fit == 0 && left > 0) {
        fit = 1;
        *width = kUnlimitedWidth;
        MeasureFit(dc, from, width, &fit);
    }
    return fit;
}

// Records the line that takes `fit` bytes (`width` pixels) after position p and a label word
// of `skip` bytes in the text `t`; `label` is the label column's width on the first line.
void recordLine(Layout& l, const RecordText& t, int p, int skip, int fit, int width, int label) {
    TextView* view = l.view;
    LineRecord& line = view->lines[l.count];
    line.start = uint16_t((t.style & StyleHebrew) ? t.stored + uint32_t(t.n - p - skip - fit)
                                                  : t.stored + uint32_t(p));
    line.length = uint16_t(fit);
    line.width = uint16_t(width);
    line.height = uint16_t(l.height);
    line.labelWidth = uint16_t(label);
    line.linkNumber = t.linkNumber;
    int used = l.indent + label;
    line.x = uint16_t(alignedX(view->area, t.style, l.indent, used, width));
    if (skip + fit == t.n - p) {
        line.style = t.recordStyle;
        if (t.style & StyleEmptyAfter) ++l.totalLines;
    } else {
        line.style = uint8_t(t.recordStyle & ~StyleEmptyAfter);
    }
    ++l.count;
    if (t.linkNumber) ++l.linkLines;
    l.indent = used;
}

// Breaks one record's text into lines, the first with a label column `label` pixels wide (0:
// none). Returns false when memory ran out.
bool breakLines(Layout& l, const RecordText& t, int label) {
    TextView* view = l.view;
    if (l.indent >= view->area.width) l.indent = 0;
    int p = 0;
    while (true) {
        while (p < t.n && isSpace(t.bytes[p]))
            ++p;
        if (p >= t.n) return true;
        if (!roomForLine(l)) return false;
        int available = view->area.width - l.indent;
        int skip = 0;
        if (label != 0) {
            skip = labelSkip(t.bytes + p, t.n - p);
            available = available - label < 0 ? 0 : available - label;
        }
        int width = 0;
        appState.letterConversion.activeLetterBase =
            letterBaseFor(t.style, view->font.FontAsciiBase);
        int fit = fitLine(view->dc, t.bytes + p + skip, t.n - p - skip, available, &width);
        appState.letterConversion.activeLetterBase = LetterBaseLatin;
        recordLine(l, t, p, skip, fit, width, label);
        label = 0;
        p += skip + fit;
    }
}

// Lays out a record's text with label code `label` (0: none): a Hebrew text is broken in
// reading order, from a reversed copy. False when memory ran out.
bool layoutText(Layout& l, RecordText t, int label) {
    int labelWidth = 0;
    if (label != 0) {
        l.indent = marginOf(uint8_t(l.indent));
        labelWidth = ((label + 1) * getTextMetrics(l.view->dc).maxCharWidth) / 2;
    }
    l.style = t.style;
    if (!(t.style & StyleHebrew)) return breakLines(l, t, labelWidth);
    auto* reversed = static_cast<uint8_t*>(plainAlloc(size_t(t.n) + 1));
    if (!reversed) return false;
    for (int i = 0; i < t.n; ++i)
        reversed[i] = t.bytes[t.n - 1 - i];
    reversed[t.n] = 0;
    t.bytes = reversed;
    bool ok = breakLines(l, t, labelWidth);
    plainFree(reversed);
    return ok;
}

// The indent and label code of record `r`. A continuation (a labelled layout whose text starts
// with a space, after the first line) goes on from the running indent, moved by the change of
// margin, without a label; any other record starts from its own layout byte.
int placeMargin(Layout& l, const LessonRecord& r) {
    int label = 0;
    if (labelCode(r.layout) != 0 && r.textLength > 0 && l.text[r.textOffset] == ' ' &&
        l.count > 0) {
        l.indent += marginOf(r.layout) - marginOf(uint8_t(l.previousLayout));
    } else {
        l.indent = r.layout;
        label = labelCode(r.layout);
    }
    l.previousLayout = r.layout;
    return label;
}

// A rule's line: its length in the current line height, aligned by its style.
bool addRule(Layout& l, const LessonRecord& r) {
    TextView* view = l.view;
    if (!roomForLine(l)) return false;
    int length = ruleLength(r.layout, view->area.width);
    int x = alignedX(view->area, r.style, 0, 0, length);
    view->lines[l.count++] = {uint16_t(r.textOffset), 0, uint16_t(x), 0, uint16_t(length),
                              uint16_t(l.height),     0, r.style};
    if (r.style & StyleEmptyAfter) ++l.totalLines;
    return true;
}

// Lays out one record; false when memory or a font ran out.
bool layoutRecord(Layout& l, const LessonRecord& r) {
    int label = placeMargin(l, r);
    if (r.kind == RecordKind::Nop) return true;
    if (r.kind == RecordKind::Rule) return addRule(l, r);
    if (r.kind == RecordKind::Text) {
        if (((r.style ^ l.style) & StyleKeyMask) && !selectForLayout(l, r.style)) return false;
        return layoutText(
            l, {l.text + r.textOffset, int(r.textLength), r.textOffset, r.style, r.style, 0},
            label);
    }
    // A link's caption: small type from the area's left edge, without a label.
    l.indent = 0;
    if ((l.style & StyleKeyMask) != StyleSmall &&
        !selectForLayout(l, (r.style & StyleHebrew) | StyleSmall))
        return false;
    int style = (r.style & ~(StyleLarge | StyleKeyBit)) | StyleSmall;
    return layoutText(l,
                      {l.text + r.captionOffset, int(r.captionLength), r.captionOffset, r.style,
                       style, r.linkNumber},
                      0);
}

// A layout that failed part-way: no line of it is kept, and no link hit may point into the
// table it overwrote, so that neither a paint nor a tap reads stale lines.
int dropLayout(TextView* view) {
    if (view->lines) view->lines[0] = LineRecord{};
    view->lineCount = 0;
    view->totalLines = view->maxTopLine = 0;
    if (view->linkHits) view->linkHits[0].line = nullptr;
    return ViewOutOfMemory;
}

// A table with room for records; false when memory is short.
bool ensureLineTable(TextView* view) {
    if (view->lines && view->lineCapacity != 0) return true;
    plainFree(view->lines);
    view->lines = nullptr;
    view->lineCapacity = 0;
    makeRecordTable(view->lines, view->lineCapacity, kRecordTableStep, kMaxLineCapacity,
                    plainAlloc);
    return view->lines != nullptr;
}

// Room for the link hits of `linkLines` link lines (none without links; null when memory is
// short, which hides the links).
void makeLinkHits(TextView* view, int linkLines) {
    plainFree(view->linkHits);
    view->linkHits = nullptr;
    if (linkLines == 0) return;
    view->linkHits = static_cast<LinkHit*>(plainAlloc(size_t(linkLines + 1) * sizeof(LinkHit)));
    if (view->linkHits) view->linkHits[0].line = nullptr;
}

// Ends the table after the pass's lines and counts the lesson's line units (its last line has
// no empty line after it); the view takes over the pass's text, releasing the old one with
// `releaseOld`.
void finishLayout(const Layout& l, int releaseOld) {
    TextView* view = l.view;
    view->lines[l.count] = LineRecord{};
    view->lineCount = uint16_t(l.count);
    int total = l.totalLines + l.count;
    if (l.count > 0 && (view->lines[l.count - 1].style & StyleEmptyAfter)) {
        --total;
        view->lines[l.count - 1].style &= uint8_t(~StyleEmptyAfter);
    }
    view->totalLines = uint16_t(total);
    // The old text goes only now: until the new one is laid out it may be needed again.
    if (releaseOld && view->text && view->text != l.text) plainFree(view->text);
    view->text = l.text;
    TextView_ComputeMaxTop(view);
    makeLinkHits(view, l.linkLines);
}

void clearHighlightAndTotals(TextView* view) {
    view->highlightStart = view->highlightEnd = 0;
    view->totalLines = view->maxTopLine = 0;
}
} // namespace

int TextView_SetText(TextView* view, uint8_t* text, int releaseOld) {
    if (!view) return ViewNoView;
    if (!text) {
        clearHighlightAndTotals(view);
        if (releaseOld) {
            plainFree(view->text);
            view->text = nullptr;
        }
        return ViewNoText;
    }
    // A malformed text changes nothing: the view goes on showing what it had.
    if (!lessonIsValid(text)) return ViewMalformed;
    clearHighlightAndTotals(view);
    if (!ensureLineTable(view)) return dropLayout(view);
    view->lines[0] = LineRecord{};

    FontHandle previous = TextView_SelectStyle(view, kBodyStyle);
    if (!previous) return dropLayout(view);
    Layout l{view, text};
    l.height = getTextMetrics(view->dc).height;
    bool ok = true;
    uint32_t pos = 0;
    LessonRecord r;
    while (ok && nextLessonRecord(text, &pos, &r))
        ok = layoutRecord(l, r);
    if (ok) finishLayout(l, releaseOld);
    selectFont(view->dc, previous);
    return ok ? 0 : dropLayout(view);
}

int TextView_Resize(TextView* view, int width, int height) {
    if (!view) return ViewNoView;
    if (width <= 0 || height <= 0) return ViewBadSize;
    view->area.width = width;
    view->area.height = height;
    return TextView_SetText(view, view->text, 0);
}

int TextView_SetFont(TextView* view, const FontSpec* fontSpec) {
    if (!view) return ViewNoView;
    deleteStyleFonts(view);
    if (!fontSpec) return 0;
    std::memcpy(view->font.FontName, fontSpec->FontName, sizeof view->font.FontName);
    view->font.FontSize = fontSpec->FontSize;
    view->font.FontAsciiBase = fontSpec->FontAsciiBase;
    for (FontCacheEntry* e = view->fontCache; e; e = e->next)
        e->font = CreateStyleFont(view, e->styleKey);
    if (TextView_SetText(view, view->text, 0) != 0) return 1;
    return TextView_Paint(view, 1);
}

int TextView_ShowOffset(TextView* view, int offset) {
    if (!view || !view->lines) return 0;
    int units = 0;
    for (int i = 0; i < view->lineCount; ++i) {
        const LineRecord& line = view->lines[i];
        if (line.start <= offset && offset <= line.start + line.length) {
            view->topLine = uint16_t(units < view->maxTopLine ? units : view->maxTopLine);
            return 1;
        }
        units += lineUnits(line);
    }
    return 0;
}

int TextView_TopOffset(const TextView* view) {
    if (!view || !view->lines || view->lineCount == 0) return -1;
    int units = 0, i = 0;
    while (i < view->lineCount - 1 && units + lineUnits(view->lines[i]) <= view->topLine)
        units += lineUnits(view->lines[i++]);
    return view->lines[i].start;
}

int TextView_ShowLineOf(TextView* view, int offset) {
    if (!view || !view->lines) return 0;
    int units = 0;
    for (int i = 0; i < view->lineCount; ++i) {
        const LineRecord& line = view->lines[i];
        if (line.start == offset || (line.start < offset && offset < line.start + line.length)) {
            view->topLine = uint16_t(units < view->maxTopLine ? units : view->maxTopLine);
            return 1;
        }
        units += lineUnits(line);
    }
    return TextView_ShowOffset(view, offset);
}

void TextView_Destroy(TextView* view) {
    if (!view) return;
    plainFree(view->text);
    plainFree(view->lines);
    plainFree(view->linkHits);
    freeStyleFonts(view);
    plainFree(view);
}
