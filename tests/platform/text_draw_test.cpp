// Text drawn from learnt glyph masks is pixel for pixel the text the platform draws itself: in
// several faces, sizes and colour pairs; letters whose ink overlaps their neighbours' or falls
// outside the box filled for them; text partly off the image; the first time (while the masks
// are learnt) and after (drawn from them).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/draw.h"
#include "platform/gui.h"

namespace {
constexpr int kWidth = 360, kHeight = 260;

struct Case {
    const char* name;
    const char16_t* face; // null: the first family with Hebrew letters
    int height, weight;
    bool underline;
    Colour text, back;
};

const std::u16string kWords[] = {
    u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD, \u05D1\u05E8\u05D0\u05E9\u05D9\u05EA",
    u"fjy VAVAWA Tj (22) 14:21",
    u"\u05D0\u05D1\u05D2 abc \u05DA\u05DF\u05E5 gjpq",
};

// The words in a few places: in rows, one row over the bottom of the one before, and running off
// each edge of the image.
void drawScene(DcHandle dc, const Case& c, FontHandle font) {
    fillRect(dc, Rect{0, 0, kWidth, kHeight}, getStockBrush(WhiteBrush));
    FontHandle old = selectFont(dc, font);
    setTextColour(dc, c.text);
    setBackgroundColour(dc, c.back);
    int line = getTextMetrics(dc).height;
    int y = 0;
    for (const std::u16string& w : kWords) {
        int n = int(w.size());
        drawTextCell(dc, w.data(), n, Rect{0, y, kWidth, y + line});
        drawTextCell(dc, w.data(), n, Rect{7, y + line / 2, kWidth + 7, y + line / 2 + line});
        y += line + line / 2;
    }
    drawTextCell(dc, kWords[1].data(), int(kWords[1].size()), Rect{-40, 3, 120, 3 + line});
    drawTextCell(dc, kWords[0].data(), int(kWords[0].size()),
                 Rect{kWidth - 100, kHeight - line / 2, kWidth + 150, kHeight + line / 2});
    selectFont(dc, old);
}

// Pixels where the two images differ, and the first of them.
int differences(DcHandle a, DcHandle b, std::string* first) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (dcPixel(a, x, y) == dcPixel(b, x, y)) continue;
            if (n++ == 0)
                *first = "at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                         std::to_string(dcPixel(a, x, y)) + " against " +
                         std::to_string(dcPixel(b, x, y));
        }
    }
    return n;
}

TEST(TextDraw, FromMasksAsThePlatformDrawsIt) {
    startHeadlessGraphics();
    const Case cases[] = {
        {"body", u"David CLM", 18, 400, false, 0x000000, 0xFFFFFF},
        {"small", u"David CLM", 9, 400, false, 0x404040, 0xFFFFFF},
        {"heading", nullptr, 28, 700, false, 0x800000, 0xFFFFFF},
        {"highlight", nullptr, 18, 400, false, 0xFFFFFF, 0x6A240A},
        {"tinted, large", u"DejaVu Sans", 60, 400, false, 0x102030, 0xE0F0FF},
        {"underlined", u"DejaVu Sans", 18, 400, true, 0x000000, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FontDescription d{c.height, c.weight, c.underline, {}};
        if (c.face && fontFamilyInstalled(c.face)) {
            std::memcpy(d.face, c.face, (std::char_traits<char16_t>::length(c.face) + 1) * 2);
        } else {
            ASSERT_TRUE(firstHebrewFamily(d.face));
        }
        FontHandle masked = createFont(d), plain = createFont(d);
        DcHandle fromMasks = createImageDc(kWidth, kHeight),
                 byPlatform = createImageDc(kWidth, kHeight);
        setGlyphMasksEnabled(false);
        drawScene(byPlatform, c, plain);
        setGlyphMasksEnabled(true);
        // The scene has ink: two blank images would agree for any drawing.
        int ink = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x)
                ink += dcPixel(byPlatform, x, y) != Colour(0xFFFFFF);
        }
        EXPECT_GT(ink, kWidth * kHeight / 200) << "the platform drew the words";
        for (int pass = 0; pass < 2; ++pass) {
            long before = glyphsDrawnFromMasks();
            drawScene(fromMasks, c, masked);
            std::string first;
            EXPECT_EQ(differences(fromMasks, byPlatform, &first), 0)
                << "pass " << pass << " " << first;
            // Once learnt, the words are drawn from masks (an underline is drawn by the
            // platform with its text).
            if (pass == 1) {
                EXPECT_EQ(glyphsDrawnFromMasks() > before, !c.underline);
            }
        }
        deleteDc(fromMasks);
        deleteDc(byPlatform);
        deleteFont(masked);
        deleteFont(plain);
    }
}
} // namespace
