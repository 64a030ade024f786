// Measuring 8-bit text through a letter table on a real font gives the numbers that converting
// it and asking for the fit count and the extent of the converted units gives, at every width.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/draw.h"
#include "platform/gui.h"

namespace {
struct Case {
    const char* name;
    std::string bytes;
    int base; // where the letter forms 0x61..0x7B go
};

std::vector<char16_t> mapFor(int base) {
    std::vector<char16_t> map(256);
    for (int b = 0; b < 256; ++b)
        map[size_t(b)] = b >= 0x61 && b <= 0x7B ? char16_t(b - 0x61 + base) : char16_t(b);
    // A unit the font's table does not hold: a string with it is measured by the font itself.
    map['|'] = 0x3042;
    return map;
}

class TextMeasure : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        startHeadlessGraphics();
        FontDescription d{GetParam(), 400, false, {}};
        const char16_t david[] = u"David CLM";
        if (fontFamilyInstalled(david)) {
            std::memcpy(d.face, david, sizeof david);
        } else {
            ASSERT_TRUE(firstHebrewFamily(d.face));
        }
        dc_ = createImageDc(10, 10);
        font_ = createFont(d);
        selectFont(dc_, font_);
    }
    void TearDown() override {
        selectFont(dc_, stockFont());
        deleteFont(font_);
        deleteDc(dc_);
    }
    DcHandle dc_ = nullptr;
    FontHandle font_ = nullptr;
};

TEST_P(TextMeasure, SameAsConvertingAndMeasuring) {
    const Case cases[] = {
        {"hebrew", "lbmh yhwh ta-lmcr, ubnw (22) kwl", 0x5D0},
        {"code page", "lbmh yhwh ta-lmcr", 0xE0},
        {"latin", "Exodus 14:21, the sea - and then", 0x61},
        {"ends at a zero byte", std::string("abc de\0fgh", 10), 0x5D0},
        {"ends at a byte that becomes 0", "xy zab", 0},
        {"units past the table", "ab cd", 0x3041},
        // Up to the last byte measured from the table, the string by the font's own glyphs.
        {"table against the font", "lbmh yhwh ta-lmcr, ubnw |", 0x5D0},
    };
    for (const Case& c : cases) {
        std::vector<char16_t> map = mapFor(c.base);
        std::vector<char16_t> units;
        for (char b : c.bytes) {
            if (map[uint8_t(b)] == 0) break; // as a converted string ends at a unit 0
            units.push_back(map[uint8_t(b)]);
        }
        int n = int(units.size());
        int total = 0;
        textExtent(dc_, units.data(), n, &total, nullptr);
        ASSERT_GT(total, 0) << c.name;
        const auto* bytes = reinterpret_cast<const uint8_t*>(c.bytes.data());
        for (int maxWidth = -2; maxWidth <= total + 2; ++maxWidth) {
            int fit = textFitCount(dc_, units.data(), n, maxWidth);
            int width = 0;
            textExtent(dc_, units.data(), fit, &width, nullptr);
            int gotWidth = -1;
            int got =
                textFitBytes(dc_, bytes, int(c.bytes.size()), map.data(), maxWidth, &gotWidth);
            ASSERT_EQ(got, fit) << c.name << " at " << maxWidth;
            ASSERT_EQ(gotWidth, width) << c.name << " at " << maxWidth;
        }
        // However wide the room, the bytes end where the converted string ends.
        int width = 0;
        EXPECT_EQ(textFitBytes(dc_, bytes, int(c.bytes.size()), map.data(), 1 << 20, &width), n)
            << c.name;
        EXPECT_EQ(width, total) << c.name;
        // A count shorter than the bytes is kept to.
        EXPECT_EQ(textFitBytes(dc_, bytes, 2, map.data(), total, &width), 2) << c.name;
    }
    int width = -1;
    EXPECT_EQ(textFitBytes(nullptr, reinterpret_cast<const uint8_t*>("ab"), 2, mapFor(97).data(),
                           100, &width),
              0);
    EXPECT_EQ(width, 0);
}

// Sizes whose advances are fractional as well as whole.
INSTANTIATE_TEST_SUITE_P(Sizes, TextMeasure, testing::Values(13, 18, 23));
} // namespace
