// The one UTF-8 decoder: strict for the book's sources and the command line, lenient (U+FFFD)
// for files the reader appends to.
#include <gtest/gtest.h>

#include <string>

#include "platform/utf8.h"

TEST(Utf8, StrictAndLenientAgreeOnWhatIsMalformed) {
    struct Case {
        std::string bytes;
        size_t badOffset;       // npos: well-formed
        std::u16string lenient; // what the lenient decoder makes of it
    };
    const size_t ok = std::string::npos;
    const Case cases[] = {
        {"a\xD7\x90z", ok, u"a\u05D0z"},
        {"\xF0\x9F\x98\x80", ok, u"\U0001F600"},
        {"\xC0\xAF!", 0, u"\uFFFD!"},       // overlong '/': one replacement for both bytes
        {"x\xED\xA0\x80", 1, u"x\uFFFD"},   // a surrogate
        {"\xF4\x90\x80\x80", 0, u"\uFFFD"}, // past U+10FFFF
        {"\xD7", 0, u"\uFFFD"},             // cut short at the end
        {"\xE2\x82z", 0, u"\uFFFDz"},       // cut short before a plain byte
        {"\x80\xBF", 0, u"\uFFFD\uFFFD"},   // lone continuation bytes
        {"\xF8\x88\x80\x80\x80", 0, u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        std::u32string points;
        size_t bad = ok;
        bool wellFormed = decodeUtf8(c.bytes, points, &bad);
        EXPECT_EQ(wellFormed, c.badOffset == ok) << c.bytes;
        if (!wellFormed) {
            EXPECT_EQ(bad, c.badOffset) << c.bytes;
        }
        std::u16string strict;
        EXPECT_EQ(utf8ToUnitsStrict(c.bytes, strict), wellFormed) << c.bytes;
        if (wellFormed) {
            EXPECT_EQ(strict, c.lenient);
        }
        EXPECT_EQ(utf8ToUnits(c.bytes), c.lenient) << c.bytes;
        EXPECT_EQ(repairUtf8(c.bytes), unitsToUtf8(c.lenient.c_str()))
            << c.bytes << ": repaired in UTF-8 as through 16-bit units";
    }
}

TEST(Utf8, UnitsRoundTripAndLoneSurrogatesBecomeReplacements) {
    const char16_t units[] = {u'a', 0x05D0, 0xD83D, 0xDE00, 0xDC00, u'b', 0};
    std::string bytes = unitsToUtf8(units);
    EXPECT_EQ(bytes, "a\xD7\x90\xF0\x9F\x98\x80\xEF\xBF\xBD"
                     "b");
    EXPECT_EQ(utf8ToUnits(bytes), std::u16string(u"a\u05D0\U0001F600\uFFFDb"));
}
