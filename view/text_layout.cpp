// Layout of a lesson into the line table.
#include <cstring>

#include "content/lesson_records.h"
#include "platform/memory.h"
#include "view/letters.h"
#include "view/text_view.h"

TextMetrics textMetrics;

namespace {
LineRecord* allocLines(size_t records) {
    return static_cast<LineRecord*>(plainAlloc(records * sizeof(LineRecord)));
}

void deleteCachedFonts(TextView* view) {
    // Never delete a font that is still selected.
    selectFont(view->dc, stockFont());
    for (FontCacheEntry* e = view->fontCache; e; e = e->next) {
        deleteFont(e->font);
        e->font = nullptr;
    }
}

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
    if (initialCapacity > 0 && initialCapacity <= kMaxLineCapacity) {
        view->lines = allocLines(size_t(initialCapacity) + 1);
        if (view->lines) {
            std::memset(view->lines, 0, sizeof(LineRecord));
            view->lineCapacity = uint16_t(initialCapacity);
        }
    }
    return view;
}

FontHandle CreateStyleFont(TextView* view, int key) {
    int size = view->font.FontSize;
    int height = size;
    if (key & StyleLarge) {
        height = size == 0 ? 20 : size * 5 / 4;
    } else if (key & StyleSmall) {
        height = size == 0 ? 14 : size * 6 / 8;
    }
    FontDescription d{};
    d.height = height;
    d.weight = (key & StyleBold) ? 700 : 400;
    std::memcpy(d.face, view->font.FontName, sizeof d.face);
    d.face[31] = 0;
    return createFont(d);
}

FontHandle TextView_SelectStyle(TextView* view, int flags) {
    uint8_t key = uint8_t(flags & StyleKeyMask);
    FontCacheEntry* entry = view->fontCache;
    while (entry && !(entry->styleKey == key && entry->font))
        entry = entry->next;
    if (!entry) {
        FontHandle font = CreateStyleFont(view, key);
        entry = font ? static_cast<FontCacheEntry*>(plainAlloc(sizeof(FontCacheEntry))) : nullptr;
        if (!entry) {
            deleteFont(font);
            return nullptr;
        }
        *entry = {view->fontCache, font, key};
        view->fontCache = entry;
    }
    if (flags & SelectWithColour) {
        Colour colour = (key & (StyleLarge | StyleBold)) == (StyleLarge | StyleBold) ? ColourHeading
                        : (key & StyleSmall)                                         ? ColourSmall
                                                                                     : ColourBody;
        setTextColour(view->dc, colour);
    }
    return selectFont(view->dc, entry->font);
}

void MeasureFit(DcHandle dc, const uint8_t* bytes, int* maxWidth, int* count) {
    // The bytes are measured through the conversion's table of single bytes (Reverse plays no
    // part in measuring), so only the bytes that fit are looked at.
    int base = letterConversion.activeLetterBase != 0 ? letterConversion.activeLetterBase
                                                      : appState.fontSpec.FontAsciiBase;
    int width = 0;
    *count = textFitBytes(dc, bytes, *count, LetterMap(base), *maxWidth, &width);
    *maxWidth = width;
}

int GrowLineTable(TextView* view, int index) {
    int capacity = view->lineCapacity + 128;
    LineRecord* grown = capacity <= kMaxLineCapacity ? allocLines(size_t(capacity) + 1) : nullptr;
    if (!grown) {
        std::memset(&view->lines[index], 0, sizeof(LineRecord));
        return ViewOutOfMemory;
    }
    std::memcpy(grown, view->lines, size_t(view->lineCapacity) * sizeof(LineRecord));
    plainFree(view->lines);
    view->lines = grown;
    view->lineCapacity = uint16_t(capacity);
    return 0;
}

void TextView_ComputeMaxTop(TextView* view) {
    if (!view->lines || view->totalLines == 0 || view->lineCount == 0) return;
    int remaining = int16_t(view->area.height);
    int units = 0;
    for (int i = view->lineCount - 1; i >= 0; --i) {
        const LineRecord& line = view->lines[i];
        if (line.height > remaining) break;
        remaining -= line.height * LineUnits(line);
        units += LineUnits(line);
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
    int count = 0;      // LineRecords made
    int totalLines = 0; // empty lines after records, so far
    int linkLines = 0;
    int indent = 0; // running indent I
    int height = 0; // current line height H
    int style = 1;  // current style
};

void selectForLayout(Layout& l, int style, bool& ok) {
    if (!TextView_SelectStyle(l.view, style)) {
        ok = false;
        return;
    }
    textMetrics = getTextMetrics(l.view->dc);
    l.height = textMetrics.height;
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

// Breaks one record's text (`bytes`, n long, in reading order) into lines; `stored` is the
// offset in the lesson of the text's first stored byte. Returns false when memory ran out.
bool breakLines(Layout& l, uint8_t recordStyle, uint32_t stored, const uint8_t* bytes, int n,
                int style, int label, uint16_t linkNumber) {
    TextView* view = l.view;
    bool hebrew = style & StyleHebrew;
    if (l.indent >= view->area.width) l.indent = 0;
    int p = 0;
    while (true) {
        while (p < n && isSpace(bytes[p]))
            ++p;
        if (p >= n) return true;
        if (l.count >= view->lineCapacity && GrowLineTable(view, l.count) != 0) return false;
        int available = view->area.width - l.indent;
        int skip = 0;
        if (label != 0) {
            while (p + skip < n && !isSpace(bytes[p + skip]))
                ++skip;
            while (p + skip < n && isSpace(bytes[p + skip]))
                ++skip;
            available = available - label < 0 ? 0 : available - label;
        }
        const uint8_t* from = bytes + p + skip;
        int left = n - p - skip;
        int fit = left;
        int width = available;
        letterConversion.activeLetterBase = LetterBaseFor(style, view->font.FontAsciiBase);
        MeasureFit(view->dc, from, &width, &fit);
        if (fit < left && !isSpace(from[fit])) {
            int k = fit - 1;
            while (k >= 1 && !isSpace(from[k]) && from[k] != '-')
                --k;
            if (k >= 1) {
                fit = from[k] == '-' ? k + 1 : k;
                width = 1 << 30;
                MeasureFit(view->dc, from, &width, &fit);
            }
        }
        if (fit == 0 && left > 0) {
            // Not one byte fits: take one anyway, so the layout always ends.
            fit = 1;
            width = 1 << 30;
            MeasureFit(view->dc, from, &width, &fit);
        }
        letterConversion.activeLetterBase = LetterBaseLatin;

        LineRecord& line = view->lines[l.count];
        line.start =
            uint16_t(hebrew ? stored + uint32_t(n - p - skip - fit) : stored + uint32_t(p));
        line.length = uint16_t(fit);
        line.width = uint16_t(width);
        line.height = uint16_t(l.height);
        line.labelWidth = uint16_t(label);
        line.linkNumber = linkNumber;
        int used = l.indent + label;
        line.x = uint16_t(alignedX(view->area, style, l.indent, used, width));
        if (skip + fit == n - p) {
            line.style = recordStyle;
            if (style & StyleEmptyAfter) ++l.totalLines;
        } else {
            line.style = uint8_t(recordStyle & 0x7F);
        }
        ++l.count;
        if (linkNumber) ++l.linkLines;
        l.indent = used;
        label = 0;
        p += skip + fit;
    }
}
} // namespace

namespace {
// A layout that failed part-way: no line of it is kept, and no link hit may point into the
// table it overwrote, so that neither a paint nor a tap reads stale lines.
int dropLayout(TextView* view) {
    if (view->lines) view->lines[0] = LineRecord{};
    view->lineCount = 0;
    view->totalLines = view->maxTopLine = 0;
    if (view->linkHits) view->linkHits[0].line = nullptr;
    return ViewOutOfMemory;
}
} // namespace

int TextView_SetText(TextView* view, uint8_t* text, int releaseOld) {
    if (!view) return ViewNoView;
    if (!text) {
        view->highlightStart = view->highlightEnd = 0;
        view->totalLines = view->maxTopLine = 0;
        if (releaseOld) {
            plainFree(view->text);
            view->text = nullptr;
        }
        return ViewNoText;
    }
    // A malformed text changes nothing: the view goes on showing what it had.
    if (!LessonIsValid(text)) return ViewMalformed;
    view->highlightStart = view->highlightEnd = 0;
    view->totalLines = view->maxTopLine = 0;
    if (!view->lines || view->lineCapacity == 0) {
        plainFree(view->lines);
        view->lines = allocLines(129);
        if (!view->lines) {
            view->lineCapacity = 0;
            return dropLayout(view);
        }
        view->lineCapacity = 128;
    }
    view->lines[0] = LineRecord{};

    FontHandle previous = TextView_SelectStyle(view, 1);
    if (!previous) return dropLayout(view);
    textMetrics = getTextMetrics(view->dc);
    Layout l{view};
    l.height = textMetrics.height;
    bool ok = true;
    int previousLayout = 0;
    uint32_t pos = 0;
    LessonRecord r;
    while (ok && NextLessonRecord(text, &pos, &r)) {
        int layout = r.layout;
        int label;
        if (labelCode(r.layout) != 0 && r.textLength > 0 && text[r.textOffset] == ' ' &&
            l.count > 0) {
            l.indent += marginOf(r.layout) - marginOf(uint8_t(previousLayout));
            label = 0;
        } else {
            l.indent = layout;
            label = labelCode(r.layout);
        }
        previousLayout = layout;
        int style = r.style;
        const uint8_t* bytes = text + r.textOffset;
        int n = int(r.textLength);
        uint16_t link = 0;
        if (r.kind == RecordKind::Nop) continue;
        if (r.kind == RecordKind::Text) {
            if ((r.style ^ l.style) & StyleKeyMask) selectForLayout(l, r.style, ok);
        } else if (r.kind == RecordKind::Rule) {
            if (l.count >= view->lineCapacity && GrowLineTable(view, l.count) != 0) {
                ok = false;
                break;
            }
            int length = RuleLength(r.layout, view->area.width);
            int x = alignedX(view->area, r.style, 0, 0, length);
            view->lines[l.count++] = {uint16_t(r.textOffset), 0, uint16_t(x), 0, uint16_t(length),
                                      uint16_t(l.height),     0, r.style};
            if (r.style & StyleEmptyAfter) ++l.totalLines;
            continue;
        } else {
            l.indent = 0;
            label = 0;
            if ((l.style & StyleKeyMask) != StyleSmall)
                selectForLayout(l, (r.style & StyleHebrew) | StyleSmall, ok);
            style = (r.style & 0xFA) | StyleSmall;
            bytes = text + r.captionOffset;
            n = int(r.captionLength);
            link = r.linkNumber;
        }
        if (!ok) break;
        int labelWidth = 0;
        if (label != 0) {
            l.indent &= 0x3F;
            textMetrics = getTextMetrics(view->dc);
            labelWidth = ((label + 1) * textMetrics.maxCharWidth) / 2;
        }
        l.style = style;
        if (style & StyleHebrew) {
            auto* reversed = static_cast<uint8_t*>(plainAlloc(size_t(n) + 1));
            if (!reversed) {
                ok = false;
                break;
            }
            for (int i = 0; i < n; ++i)
                reversed[i] = bytes[n - 1 - i];
            reversed[n] = 0;
            ok = breakLines(l, r.style, uint32_t(bytes - text), reversed, n, style, labelWidth,
                            link);
            plainFree(reversed);
        } else {
            ok = breakLines(l, r.style, uint32_t(bytes - text), bytes, n, style, labelWidth, link);
        }
    }
    if (!ok) {
        selectFont(view->dc, previous);
        return dropLayout(view);
    }

    view->lines[l.count] = LineRecord{};
    view->lineCount = uint16_t(l.count);
    int total = l.totalLines + l.count;
    if (l.count > 0 && (view->lines[l.count - 1].style & StyleEmptyAfter)) {
        --total;
        view->lines[l.count - 1].style &= 0x7F;
    }
    view->totalLines = uint16_t(total);
    // The old text goes only now: until the new one is laid out it may be needed again.
    if (releaseOld && view->text && view->text != text) plainFree(view->text);
    view->text = text;
    TextView_ComputeMaxTop(view);
    plainFree(view->linkHits);
    view->linkHits = nullptr;
    if (l.linkLines > 0) {
        view->linkHits =
            static_cast<LinkHit*>(plainAlloc(size_t(l.linkLines + 1) * sizeof(LinkHit)));
        if (view->linkHits) view->linkHits[0].line = nullptr;
    }
    selectFont(view->dc, previous);
    return 0;
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
    deleteCachedFonts(view);
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
        units += LineUnits(line);
    }
    return 0;
}

void TextView_Destroy(TextView* view) {
    if (!view) return;
    plainFree(view->text);
    plainFree(view->lines);
    plainFree(view->linkHits);
    deleteCachedFonts(view);
    for (FontCacheEntry* e = view->fontCache; e;) {
        FontCacheEntry* next = e->next;
        plainFree(e);
        e = next;
    }
    plainFree(view);
}
