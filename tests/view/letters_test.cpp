// Letter-code conversion for each letter base, with and without Reverse.
#include <gtest/gtest.h>

#include <string>

#include "platform/memory.h"
#include "state/state.h"
#include "view/letters.h"

namespace {
class Letters : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        appState.fontSpec.FontAsciiBase = LetterBaseUnicode;
    }
    void TearDown() override {
        plainFree(appState.letterConversion.convBuffer);
        appState.letterConversion = LetterConversion{};
        resetAppState();
    }
    std::u16string convert(const std::string& bytes, int base, bool reverse, int count = -1) {
        appState.Flags = reverse ? uint32_t(FlagReverse) : 0u;
        appState.fontSpec.FontAsciiBase = base;
        char16_t* out = ConvertLetters(reinterpret_cast<const uint8_t*>(bytes.c_str()), nullptr,
                                       nullptr, count < 0 ? int(bytes.size()) : count);
        std::u16string result(out);
        plainFree(out);
        return result;
    }
};

TEST_F(Letters, ConversionTable) {
    struct Case {
        std::string bytes;
        int base;
        bool reverse;
        std::u16string expected;
    } cases[] = {
        {"abc", 1488, false, u"\u05D0\u05D1\u05D2"},
        {"abc", 224, false, u"\u00E0\u00E1\u00E2"},
        {"abc", 97, false, u"abc"},
        {"{", 224, false, u"\u00FA"}, // the 27th letter
        {"{", 1488, false, u"\u05EA"},
        {"~", 224, false, u"{"},
        {"~", 1488, false, u"{"},
        {"~", 97, false, u"~"},
        {"`|}", 1488, false, u"`|}"}, // 0x60, 0x7C, 0x7D pass under every base
        {"`|}", 224, false, u"`|}"},
        {"1, 2-3.", 1488, false, u"1, 2-3."},
        {"a(b", 1488, true, u"\u05D1)\u05D0"},    // reversed, the bracket mirrored
        {"[a]{}", 224, true, u"{\u00FA[\u00E0]"}, // '{' is the 27th letter, '}' mirrored
        {"a(b", 97, true, u"a(b"},                // Reverse does nothing under base 97
        {"", 1488, true, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(convert(c.bytes, c.base, c.reverse), c.expected)
            << c.bytes << " base " << c.base << (c.reverse ? " reversed" : "");
    }
}

TEST_F(Letters, StopsAtCountOrZeroByte) {
    EXPECT_EQ(convert("abcd", 1488, false, 2), u"\u05D0\u05D1");
    EXPECT_EQ(convert("ab", 1488, true, 0), u"");
    // A zero byte inside the count ends the run; the reversal covers only what was converted.
    std::string withZero("ab\0cd", 5);
    appState.Flags = FlagReverse;
    char16_t* out =
        ConvertLetters(reinterpret_cast<const uint8_t*>(withZero.data()), nullptr, nullptr, 5);
    EXPECT_EQ(std::u16string(out), u"\u05D1\u05D0");
    plainFree(out);
}

TEST_F(Letters, SharedBufferGrowsAndIsReused) {
    appState.letterConversion.activeLetterBase = 224; // wins over the font's 1488
    const uint8_t* text = reinterpret_cast<const uint8_t*>("abcdef");
    char16_t* first = ConvertLetters(text, nullptr, &appState.letterConversion, 6);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, appState.letterConversion.convBuffer);
    EXPECT_EQ(appState.letterConversion.convCapacity, 6);
    EXPECT_EQ(std::u16string(first), u"\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5");
    char16_t* shorter = ConvertLetters(text, nullptr, &appState.letterConversion, 3);
    EXPECT_EQ(shorter, first) << "a shorter request reuses the buffer";
    EXPECT_EQ(std::u16string(shorter), u"\u00E0\u00E1\u00E2");
    appState.letterConversion.activeLetterBase = 0; // 0: the font's letter base
    char16_t* longer = ConvertLetters(reinterpret_cast<const uint8_t*>("abcdefgh"), nullptr,
                                      &appState.letterConversion, 8);
    EXPECT_EQ(appState.letterConversion.convCapacity, 8);
    EXPECT_EQ(longer, appState.letterConversion.convBuffer);
    EXPECT_EQ(longer[7], u'\u05D7');

    injectAllocFailures(0, 1);
    EXPECT_EQ(ConvertLetters(text, nullptr, &appState.letterConversion, 20), nullptr);
    EXPECT_EQ(appState.letterConversion.convBuffer, longer)
        << "a failed growth keeps the old buffer";
    EXPECT_EQ(appState.letterConversion.convCapacity, 8);
}

TEST_F(Letters, MirrorReverse) {
    std::u16string units = u"(a[b]c{d}e)x";
    EXPECT_EQ(MirrorReverse(units.data(), 11), 0);
    EXPECT_EQ(units, u"(e{d}c[b]a)x") << "only the first n units move";
    injectAllocFailures(0, 1);
    EXPECT_EQ(MirrorReverse(units.data(), 11), 1);
    EXPECT_EQ(units, u"(e{d}c[b]a)x") << "unchanged without its buffer";
}
// The table of single bytes that measuring goes through is the conversion of each byte alone,
// without Reverse, for the usual bases, a base of 0, and other bases one after another.
TEST_F(Letters, MapOfSingleBytes) {
    for (int base : {97, 224, 1488, 0, 500, 0x3041, 500, 1488}) {
        const char16_t* map = letterMap(base);
        EXPECT_EQ(map[0], 0) << base;
        for (int b = 1; b < 256; ++b) {
            // A unit 0 ends a converted string: it comes back empty.
            std::u16string alone = convert(std::string(1, char(b)), base, false);
            ASSERT_EQ(map[b], alone.empty() ? u'\0' : alone[0]) << "byte " << b << " base " << base;
        }
    }
}
} // namespace
