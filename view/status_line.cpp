#include "view/status_line.h"

#include <cstdio>
#include <cstring>

#include "content/book_constants.h"
#include "view/letters.h"
#include "view/page_colours.h"
#include "view/title_banner.h"

namespace {
constexpr int kPadding = 2; // pixels above and below the text, and at either end
} // namespace

int statusLineHeight(TextView* view) {
    if (!appState.statusLine || !view) return 0;
    FontHandle old = TextView_SelectStyle(view, StyleSmall);
    int height = getTextMetrics(view->dc).height;
    if (old) selectFont(view->dc, old);
    return height + 2 * kPadding;
}

int lessonProgress(const TextView* view) {
    if (!view || view->maxTopLine == 0) return 100;
    int top = view->topLine < view->maxTopLine ? view->topLine : view->maxTopLine;
    return top * 100 / view->maxTopLine;
}

void statusLineNumbers(const TextView* view, int lesson, char* number, char* percent) {
    std::snprintf(number, 12, "%d/%d", lesson, int(kLessonCount));
    std::snprintf(percent, 12, "%d%%", lessonProgress(view));
}

void drawStatusLine(TextView* view) {
    if (!view || !appState.statusLine) return;
    const ViewArea& a = view->area;
    int height = statusLineHeight(view);
    int top = a.top + a.height;
    const PageColours& colours = pageColours();
    fillPaper(view->dc, a.left, top, a.width, height);
    FontHandle old = TextView_SelectStyle(view, int(StyleSmall) | SelectWithColour);
    Colour oldBack = setBackgroundColour(view->dc, colours.paper);
    int h = getTextMetrics(view->dc).height, y = top + kPadding;
    char number[12], percent[12];
    statusLineNumbers(view, appState.Lesson, number, percent);
    // The number at the right, where a Hebrew line starts; the percentage at the left; the
    // title between them, right-aligned after the number, as much of it as fits.
    appState.letterConversion.activeLetterBase = LetterBaseLatin;
    auto width = [&](const char* s) {
        int w = kUnlimitedWidth, n = int(std::strlen(s));
        MeasureFit(view->dc, reinterpret_cast<const uint8_t*>(s), &w, &n);
        return w;
    };
    int numberWidth = width(number), percentWidth = width(percent);
    int right = a.left + a.width - kPadding;
    DrawTextCell(view->dc, reinterpret_cast<const uint8_t*>(number), int(std::strlen(number)),
                 right - numberWidth, y, numberWidth, h);
    DrawTextCell(view->dc, reinterpret_cast<const uint8_t*>(percent), int(std::strlen(percent)),
                 a.left + kPadding, y, percentWidth, h);
    TitleInfo title;
    GetLessonTitles(view->text, &title, nullptr);
    int room = a.width - numberWidth - percentWidth - 6 * kPadding - 2 * h;
    if (title.text && room > 0) {
        appState.letterConversion.activeLetterBase =
            letterBaseFor(title.style, view->font.FontAsciiBase);
        int w = room, n = title.length;
        MeasureFit(view->dc, title.text, &w, &n);
        DrawTextCell(view->dc, title.text, n, right - numberWidth - h - w, y, w, h);
    }
    appState.letterConversion.activeLetterBase = LetterBaseLatin;
    setBackgroundColour(view->dc, oldBack);
    if (old) selectFont(view->dc, old);
}
