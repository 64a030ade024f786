#include "view/page_colours.h"

#include <cmath>

namespace {
// Colours are 0xBBGGRR; these tables spell them so.
constexpr Colour rgb(int r, int g, int b) {
    return Colour(r | g << 8 | b << 16);
}

const PageColours kLight = {
    .paper = rgb(255, 255, 255),
    .body = rgb(0, 0, 0),
    .heading = rgb(0, 0, 255),
    .small = rgb(0, 0, 128),
    .indexText = rgb(0, 0, 0),
    .highlightText = rgb(0, 0, 255),
    .highlightBack = rgb(255, 255, 0),
    .bannerText = rgb(255, 0, 0),
    .bannerBack = rgb(255, 255, 0),
    .bannerFrames = {rgb(255, 0, 0), rgb(255, 255, 255), rgb(0, 0, 255)},
};

const PageColours kDark = {
    .paper = rgb(0x1E, 0x1E, 0x1E),
    .body = rgb(0xE6, 0xE6, 0xE6),
    .heading = rgb(0x8A, 0xB4, 0xF8),
    .small = rgb(0xA8, 0xC7, 0xFA),
    .indexText = rgb(0xE6, 0xE6, 0xE6),
    .highlightText = rgb(0x0B, 0x2A, 0x6F),
    .highlightBack = rgb(0xFF, 0xD5, 0x4F),
    .bannerText = rgb(0xFF, 0x8A, 0x80),
    .bannerBack = rgb(0x2B, 0x26, 0x00),
    .bannerFrames = {rgb(0xFF, 0x8A, 0x80), rgb(0x1E, 0x1E, 0x1E), rgb(0x8A, 0xB4, 0xF8)},
};

const PageColours kSepia = {
    .paper = rgb(0xF4, 0xEC, 0xD8),
    .body = rgb(0x3B, 0x2F, 0x1E),
    .heading = rgb(0x1F, 0x4E, 0x8C),
    .small = rgb(0x28, 0x3C, 0x6E),
    .indexText = rgb(0x3B, 0x2F, 0x1E),
    .highlightText = rgb(0x1F, 0x4E, 0x8C),
    .highlightBack = rgb(0xF2, 0xD0, 0x64),
    .bannerText = rgb(0x9E, 0x2A, 0x1E),
    .bannerBack = rgb(0xF2, 0xE2, 0xA0),
    .bannerFrames = {rgb(0x9E, 0x2A, 0x1E), rgb(0xF4, 0xEC, 0xD8), rgb(0x1F, 0x4E, 0x8C)},
};

double channel(int value) {
    double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(Colour c) {
    return 0.2126 * channel(int(c & 0xFF)) + 0.7152 * channel(int(c >> 8 & 0xFF)) +
           0.0722 * channel(int(c >> 16 & 0xFF));
}
} // namespace

const PageColours& coloursOf(ColourScheme scheme, bool desktopDark) {
    switch (scheme) {
    case ColourScheme::Light:
        return kLight;
    case ColourScheme::Dark:
        return kDark;
    case ColourScheme::Sepia:
        return kSepia;
    case ColourScheme::FollowDesktop:
        break;
    }
    return desktopDark ? kDark : kLight;
}

const PageColours& pageColours() {
    return coloursOf(appState.colourScheme, appState.desktopDark);
}

double contrastRatio(Colour a, Colour b) {
    double la = luminance(a), lb = luminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

void fillPaper(DcHandle dc, int left, int top, int width, int height) {
    Colour paper = pageColours().paper;
    Rect rect{left, top, left + width, top + height};
    if (paper == 0xFFFFFF) {
        fillRect(dc, rect, getStockBrush(WhiteBrush));
        return;
    }
    if (BrushHandle brush = createSolidBrush(paper)) {
        fillRect(dc, rect, brush);
        deleteBrush(brush);
    }
}
