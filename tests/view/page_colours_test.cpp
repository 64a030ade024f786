// The page's colour schemes: every text colour of dark and sepia against the background it is
// drawn on, at the contrast WCAG AA asks of text (4.5:1); light is the book's own.
#include <gtest/gtest.h>

#include "view/page_colours.h"

namespace {
TEST(PageColours, ContrastRatiosAreMeasuredAsWcagDoes) {
    struct Case {
        Colour a, b;
        double ratio;
    } cases[] = {
        {0x000000, 0xFFFFFF, 21.0}, {0xFFFFFF, 0x000000, 21.0}, {0x777777, 0x777777, 1.0},
        {0x767676, 0xFFFFFF, 4.54}, // the grey WCAG names as the lightest that passes on white
        {0x0000FF, 0x00FFFF, 3.72}, // red on yellow (0xBBGGRR)
    };
    for (const Case& c : cases)
        EXPECT_NEAR(contrastRatio(c.a, c.b), c.ratio, 0.01) << std::hex << c.a << " " << c.b;
}

TEST(PageColours, DarkAndSepiaTextReadsAtFourAndAHalfToOne) {
    for (ColourScheme scheme : {ColourScheme::Dark, ColourScheme::Sepia}) {
        const PageColours& c = coloursOf(scheme, false);
        struct Pair {
            const char* what;
            Colour text, back;
        } pairs[] = {
            {"body", c.body, c.paper},
            {"heading", c.heading, c.paper},
            {"small type and links", c.small, c.paper},
            {"index entries", c.indexText, c.paper},
            {"index headings", c.heading, c.paper},
            {"search highlight", c.highlightText, c.highlightBack},
            {"banner", c.bannerText, c.bannerBack},
        };
        for (const Pair& p : pairs)
            EXPECT_GE(contrastRatio(p.text, p.back), 4.5)
                << (scheme == ColourScheme::Dark ? "dark " : "sepia ") << p.what;
    }
}

TEST(PageColours, FollowingTheDesktopTakesItsPreference) {
    EXPECT_EQ(&coloursOf(ColourScheme::FollowDesktop, true), &coloursOf(ColourScheme::Dark, false));
    EXPECT_EQ(&coloursOf(ColourScheme::FollowDesktop, false),
              &coloursOf(ColourScheme::Light, true));
    EXPECT_EQ(coloursOf(ColourScheme::Light, true).paper, 0xFFFFFFu) << "a choice stands";
    EXPECT_LT(contrastRatio(coloursOf(ColourScheme::Dark, false).paper, 0x000000), 1.5)
        << "the dark paper is dark";
}
} // namespace
