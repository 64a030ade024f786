// The lesson title banner: the title and subtitle in a framed box at the bottom of the text
// area, drawn once after a search hit (the next paint removes it).
#pragma once
#include <cstdint>

#include "platform/draw.h"
#include "view/text_view.h"

struct TitleInfo {
    int32_t length;      // bytes of the record's text; after measuring, the bytes that fit
    int32_t width;       // after measuring, their width in pixels
    uint8_t style;       // the record's style byte
    const uint8_t* text; // into the lesson; null when the record is absent
};

enum : Colour {
    BannerRed = 0x0000FF,
    BannerWhite = 0xFFFFFF,
    BannerBlue = 0xFF0000,
    BannerYellow = 0x00FFFF
};

// Fills `title` and `subtitle` (either may be null) from the lesson's first records; an absent
// record leaves every field 0.
void GetLessonTitles(const uint8_t* lessonText, TitleInfo* title, TitleInfo* subtitle);

// Draws `count` rectangles in a one-pixel pen of `colour`, each inside the last, shrinking
// *rect by one pixel on every side after each (also when the pen cannot be had).
void DrawNestedFrames(DcHandle dc, Rect* rect, Colour colour, int count);

// Draws the banner of the view's lesson, if it has a title or subtitle.
void DrawTitleBanner(TextView* view);
