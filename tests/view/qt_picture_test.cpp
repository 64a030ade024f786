// A real page of a real lesson on the Qt surface, checked by its pixels: Hebrew letters drawn,
// the search highlight blue on yellow, the banner framed in red.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "content/resource.h"
#include "platform/draw.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "state/state.h"
#include "view/letters.h"
#include "view/page_colours.h"
#include "view/text_view.h"
#include "view/title_banner.h"

namespace {
class QtPicture : public testing::Test {
protected:
    void SetUp() override {
        startHeadlessGraphics();
        resetAppState();
        ASSERT_TRUE(firstHebrewFamily(appState.fontSpec.FontName))
            << "a font with Hebrew letters is installed";
        const char16_t david[] = u"David CLM";
        if (fontFamilyInstalled(david))
            std::memcpy(appState.fontSpec.FontName, david, sizeof david);
        appState.fontSpec.FontSize = 18;
        appState.fontSpec.FontAsciiBase = 1488;
        dc_ = createImageDc(kWidth, kHeight);
        ASSERT_NE(dc_, nullptr);
    }
    void TearDown() override {
        TextView_Destroy(view_);
        deleteDc(dc_);
    }

    int count(int left, int top, int right, int bottom, Colour colour) const {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                n += dcPixel(dc_, x, y) == colour;
        }
        return n;
    }
    int ink(int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                n += dcPixel(dc_, x, y) != 0xFFFFFF;
        }
        return n;
    }

    static constexpr int kWidth = 480, kHeight = 640;
    DcHandle dc_ = nullptr;
    TextView* view_ = nullptr;
};

TEST_F(QtPicture, HebrewLettersAreDrawnAsThemselves) {
    // Each letter of the alphabet leaves a picture of its own: no missing-glyph boxes.
    std::vector<std::vector<bool>> pictures;
    FontDescription d{40, 400, false, {}};
    std::memcpy(d.face, appState.fontSpec.FontName, sizeof d.face);
    FontHandle font = createFont(d);
    FontHandle old = selectFont(dc_, font);
    for (char16_t letter : {u'\u05D0', u'\u05D1', u'\u05D2', u'\u05E9', u'\u05EA'}) {
        fillRect(dc_, Rect{0, 0, 60, 60}, getStockBrush(WhiteBrush));
        drawTextCell(dc_, &letter, 1, Rect{0, 0, 60, 60});
        std::vector<bool> picture;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 60; ++x)
                picture.push_back(dcPixel(dc_, x, y) != 0xFFFFFF);
        }
        EXPECT_GT(std::count(picture.begin(), picture.end(), true), 20);
        for (const auto& other : pictures)
            EXPECT_NE(picture, other);
        pictures.push_back(picture);
    }
    selectFont(dc_, old);
    deleteFont(font);
}

TEST_F(QtPicture, ShapesAndCopies) {
    BrushHandle red = createSolidBrush(0x0000FF);
    fillRect(dc_, Rect{10, 10, 20, 20}, red);
    EXPECT_EQ(dcPixel(dc_, 10, 10), 0x0000FFu);
    EXPECT_EQ(dcPixel(dc_, 19, 19), 0x0000FFu);
    EXPECT_EQ(dcPixel(dc_, 20, 20), 0xFFFFFFu) << "right and bottom are exclusive";
    PenHandle blue = createSolidPen(1, 0xFF0000);
    PenHandle oldPen = selectPen(dc_, blue);
    BrushHandle oldBrush = selectBrush(dc_, red);
    drawRectangle(dc_, Rect{30, 30, 40, 40});
    EXPECT_EQ(dcPixel(dc_, 30, 30), 0xFF0000u) << "outline";
    EXPECT_EQ(dcPixel(dc_, 39, 35), 0xFF0000u);
    EXPECT_EQ(dcPixel(dc_, 35, 35), 0x0000FFu) << "inside";
    EXPECT_EQ(dcPixel(dc_, 40, 35), 0xFFFFFFu);
    selectBrush(dc_, oldBrush);
    selectPen(dc_, oldPen);
    deletePen(blue);

    DcHandle target = createImageDc(50, 50);
    copyBits(target, 0, 0, 15, 15, dc_, 10, 10);
    EXPECT_EQ(dcPixel(target, 0, 0), 0x0000FFu);
    EXPECT_EQ(dcPixel(target, 9, 9), 0x0000FFu);
    EXPECT_EQ(dcPixel(target, 10, 10), 0xFFFFFFu);
    deleteDc(target);
    deleteBrush(red);
}

TEST_F(QtPicture, PageWithHighlightAndBanner) {
    uint8_t* text = LoadBookResource(17, nullptr);
    ASSERT_NE(text, nullptr);
    Rect area{0, 0, kWidth, kHeight};
    view_ = TextView_Create(dc_, &area, &appState.fontSpec, 100);
    ASSERT_EQ(TextView_SetText(view_, text, 0), 0);
    // Highlight the first body line: the first labelless right-aligned Hebrew line of height 18+.
    int y = 0, line = 0;
    for (; line < view_->lineCount; ++line) {
        const LineRecord& l = view_->lines[line];
        if ((l.style & 0x77) == 0x30 && l.length > 20) break;
        y += l.height * ((l.style & 0x80) ? 2 : 1);
    }
    ASSERT_LT(line, view_->lineCount);
    const LineRecord& body = view_->lines[line];
    view_->highlightStart = body.start;
    view_->highlightEnd = uint16_t(body.start + 10);
    ASSERT_EQ(TextView_Paint(view_, 1), 0);

    EXPECT_GT(ink(0, 0, kWidth, kHeight), 5000) << "the page has text on it";
    int yellow = count(body.x, y, body.x + body.width, y + body.height, 0x00FFFF);
    int blue = count(body.x, y, body.x + body.width, y + body.height, 0xFF0000);
    EXPECT_GT(yellow, 50) << "highlight background";
    EXPECT_GT(blue, 5) << "highlight text";
    EXPECT_EQ(count(0, 0, kWidth, y, 0x00FFFF), 0) << "nothing highlighted above the hit's line";

    EXPECT_EQ(count(0, kHeight - 3, kWidth, kHeight - 2, 0x0000FF), 0)
        << "no banner before it is drawn";
    DrawTitleBanner(view_);
    int redRow = count(0, kHeight - 3, kWidth, kHeight - 2, 0x0000FF);
    EXPECT_GT(redRow, 100) << "the banner's red frame along its bottom";
    EXPECT_GT(count(0, kHeight - 60, kWidth, kHeight - 5, 0x00FFFF), 1000) << "its yellow inside";
    EXPECT_EQ(saveDcImage(dc_, (testing::TempDir() + "page.png").c_str()), 0);
}
} // namespace

namespace {
// A page in dark and in sepia: the paper covers what the text leaves, the strongest ink
// reads against it at 4.5:1 or more, and no white of the light page is left anywhere (a text
// cell, a rule, a frame or the banner still drawn in the book's own colours would leave it).
TEST_F(QtPicture, DarkAndSepiaPagesLeaveNoWhite) {
    for (ColourScheme scheme : {ColourScheme::Dark, ColourScheme::Sepia}) {
        SCOPED_TRACE(scheme == ColourScheme::Dark ? "dark" : "sepia");
        appState.colourScheme = scheme;
        const PageColours& colours = pageColours();
        TextView_Destroy(view_);
        uint8_t* text = LoadBookResource(5, nullptr);
        ASSERT_NE(text, nullptr);
        Rect area{0, 0, kWidth, kHeight};
        view_ = TextView_Create(dc_, &area, &appState.fontSpec, 100);
        ASSERT_EQ(TextView_SetText(view_, text, 0), 0);
        view_->highlightStart = 200;
        view_->highlightEnd = 230;
        ASSERT_EQ(TextView_Paint(view_, 1), 0);
        DrawTitleBanner(view_);
        int paper = count(0, 0, kWidth, kHeight, colours.paper);
        EXPECT_GT(paper, kWidth * kHeight / 2);
        EXPECT_EQ(count(0, 0, kWidth, kHeight, 0xFFFFFF), 0);
        double strongest = 1;
        for (int y = 0; y < kHeight * 3 / 4; ++y) {
            for (int x = 0; x < kWidth; ++x)
                strongest = std::max(strongest, contrastRatio(dcPixel(dc_, x, y), colours.paper));
        }
        EXPECT_GE(strongest, 4.5);
        EXPECT_GT(count(0, 0, kWidth, kHeight, colours.highlightBack), 50) << "the highlight";
        EXPECT_GT(count(0, kHeight - 40, kWidth, kHeight, colours.bannerBack), 100) << "banner";
    }
    appState.colourScheme = ColourScheme::FollowDesktop;
}
} // namespace
