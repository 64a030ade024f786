// Reading order to stored display order and back.
#include <gtest/gtest.h>

#include <string>

#include "tools/bookc/hebrew_text.h"

namespace {
std::u32string utf32(const std::string& utf8) {
    std::u32string out;
    EXPECT_TRUE(decodeUtf8(utf8, out, nullptr)) << utf8;
    return out;
}

TEST(HebrewText, ToDisplayOrderAndBack) {
    struct Case {
        std::string written;   // reading order, as typed
        std::string stored;    // display order, letter code
        std::string readsBack; // what the dump gives back
    } cases[] = {
        {"שלום", "nfmz", "שלום"},
        {"אב גד", "dc ba", "אב גד"},
        {"בשנת 1948 יצאו", "fawj 1948 {qzb", "בשנת 1948 יצאו"},
        {"(א) פריט", "ijyu (a)", "(א) פריט"},
        {"50% מהם", "neo 50%", "50% מהם"},
        {"1. פריט", "ijyu .1", "1. פריט"},
        {"רש\"י אמר", "yoa j\"zy", "רש\"י אמר"},
        {"שָׁלוֹם", "nfmz", "שלום"},            // points dropped
        {"בית־ספר", "yur-{jb", "בית-ספר"},   // maqaf to '-'
        {"סוף׃", ":tfr", "סוף:"},            // sof pasuq to ':'
        {"צה״ל ג׳", "'c m\"ew", "צה\"ל ג'"}, // gershayim, geresh
        {"{א}", "~a}", "{א}"},               // '{' stored as 0x7E
    };
    for (const Case& c : cases) {
        std::string stored;
        TextError error;
        ASSERT_TRUE(HebrewToStored(utf32(c.written), stored, error))
            << c.written << ": " << error.message;
        EXPECT_EQ(stored, c.stored) << c.written;
        bool exact = false;
        EXPECT_EQ(encodeUtf8(StoredToHebrew(stored, &exact)), c.readsBack) << c.written;
        EXPECT_TRUE(exact) << c.written;
    }
}

TEST(HebrewText, CharactersTheLetterCodeCannotCarry) {
    struct Case {
        std::string written;
        size_t index;
        const char* message;
    } cases[] = {
        {"שלום a", 5, "Latin letter"},     {"אב Z", 3, "Latin letter"},
        {"אב ~", 3, "cannot carry"},       {"אב – גד", 3, "cannot carry"}, // en dash
        {"אב\u00A0גד", 2, "cannot carry"},                                 // no-break space
        {"אב\tגד", 2, "cannot carry"},     {"״אב״ “גד”", 5, "cannot carry"},
    };
    for (const Case& c : cases) {
        std::string stored;
        TextError error;
        EXPECT_FALSE(HebrewToStored(utf32(c.written), stored, error)) << c.written;
        EXPECT_EQ(error.index, c.index) << c.written;
        EXPECT_NE(error.message.find(c.message), std::string::npos)
            << c.written << ": " << error.message;
    }
    std::string stored;
    TextError error;
    EXPECT_FALSE(LatinToStored(utf32("abc א"), stored, error));
    EXPECT_EQ(error.index, 4u);
    EXPECT_NE(error.message.find("Hebrew letter"), std::string::npos);
    EXPECT_TRUE(LatinToStored(utf32("Plain ASCII {~}."), stored, error));
    EXPECT_EQ(stored, "Plain ASCII {~}.");
}

TEST(HebrewText, MalformedUtf8) {
    std::u32string out;
    size_t bad = 99;
    for (const std::string& s :
         {std::string("ab\xC3"), std::string("ab\xC3(", 4), std::string("\xE0\x80\x80"),
          std::string("\xED\xA0\x80"), std::string("\xFF")}) {
        EXPECT_FALSE(decodeUtf8(s, out, &bad)) << testing::PrintToString(s);
    }
    EXPECT_FALSE(decodeUtf8("ab\xC3", out, &bad));
    EXPECT_EQ(bad, 2u);
}
} // namespace
