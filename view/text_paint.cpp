// Painting the laid-out lines, the search highlight, scrolling and link hit-testing.
#include <cstring>

#include "content/lesson_records.h"
#include "view/letters.h"
#include "view/page_colours.h"
#include "view/text_view.h"

namespace {
bool isControl(const LineRecord& line) {
    return isControlStyle(line.style);
}
bool hiddenLink(const TextView* view, const LineRecord& line) {
    return !view->linkHits ||
           (line.linkNumber == kReturnLink && !(view->viewFlags & ReturnLinkShown));
}

// The first line to draw and where: the walk that paint and highlight share.
struct PageStart {
    int index;
    int y;
    int available;
};

PageStart findPageStart(const TextView* view) {
    int sum = 0, i = 0;
    while (view->lines[i].style != 0 && sum < view->topLine)
        sum += lineUnits(view->lines[i++]);
    PageStart start{i, view->area.top, view->area.height};
    if (sum > view->topLine && i > 0) {
        // The position is the empty line after a record: the page starts one line lower.
        start.y += view->lines[i - 1].height;
        start.available -= view->lines[i - 1].height;
    }
    return start;
}

int wordLength(const uint8_t* p) {
    int n = 0;
    while (p[n] && p[n] != ' ')
        ++n;
    return n;
}

int spacesAt(const uint8_t* p) {
    int n = 0;
    while (p[n] == ' ')
        ++n;
    return n;
}

// The label word of a labelled Hebrew line: stored after the body, up to the record's end.
const uint8_t* hebrewLabel(const uint8_t* text, const LineRecord& line, int* length) {
    const uint8_t* p = text + line.start + line.length;
    p += wordLength(p);
    p += spacesAt(p);
    *length = int(std::strlen(reinterpret_cast<const char*>(p)));
    return p;
}

// Whether the highlight meets the line's body or, on a labelled Hebrew line, its label (stored
// above the body), so that a hit on the label word is drawn as well.
bool meetsHighlight(const TextView* view, const LineRecord& line) {
    if (view->highlightEnd >= line.start && view->highlightStart <= line.start + line.length)
        return true;
    if (line.labelWidth == 0 || !(line.style & StyleHebrew)) return false;
    int n = 0;
    int label = int(hebrewLabel(view->text, line, &n) - view->text);
    return view->highlightEnd > label && view->highlightStart < label + n;
}

// Width of the first `count` bytes, converted in stored order.
int widthOf(DcHandle dc, const uint8_t* bytes, int count) {
    int width = kUnlimitedWidth;
    MeasureFit(dc, bytes, &width, &count);
    return width;
}

// Where a line's label word and body stand. A Hebrew label is drawn at the right end of its
// column, any other at the left; only the bytes of the label that fit the column are drawn.
struct LinePieces {
    const uint8_t* label; // null on a line without a label
    int labelLength;      // bytes of the label word
    int labelFit;         // of them, the bytes that fit the label column
    int labelX;           // left edge of the cell the fitting bytes are drawn in, window pixels
    int labelWidth;       // the cell's width: the fitting bytes' width
    const uint8_t* body;  // the line's `length` bytes, drawn at its x
};

// The pieces of `line`, measured under the current letter base.
LinePieces piecesOf(const TextView* view, const LineRecord& line) {
    const uint8_t* text = view->text;
    LinePieces pieces{nullptr, 0, 0, 0, 0, text + line.start};
    if (line.labelWidth == 0) return pieces;
    bool hebrew = line.style & StyleHebrew;
    pieces.label = hebrew ? hebrewLabel(text, line, &pieces.labelLength) : text + line.start;
    if (!hebrew) pieces.labelLength = wordLength(pieces.label);
    pieces.labelFit = pieces.labelLength;
    pieces.labelWidth = line.labelWidth;
    MeasureFit(view->dc, pieces.label, &pieces.labelWidth, &pieces.labelFit);
    if (hebrew) {
        pieces.labelX = line.x + line.width + line.labelWidth - pieces.labelWidth;
    } else {
        pieces.labelX = line.x - line.labelWidth;
        const uint8_t* after = pieces.label + pieces.labelLength;
        pieces.body = after + spacesAt(after);
    }
    return pieces;
}

void drawTextLine(TextView* view, const LineRecord& line, int y) {
    appState.letterConversion.activeLetterBase =
        letterBaseFor(line.style, view->font.FontAsciiBase);
    LinePieces pieces = piecesOf(view, line);
    if (pieces.label)
        DrawTextCell(view->dc, pieces.label, pieces.labelFit, pieces.labelX, y, pieces.labelWidth,
                     line.height);
    DrawTextCell(view->dc, pieces.body, line.length, line.x, y, line.width, line.height);
    appState.letterConversion.activeLetterBase = LetterBaseLatin;
}

// A link's frame: `height` pixels of its lines from `top`, widened by a margin on every side.
// A tap inside it, edges included, hits the link.
constexpr int kLinkMarginSide = 10, kLinkMarginAbove = 2, kLinkMarginBelow = 3;
constexpr int kLinkCorner = 6; // width and height of the frame's corner ellipse
Rect linkFrame(const LineRecord& line, int top, int height) {
    return Rect{line.x - kLinkMarginSide, top - kLinkMarginAbove,
                line.x + line.width + kLinkMarginSide, top + height + kLinkMarginBelow};
}

// Walks the page from `page` down, line by line as far as they fit whole, and hands each
// line that shows to `drawLine`(index, top, height still available). A hidden link line takes
// no room. Returns the line units walked.
template <typename DrawLine> int walkPage(TextView* view, PageStart page, DrawLine drawLine) {
    int y = page.y, available = page.available, units = 0;
    for (int i = page.index; view->lines[i].style != 0; ++i) {
        const LineRecord& line = view->lines[i];
        if (available < line.height) break;
        if (isControl(line) && line.linkNumber != 0 && hiddenLink(view, line)) continue;
        drawLine(i, y, available);
        int n = lineUnits(line);
        available -= n * line.height;
        y += n * line.height;
        units += n;
    }
    return units;
}

// What a paint carries from line to line.
struct PaintPass {
    TextView* view;
    int selected;       // style whose font was selected last
    int hits = 0;       // link hits stored so far
    int lastFrame = -1; // link number of the last frame drawn
};

void drawRule(DcHandle dc, const LineRecord& line, int y) {
    Colour ink = pageColours().body;
    BrushHandle own = ink == 0 ? nullptr : createSolidBrush(ink);
    BrushHandle old = selectBrush(dc, own ? own : getStockBrush(BlackBrush));
    int mid = y + line.height / 2;
    drawRectangle(dc, Rect{line.x, mid, line.x + line.width, mid + 1});
    selectBrush(dc, old);
    if (own) deleteBrush(own);
}

// Height of the run of lines of one link from line i on that fits in `available` pixels.
int linkRunHeight(const TextView* view, int i, int available) {
    const LineRecord* lines = view->lines;
    int j = i, h = lines[i].height;
    while (lines[j + 1].style != 0 && lines[j + 1].linkNumber == lines[i].linkNumber &&
           lines[j + 1].height <= available) {
        available -= lines[j].height;
        h += lines[++j].height;
    }
    return h;
}

// A link's caption line i at y: its hit is stored, the link's run of lines gets one frame, and
// the caption is drawn in small type.
void paintLinkLine(PaintPass& pass, int i, int y, int available) {
    TextView* view = pass.view;
    LineRecord& line = view->lines[i];
    view->linkHits[pass.hits] = {&line, uint16_t(y)};
    view->linkHits[++pass.hits].line = nullptr;
    if (line.linkNumber != pass.lastFrame) {
        BrushHandle old = selectBrush(view->dc, getStockBrush(HollowBrush));
        // The frame in the text's colour when that is not the black the context draws with.
        Colour ink = pageColours().body;
        PenHandle pen = ink == 0 ? nullptr : createSolidPen(1, ink);
        PenHandle oldPen = pen ? selectPen(view->dc, pen) : nullptr;
        drawRoundRect(view->dc, linkFrame(line, y, linkRunHeight(view, i, available)), kLinkCorner,
                      kLinkCorner);
        if (pen) {
            selectPen(view->dc, oldPen);
            deletePen(pen);
        }
        selectBrush(view->dc, old);
        pass.lastFrame = line.linkNumber;
    }
    pass.selected = (line.style & StyleHebrew) | StyleSmall;
    TextView_SelectStyle(view, pass.selected | SelectWithColour);
    LineRecord caption = line;
    caption.style = uint8_t(pass.selected);
    drawTextLine(view, caption, y);
}

void paintLine(PaintPass& pass, int i, int y, int available) {
    const LineRecord& line = pass.view->lines[i];
    if (isControl(line) && line.linkNumber == 0) {
        drawRule(pass.view->dc, line, y);
    } else if (isControl(line)) {
        paintLinkLine(pass, i, y, available);
    } else {
        if ((line.style ^ pass.selected) & StyleKeyMask) {
            pass.selected = line.style;
            TextView_SelectStyle(pass.view, pass.selected | SelectWithColour);
        }
        drawTextLine(pass.view, line, y);
    }
}

// Marks the highlighted bytes of text line `line` at y, in the line's font.
void highlightLine(TextView* view, const LineRecord& line, int y) {
    const uint8_t* text = view->text;
    appState.letterConversion.activeLetterBase =
        letterBaseFor(line.style, view->font.FontAsciiBase);
    LinePieces pieces = piecesOf(view, line);
    if (pieces.label && (line.style & StyleHebrew)) {
        // A Hebrew label is marked whole, as far as it fits its column.
        DrawTextColored(view->dc, pieces.label, pieces.labelFit, pieces.labelX, y,
                        pieces.labelWidth, line.height, pageColours().highlightText,
                        pageColours().highlightBack);
    } else if (pieces.label) {
        DrawHighlightRun(view, text, pieces.label, pieces.labelLength, pieces.labelX, y);
    }
    DrawHighlightRun(view, text, pieces.body, line.length, line.x, y);
    appState.letterConversion.activeLetterBase = LetterBaseLatin;
}
} // namespace

void DrawTextCell(DcHandle dc, const uint8_t* bytes, int count, int x, int y, int width,
                  int height) {
    char16_t* units = ConvertLetters(bytes, nullptr, &appState.letterConversion, count);
    if (!units) return;
    int n = 0;
    while (n < count && units[n])
        ++n;
    drawTextCell(dc, units, n, Rect{x, y, x + width, y + height});
}

void DrawTextColored(DcHandle dc, const uint8_t* bytes, int count, int x, int y, int width,
                     int height, Colour textColour, Colour backColour) {
    Colour oldBack = setBackgroundColour(dc, backColour);
    Colour oldText = setTextColour(dc, textColour);
    DrawTextCell(dc, bytes, count, x, y, width, height);
    setBackgroundColour(dc, oldBack);
    setTextColour(dc, oldText);
}

void FillWithStockBrush(DcHandle dc, int left, int top, int width, int height,
                        StockBrush stockBrush) {
    fillRect(dc, Rect{left, top, left + width, top + height}, getStockBrush(stockBrush));
}

int TextView_Paint(TextView* view, int erase) {
    if (!view || !view->text || !view->lines) return ViewNoView;
    if (view->topLine > view->totalLines) view->topLine = view->maxTopLine;
    PageStart page = findPageStart(view);
    Colour oldColour = getTextColour(view->dc);
    const LineRecord& first = view->lines[page.index];
    PaintPass pass{view, isControl(first) || first.style == 0 ? kBodyStyle : first.style};
    FontHandle oldFont = TextView_SelectStyle(view, pass.selected | SelectWithColour);
    // Text cells are filled with the background colour: the paper's, while it is not white.
    Colour paper = pageColours().paper;
    Colour oldBack = paper == 0xFFFFFF ? paper : setBackgroundColour(view->dc, paper);
    if (erase)
        fillPaper(view->dc, view->area.left, view->area.top, view->area.width, view->area.height);
    if (view->linkHits) view->linkHits[0].line = nullptr;
    view->linesPainted = walkPage(
        view, page, [&pass](int i, int y, int available) { paintLine(pass, i, y, available); });
    if (oldFont) selectFont(view->dc, oldFont);
    setTextColour(view->dc, oldColour);
    if (paper != 0xFFFFFF) setBackgroundColour(view->dc, oldBack);
    int result = view->highlightStart || view->highlightEnd ? TextView_PaintHighlight(view) : 0;
    if (view->painted) view->painted(view);
    return result;
}

void DrawHighlightRun(TextView* view, const uint8_t* textStart, const uint8_t* piece, int count,
                      int x, int y) {
    const uint8_t* s = textStart + view->highlightStart;
    const uint8_t* e = textStart + view->highlightEnd;
    long d = s - piece;
    int g = 0;
    if (d >= 0) {
        count -= int(d);
        if (count <= 0) return;
        g = widthOf(view->dc, piece, int(d));
        piece = s;
    }
    long n = e - piece < count ? e - piece : count;
    if (n < 1) return;
    int w = kUnlimitedWidth, fit = int(n);
    MeasureFit(view->dc, piece, &w, &fit);
    int h = getTextMetrics(view->dc).height;
    DrawTextColored(view->dc, piece, fit, x + g, y, w, h, pageColours().highlightText,
                    pageColours().highlightBack);
}

int TextView_PaintHighlight(TextView* view) {
    if (!view || !view->text || !view->lines) return ViewNoView;
    FontHandle oldFont = nullptr;
    walkPage(view, findPageStart(view), [view, &oldFont](int i, int y, int) {
        const LineRecord& line = view->lines[i];
        if (isControl(line) || !meetsHighlight(view, line)) return;
        FontHandle old = TextView_SelectStyle(view, line.style);
        if (!oldFont) oldFont = old;
        highlightLine(view, line, y);
    });
    if (oldFont) selectFont(view->dc, oldFont);
    return 0;
}

int TextView_ScrollBy(TextView* view, int delta, int repaint, int bounded) {
    if (!view) return ViewNoView;
    int c = view->topLine;
    int t = c + delta;
    if (t < 0) {
        t = 0;
    } else if (bounded || t > view->totalLines) {
        if (t >= c && c >= view->maxTopLine) return 1;
        if (t > view->totalLines) t = view->maxTopLine;
    }
    if (repaint == 1 && t == c) return 1;
    bool moved = t != c;
    if (moved) view->topLine = uint16_t(t);
    if (repaint) return TextView_Paint(view, 1);
    return moved ? 3 : 1;
}

int TextView_HitTestLink(TextView* view, int x, int y) {
    if (!view || !view->linkHits) return 0;
    for (const LinkHit* hit = view->linkHits; hit->line; ++hit) {
        Rect frame = linkFrame(*hit->line, hit->y, hit->line->height);
        if (y >= frame.top && y <= frame.bottom && x >= frame.left && x <= frame.right)
            return hit->line->linkNumber;
    }
    return 0;
}
