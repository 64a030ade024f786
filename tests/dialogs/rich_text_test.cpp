// The Rich Text body and document: spaces, paragraphs, escapes (with the two characters that
// used to break documents: braces and digits after an escape), presentation forms, Append.
#include "dialogs/rich_text.h"

#include <cstring>

#include "content/resource.h"
#include "tests/dialogs/export_fixture.h"

namespace {
std::string body(const std::u16string& text) {
    char* made = textToRtfBody(text.c_str());
    EXPECT_NE(made, nullptr);
    std::string out = made ? made : "";
    plainFree(made);
    return out;
}

TEST(RichTextBody, UnitsAreWrittenAsAReaderExpectsThem) {
    const std::string par = "\\par\\par\r\n";
    struct Case {
        const char* name;
        std::u16string text;
        std::string body; // without the final paragraph break
    } cases[] = {
        {"printable ASCII", u"ab-1.", "ab-1."},
        {"a single space written twice", u"a b", "a  b"},
        {"three spaces become four", u"a   b", "a    b"},
        {"a CR LF run is one break", u"a\r\n\r\nb", "a" + par + "b"},
        {"a lone LF too", u"a\nb", "a" + par + "b"},
        {"Hebrew letters", u"\u05D0\u05D1", "\\u1488\\u1489"},
        {"space after an escape", u"\u05D0 \u05D1", "\\u1488  \\u1489"},
        {"backslash and braces escaped", u"{a}\\", "\\{a\\}\\\\"},
        {"a digit after an escape is set apart", u"\u05D01", "\\u1488 1"},
        {"only a digit", u"\u05D0a\u05D0-", "\\u1488a\\u1488-"},
        {"not after a plain character", u"x1", "x1"},
        {"below 32, 127 and Latin-1", u"\t\u007F\u00E9", "\\u9\\u127\\u233"},
        {"five digits", u"\u2710", "\\u10000"},
        {"three-unit presentation form", u"\uFB2C", "\\u1513\\u1468\\u1473"},
        {"two-unit form, then a digit", u"\uFB4B2", "\\u1493\\u1465 2"},
        {"a unit not in the table", u"\uFB37", "\\u64311"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(body(c.text), c.body + par) << c.name;
}

// Every unit's escape followed by a digit, and the widest escapes: the measuring pass must
// count at least what the body takes.
TEST(RichTextBody, TheMeasureCoversTheBody) {
    std::vector<std::u16string> texts = {u"",
                                         u"{}\\{}\\",
                                         u"\u05D01\u05D02\u05D03",
                                         u"\uFB2C1\uFB2D2",
                                         u"\uFFFF9\u27109",
                                         u"\t1\t2\u007F3",
                                         u"     \r\n\r\n\n  ",
                                         u"a b c d"};
    for (int n = 1; n <= 53; ++n) {
        appState.fontSpec.FontAsciiBase = n % 2 ? 1488 : 224;
        uint8_t* lesson = LoadBookResource(n, nullptr);
        ASSERT_NE(lesson, nullptr);
        char16_t* text = exportLessonText(lesson);
        texts.emplace_back(text);
        plainFree(text);
        plainFree(lesson);
    }
    for (const std::u16string& text : texts) {
        size_t written = body(text).size() + 1;
        EXPECT_GE(measureRtfBody(text.c_str()), written) << std::string(text.begin(), text.end());
    }
}

TEST(RichTextDocument, CopyAndAppend) {
    const std::string bodyX = "x\\par\\par\r\n";
    struct Case {
        const char* name;
        std::string previous;
        std::string document;
    } cases[] = {
        {"Copy", "", kRtfHeader + bodyX + "}\r\n"},
        {"Append onto our own", std::string(kRtfHeader) + "a\\par\\par\r\n}\r\n",
         std::string(kRtfHeader) + "a\\par\\par\r\n" + kRtfSeparator + bodyX + "}\r\n"},
        {"trailing blanks, one brace", "{\\rtf1 a}} \t\r\n",
         "{\\rtf1 a}" + std::string(kRtfSeparator) + bodyX + "}\r\n"},
        {"no closing brace", "{\\rtf1 a",
         "{\\rtf1 a" + std::string(kRtfSeparator) + bodyX + "}\r\n"},
        {"nothing but a brace and blanks", " } \r\n", kRtfHeader + bodyX + "}\r\n"},
    };
    for (const Case& c : cases) {
        size_t bytes = 0;
        char* document = richTextDocument(c.previous.data(), c.previous.size(), u"x", &bytes);
        ASSERT_NE(document, nullptr) << c.name;
        EXPECT_EQ(std::string(document), c.document) << c.name;
        // Exactly the document and its 0: no byte the reader never wrote goes to the clipboard.
        EXPECT_EQ(bytes, c.document.size() + 1) << c.name;
        plainFree(document);
    }
}
} // namespace
