// The search box's text and the stored search text: ConvertPattern, and the turn from the
// box's reading order to the stored display order and back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/search.h"
#include "dialogs/search_box.h"
#include "platform/memory.h"
#include "state/state.h"
#include "tests/support/fixtures.h"
#include "tools/bookc/hebrew_text.h"

namespace {
std::u16string utf16(const std::string& utf8) {
    std::u32string wide;
    EXPECT_TRUE(decodeUtf8(utf8, wide, nullptr)) << utf8;
    return {wide.begin(), wide.end()}; // every character here is in the first plane
}

class SearchBox : public testing::Test {
protected:
    void SetUp() override { resetAppState(); }
    void TearDown() override { resetAppState(); }

    static void base(int letterBase) { appState.fontSpec.FontAsciiBase = letterBase; }

    // What OK makes of the box's text: display order, then ConvertPattern.
    static std::string confirm(const std::u16string& box) {
        char16_t display[kMaxPatternLength + 1];
        EXPECT_GE(boxTextToDisplayOrder(box.c_str(), display, kMaxPatternLength + 1), 0);
        ConvertPattern(display);
        return appState.searchPattern;
    }

    static std::u16string fill(const std::string& pattern) {
        char16_t* box = patternToBoxText(pattern.c_str());
        EXPECT_NE(box, nullptr);
        std::u16string text = box ? box : u"";
        plainFree(box);
        return text;
    }
};

TEST_F(SearchBox, ConvertPattern) {
    struct Case {
        int base;
        std::u16string text;
        std::string pattern;
    } cases[] = {
        {1488, u"\u05D0\u05D1\u05EA", "ab{"},
        {1488, u"\u05CF\u05EB", "\xCF\xEB"}, // just outside the letters: the low 8 bits
        {224, u"\u00E0\u00FA", "a{"},
        {224, u"\u05D0", "\xD0"},
        {97, u"abc{", "abc{"},
        {1488, u"a  b", "a b"}, // two spaces stored as one
        {1488, u"a   b  ", "a b "},
        {1488, u"  ", " "},
        {1488, u"?a*", "?a*"},
        {1488, u"a\u0100b", "a"}, // a unit whose low 8 bits are 0 ends the text
        {1488, u"", ""},
        {1488, std::u16string(40, u'\u05D1'), std::string(33, 'b')}, // 33 units at most
    };
    for (const Case& c : cases) {
        base(c.base);
        std::memset(appState.searchPattern, 'x', sizeof appState.searchPattern);
        ConvertPattern(c.text.c_str());
        EXPECT_EQ(std::string(appState.searchPattern), c.pattern)
            << c.base << " " << testing::PrintToString(c.text);
    }
    ConvertPattern(nullptr);
    EXPECT_EQ(appState.searchPattern[0], 0);
}

// The box holds what a person types (reading order); the pattern is what the book stores.
TEST_F(SearchBox, TypedWordsBecomeTheStoredOrder) {
    struct Case {
        const char* typed;
        const char* storedAs; // written Hebrew whose stored form the pattern must be
    } cases[] = {
        {"שלום", "שלום"},         {"אב גד", "אב גד"}, {"בשנת 1948", "בשנת 1948"},
        {"(א) פריט", "(א) פריט"}, {"שָׁלוֹם", "שלום"}, // points dropped
        {"בית־ספר", "בית-ספר"},                     // maqaf
        {"א?ב*", "א?ב*"},
    };
    for (int letterBase : {97, 224, 1488}) {
        base(letterBase);
        for (const Case& c : cases)
            EXPECT_EQ(confirm(utf16(c.typed)), storedHebrew(c.storedAs))
                << letterBase << " " << c.typed;
    }
    base(1488);
    EXPECT_EQ(confirm(u""), "") << "OK with an empty box empties the pattern";
    char16_t display[4];
    EXPECT_EQ(boxTextToDisplayOrder(u"\u05D0\u05D1\u05D2\u05D3\u05D4", display, 4), 3);
    EXPECT_EQ(std::u16string(display), u"\u05D4\u05D3\u05D2") << "cut to the room given";
}

// Filling the box from the stored pattern and confirming it unedited gives the same pattern,
// under every letter base, whether Reverse is on or not.
TEST_F(SearchBox, RoundTrip) {
    const char* words[] = {"שלום", "אב גד", "א?ב*ג", "בשנת 1948 יצאו", "(א) פריט", "{א}", "ך ם ן"};
    for (uint32_t flags : {0u, uint32_t(FlagReverse)}) {
        appState.Flags = flags;
        for (int letterBase : {97, 224, 1488}) {
            base(letterBase);
            for (const char* word : words) {
                // Under base 97 the unit '{' is the letter tav: a brace mirrored into reading
                // order cannot be told from it.
                if (letterBase == 97 && std::strchr(word, '{')) continue;
                std::string pattern = storedHebrew(word);
                std::u16string box = fill(pattern);
                EXPECT_EQ(confirm(box), pattern)
                    << word << " base " << letterBase << " flags " << flags;
            }
        }
    }
    // The box shows the word as typed: reading order, letters at the letter base.
    base(1488);
    EXPECT_EQ(fill(storedHebrew("שלום")), utf16("שלום"));
    base(224);
    EXPECT_EQ(fill(storedHebrew("אב")), u"\u00E0\u00E1");
    appState.Flags = FlagReverse;
    EXPECT_EQ(fill(storedHebrew("אב")), u"\u00E0\u00E1") << "Reverse plays no part";
    EXPECT_EQ(fill(""), u"");
}
} // namespace
