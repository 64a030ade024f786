#include "view/title_banner.h"

#include "content/lesson_records.h"
#include "view/letters.h"
#include "view/page_colours.h"

void GetLessonTitles(const uint8_t* lessonText, TitleInfo* title, TitleInfo* subtitle) {
    if (title) *title = TitleInfo{};
    if (subtitle) *subtitle = TitleInfo{};
    if (!lessonText) return;
    uint32_t pos = 0;
    LessonRecord r;
    if (!nextLessonRecord(lessonText, &pos, &r)) return;
    if (r.style == TitleLatinStyle || r.style == TitleHebrewStyle) {
        if (title) *title = {int32_t(r.textLength), 0, r.style, lessonText + r.textOffset};
        if (!nextLessonRecord(lessonText, &pos, &r)) return;
    }
    if ((r.style == SubtitleLatinStyle || r.style == SubtitleHebrewStyle) && subtitle) {
        *subtitle = {int32_t(r.textLength), 0, r.style, lessonText + r.textOffset};
    }
}

void DrawNestedFrames(DcHandle dc, Rect* rect, Colour colour, int count) {
    PenHandle pen = createSolidPen(1, colour);
    PenHandle old = pen ? selectPen(dc, pen) : nullptr;
    for (int i = 0; i < count; ++i) {
        if (pen) drawRectangle(dc, *rect);
        *rect = {rect->left + 1, rect->top + 1, rect->right - 1, rect->bottom - 1};
    }
    if (old) selectPen(dc, old);
    deletePen(pen);
}

namespace {
// Measures each present title against the area's width (length becomes the bytes that fit,
// width their width) and returns the widest width.
int measureTitles(TextView* view, TitleInfo (&titles)[2]) {
    int widest = 0;
    for (TitleInfo& t : titles) {
        if (!t.text) continue;
        t.width = view->area.width;
        int count = t.length;
        appState.letterConversion.activeLetterBase =
            letterBaseFor(t.style, view->font.FontAsciiBase);
        MeasureFit(view->dc, t.text, &t.width, &count);
        appState.letterConversion.activeLetterBase = LetterBaseLatin;
        t.length = count;
        if (t.width > widest) widest = t.width;
    }
    return widest;
}

// The banner's box for `rows` lines of `height` pixels and titles up to `widest` pixels wide:
// centred at the bottom of the area, framed red, white and blue and filled yellow. Returns the
// inside of the frames.
Rect drawBannerBox(TextView* view, int rows, int height, int widest) {
    int w = widest + 2 * (height + 4);
    if (w > view->area.width) w = view->area.width;
    int left = view->area.left + (view->area.width - w) / 2;
    int bottom = view->area.top + view->area.height;
    Rect rect{left, bottom - rows * height - 12, left + w, bottom - 2};
    const PageColours& c = pageColours();
    DrawNestedFrames(view->dc, &rect, c.bannerFrames[0], 2);
    DrawNestedFrames(view->dc, &rect, c.bannerFrames[1], 1);
    DrawNestedFrames(view->dc, &rect, c.bannerFrames[2], 2);
    if (BrushHandle yellow = createSolidBrush(c.bannerBack)) {
        fillRect(view->dc, rect, yellow);
        deleteBrush(yellow);
    }
    return rect;
}
} // namespace

void DrawTitleBanner(TextView* view) {
    if (!view) return;
    TitleInfo titles[2];
    GetLessonTitles(view->text, &titles[0], &titles[1]);
    if (titles[0].length == 0 && titles[1].length == 0) return;
    FontHandle oldFont = TextView_SelectStyle(view, StyleSmall);
    int rows = titles[0].text && titles[1].text ? 2 : 1;
    int h = getTextMetrics(view->dc).height;
    Rect rect = drawBannerBox(view, rows, h, measureTitles(view, titles));
    int top = rect.top;
    for (const TitleInfo& t : titles) {
        if (!t.text) continue;
        int x = rect.left + ((rect.right - rect.left) - t.width) / 2;
        appState.letterConversion.activeLetterBase =
            letterBaseFor(t.style, view->font.FontAsciiBase);
        DrawTextColored(view->dc, t.text, t.length, x, top, t.width, h, pageColours().bannerText,
                        pageColours().bannerBack);
        top += h;
    }
    appState.letterConversion.activeLetterBase = LetterBaseLatin;
    if (oldFont) selectFont(view->dc, oldFont);
}
