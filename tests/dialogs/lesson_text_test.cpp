// The lesson as lines of text: records, margins, rules, empty lines, letter bases, Reverse,
// and a buffer that is too small.
#include "dialogs/lesson_text.h"

#include "content/resource.h"
#include "tests/dialogs/export_fixture.h"

namespace {
class LessonText : public ExportTest {};

TEST_F(LessonText, RecordsBecomeLines) {
    struct Case {
        const char* name;
        std::string source;
        int base;
        bool reverse;
        std::u16string text;
    } cases[] = {
        // Reverse off under base 1488: turned on for the export, so reading order.
        {"letters 0x61 0x62", "[raw] 10 00 61 62", 1488, false, u"\u05D1\u05D0\r\n"},
        {"Reverse on gives stored order", "[raw] 10 00 61 62", 1488, true, u"\u05D0\u05D1\r\n"},
        {"a Hebrew paragraph reads as it was written",
         "[p margin=0] בשנת 1948, (פרק 16:8) ו-50% ג1", 1488, false,
         u"\u05D1\u05E9\u05E0\u05EA 1948, (\u05E4\u05E8\u05E7 16:8) \u05D5-50% \u05D21\r\n"},
        {"numbers as stored without the turn", "[raw] 10 00 31 32 20 61", 1488, true,
         u"12 \u05D0\r\n"},
        {"numbers under base 224 with Reverse", "[raw] 10 00 31 32 2D 33 20 61", 224, true,
         u"\u00E0 12-3\r\n"},
        {"brackets mirrored with the turn", "[raw] 10 00 61 28 62", 1488, false,
         u"\u05D1)\u05D0\r\n"},
        {"base 224 in stored order", "[raw] 10 00 61 62 7B", 224, false, u"\u00E0\u00E1\u00FA\r\n"},
        {"base 97 unchanged", "[raw] 10 00 61 62 7E", 97, false, u"ab~\r\n"},
        {"0x7E under 224", "[raw] 10 00 61 7E", 224, false, u"\u00E0{\r\n"},
        {"Latin record never converted", "[p latin left margin=0] ab~", 224, false, u"ab~\r\n"},
        {"Latin margin before", "[p latin left margin=3] ab", 1488, false, u"   ab\r\n"},
        {"Hebrew margin after", "[raw] 10 03 61", 224, false, u"\u00E0   \r\n"},
        {"label bits are not margin", "[raw] 60 C2 78", 1488, false, u"  x\r\n"},
        {"empty line after", "[p latin after margin=0] a\n[p latin margin=0] b", 1488, false,
         u"a\r\n\r\nb\r\n"},
        {"rule of 60 pixels", "[rule 60]", 1488, false, std::u16string(60, u'-') + u"\r\n"},
        {"rule of L 160", "[raw] 07 A0", 1488, false, std::u16string(160, u'-') + u"\r\n"},
        {"rule of L 170 (20 %)", "[rule 20%]", 1488, false, std::u16string(20, u'-') + u"\r\n"},
        {"rule of L 255", "[raw] 07 FF", 1488, false, std::u16string(190, u'-') + u"\r\n"},
        {"link: its L in dashes", "[p latin margin=0] x\n[link 2] קישור", 1488, false,
         u"x\r\n-\r\n"},
        {"no-op: an empty line", "[p latin margin=0] x\n[nop]\n[p latin margin=0] y", 1488, false,
         u"x\r\n\r\ny\r\n"},
    };
    for (const Case& c : cases) {
        chooseBase(c.base, c.reverse);
        std::vector<uint8_t> bytes = lesson(c.source);
        char16_t* text = exportLessonText(bytes.data());
        ASSERT_NE(text, nullptr) << c.name;
        EXPECT_EQ(std::u16string(text), c.text) << c.name;
        plainFree(text);
        EXPECT_EQ(appState.Flags & FlagReverse, c.reverse ? FlagReverse : 0u)
            << c.name << ": Flags as before";
        EXPECT_EQ(appState.letterConversion.activeLetterBase, LetterBaseLatin) << c.name;
    }
}

TEST_F(LessonText, TheMeasuredCapacityHoldsEveryLessonOfTheBook) {
    for (int base : {97, 224, 1488}) {
        for (bool reverse : {false, true}) {
            chooseBase(base, reverse);
            for (int n = 1; n <= 53; ++n) {
                uint8_t* bytes = LoadBookResource(n, nullptr);
                ASSERT_NE(bytes, nullptr) << n;
                size_t capacity = measureLessonText(bytes);
                std::vector<char16_t> out(capacity / 2);
                EXPECT_EQ(lessonToText(bytes, out.data(), capacity, base, reverse), 0)
                    << "lesson " << n;
                plainFree(bytes);
            }
        }
    }
    EXPECT_TRUE(takeShownMessages().empty());
}

TEST_F(LessonText, TooSmallABufferIsReportedAndNotOverrun) {
    std::vector<uint8_t> bytes = lesson("[p latin margin=0] abc"); // "abc\r\n" and the 0: six units
    for (size_t units : {size_t(0), size_t(1), size_t(5), size_t(6)}) {
        std::vector<char16_t> out(units + 4, u'#');
        // half a unit more
        int result = lessonToText(bytes.data(), out.data(), units * 2 + 1, LetterBaseLatin, false);
        std::vector<ShownMessage> shown = takeShownMessages();
        for (size_t i = units; i < out.size(); ++i)
            EXPECT_EQ(out[i], u'#') << units << " units: nothing written at " << i;
        if (units == 6) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(std::u16string(out.data()), u"abc\r\n");
            EXPECT_TRUE(shown.empty());
            continue;
        }
        EXPECT_EQ(result, 1) << units;
        ASSERT_EQ(shown.size(), 1u) << units;
        EXPECT_EQ(shown[0].text, u"(obuf > (start + size))");
        EXPECT_FALSE(shown[0].hasCaption);
        EXPECT_EQ(shown[0].flags, unsigned(MessageBoxOk));
    }
}
} // namespace
