// The page's colours in each scheme: the text of each style, the paper, the search highlight,
// the title banner and the index. Light is the book's own; dark and sepia hold every text
// colour at a contrast of at least 4.5:1 against the background it is drawn on.
#pragma once
#include "platform/draw.h"
#include "state/state.h"

struct PageColours {
    Colour paper;     // the page, the index and the status line behind their text
    Colour body;      // body text, rules and link frames
    Colour heading;   // large bold type, and the index's headings
    Colour small;     // small type and link captions
    Colour indexText; // the index's entries
    Colour highlightText, highlightBack;
    Colour bannerText, bannerBack; // the banner's titles, and its filling
    Colour bannerFrames[3];        // its nested frames, outside in
};

// The colours of `scheme`; following the desktop, dark when `desktopDark`, else light.
const PageColours& coloursOf(ColourScheme scheme, bool desktopDark);
// The colours the state record asks for now (appState's colourScheme and desktopDark).
const PageColours& pageColours();

// The WCAG contrast ratio of two colours (1 to 21).
double contrastRatio(Colour a, Colour b);

// Fills left, top, width x height with the page's paper: the stock white brush when the paper
// is white (so that the light page draws exactly as it always has), else a brush of its own.
void fillPaper(DcHandle dc, int left, int top, int width, int height);
