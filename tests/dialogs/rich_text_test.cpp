// The Rich Text body and document: spaces, paragraphs, escapes (with the two characters that
// used to break documents: braces and digits after an escape), presentation forms, Append.
#include "dialogs/rich_text.h"

#include <cstring>

#include "content/resource.h"
#include "tests/dialogs/export_fixture.h"
#include "tests/support/rtf_text.h"

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
        {"a single space as it is", u"a b", "a b"},
        {"three spaces stay three, set apart", u"a   b", "a {} {} b"},
        {"after punctuation and digits", u"19-20:  the", "19-20: {} the"},
        {"a CR LF run is one break", u"a\r\n\r\nb", "a" + par + "b"},
        {"a lone LF too", u"a\nb", "a" + par + "b"},
        {"Hebrew letters", u"\u05D0\u05D1", "\\u1488\\u1489"},
        {"space after an escape, one more that ends it", u"\u05D0 \u05D1", "\\u1488  \\u1489"},
        {"a run after an escape", u"\u05D0   \u05D1", "\\u1488  {} {} \\u1489"},
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

// The whole document of a copied "x", written out: the header's font table (David, Hebrew code
// page), colours (black, white, red), right-to-left document and paragraph, 10-point type and
// escapes without fallback; the office check shows that a word processor reads it.
TEST(RichTextDocument, TheCopiedDocumentInFull) {
    size_t bytes = 0;
    char* document = richTextDocument(nullptr, 0, u"x", &bytes);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(
        std::string(document),
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset177\\cpg1255 David;}}"
        "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red255\\green0\\blue0;}"
        "\\rtldoc\\pard\\rtlpar\\qr\\lang1033\\f0\\fs20\\uc0\r\n"
        "x\\par\\par\r\n"
        "}\r\n");
    EXPECT_EQ(bytes, std::strlen(document) + 1);
    plainFree(document);
}

TEST(RichTextDocument, CopyAndAppend) {
    const std::string bodyX = "x\\par\\par\r\n";
    const std::string appended = std::string(kRtfSeparator) + kRtfAppendedState + bodyX + "}\r\n";
    struct Case {
        const char* name;
        std::string previous;
        std::string document;
    } cases[] = {
        {"Copy", "", kRtfHeader + bodyX + "}\r\n"},
        {"Append onto our own", std::string(kRtfHeader) + "a\\par\\par\r\n}\r\n",
         std::string(kRtfHeader) + "a\\par\\par\r\n" + appended},
        {"trailing blanks", "{\\rtf1 a} \t\r\n", "{\\rtf1 a" + appended},
        {"a brace too many: the document ends at the first", "{\\rtf1 a}}", "{\\rtf1 a" + appended},
        {"data after the end is dropped", "{\\rtf1 a}\r\n\x01junk{", "{\\rtf1 a" + appended},
        {"escaped braces are text", "{\\rtf1 \\}a\\{}", "{\\rtf1 \\}a\\{" + appended},
        {"no closing brace", "{\\rtf1 a", "{\\rtf1 a" + appended},
        {"cut short in groups: they are closed", "{\\rtf1 a{\\b b{\\i c",
         "{\\rtf1 a{\\b b{\\i c}}" + appended},
        {"cut short after a backslash", "{\\rtf1 a{\\b b\\", "{\\rtf1 a{\\b b}" + appended},
        {"blanks before the document", "\r\n {\\rtf1 a}", "\r\n {\\rtf1 a" + appended},
        {"nothing but a brace and blanks", " } \r\n", kRtfHeader + bodyX + "}\r\n"},
        {"plain text starts a new document", "hello {world}", kRtfHeader + bodyX + "}\r\n"},
        {"binary data too", std::string("\x89PNG\0\x01{\\rtf", 10), kRtfHeader + bodyX + "}\r\n"},
        {"{\\rt is not enough", "{\\rt}", kRtfHeader + bodyX + "}\r\n"},
    };
    for (const Case& c : cases) {
        size_t bytes = 0;
        char* document = richTextDocument(c.previous.data(), c.previous.size(), u"x", &bytes);
        ASSERT_NE(document, nullptr) << c.name;
        EXPECT_EQ(std::string(document), c.document) << c.name;
        // Exactly the document and its 0: no byte the reader never wrote goes to the clipboard.
        EXPECT_EQ(bytes, c.document.size() + 1) << c.name;
        std::u16string read;
        std::string error;
        EXPECT_TRUE(ReadRtfText(document, &read, &error)) << c.name << ": " << error;
        plainFree(document);
    }
}

// What a Rich Text reader shows of the document is the text export, line for line, spaces
// included: runs of spaces after letters, digits, punctuation and escapes, and every lesson.
TEST(RichTextDocument, AReaderGetsTheTextBackLineForLine) {
    std::vector<std::u16string> texts = {
        u"Exodus  19-20:  the  mountain\r\n",
        u"\u05D0 \u05D1  \u05D2   \u05D3\r\n\r\n",
        u"   \u05D0 1 22  333   x\r\n",
        u"\u05D0.  \u05D1,   (\u05D2)    \uFB2C \u05D3   \r\n",
        u"    \r\n{a}  \\ b\r\n",
    };
    appState.fontSpec.FontAsciiBase = 1488;
    appState.Flags = DefaultFlags;
    for (int n = 1; n <= 53; ++n) {
        uint8_t* lesson = LoadBookResource(n, nullptr);
        ASSERT_NE(lesson, nullptr);
        char16_t* text = exportLessonText(lesson);
        ASSERT_NE(text, nullptr);
        texts.emplace_back(text);
        plainFree(text);
        plainFree(lesson);
    }
    for (const std::u16string& text : texts) {
        char* document = richTextDocument(nullptr, 0, text.c_str(), nullptr);
        ASSERT_NE(document, nullptr);
        std::u16string read;
        std::string error;
        EXPECT_TRUE(ReadRtfText(document, &read, &error)) << error;
        // Presentation forms go out as their decompositions.
        std::u16string expected;
        for (char16_t u : text) {
            if (u == 0xFB2C) {
                expected += u"\u05E9\u05BC\u05C1";
            } else {
                expected += u;
            }
        }
        std::vector<std::u16string> want = FilledLines(expected), got = FilledLines(read);
        EXPECT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size() && i < got.size(); ++i)
            EXPECT_EQ(got[i], want[i]) << "line " << i;
        plainFree(document);
    }
}

// The appended lesson reads back whole after any document: one of a word processor's, which
// declares a fallback character after each escape (\uc1), our own, one cut short, or content
// that is no Rich Text at all (a new document is started).
TEST(RichTextDocument, AppendedTextReadsBackAfterAnyDocument) {
    const std::u16string lesson = u"\u05D9\u05DC\u05D3 \u05D1\u05EA\u05D9\u05D1\u05D4  1 2\r\n"
                                  u"\u05D5\u05D0\u05D9\u05E9 \u05D1\u05D5\u05E8\u05D7\r\n";
    const std::string office =
        "{\\rtf1\\ansi\\deff0\\uc1{\\fonttbl{\\f0\\froman Times New Roman;}}"
        "{\\*\\generator Writer;}\\pard\\plain\\ltrpar\\ql\\f0\\fs24 "
        "\\u1513\\'3f\\u1500\\'3f\\u1493\\'3f\\u1501\\'3f \\u1506\\'3f\\u1493\\'3f"
        "\\u1500\\'3f\\u1501\\'3f\\par}\r\n";
    const std::u16string officeText = u"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD";
    char* own = richTextDocument(nullptr, 0, u"\u05D0 b\r\n", nullptr);
    ASSERT_NE(own, nullptr);
    // The separator's stars stand two spaces apart, which a reader widens.
    const std::u16string stars = u"* \u2006 * \u2006 * \u2006 * \u2006 *";
    struct Case {
        const char* name;
        std::string previous;
        std::vector<std::u16string> before; // the lines a reader shows before the lesson's
    } cases[] = {
        {"a word processor's document", office, {officeText, stars}},
        {"our own", own, {u"\u05D0 b", stars}},
        // Without its last paragraph break: the stars follow the text in its paragraph.
        {"cut short inside groups",
         office.substr(0, office.size() - 7) + "{\\b\\i \\u1488\\'3f{\\ul \\u1489\\'",
         {officeText + u"\u05D0\u05D1" + stars}},
        {"plain text", "just some text\n", {}},
        {"binary data",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\xFF\xFE{{{",
                     13),
         {}},
    };
    plainFree(own);
    for (const Case& c : cases) {
        char* document =
            richTextDocument(c.previous.data(), c.previous.size(), lesson.c_str(), nullptr);
        ASSERT_NE(document, nullptr) << c.name;
        std::u16string read;
        std::string error;
        ASSERT_TRUE(ReadRtfText(document, &read, &error)) << c.name << ": " << error;
        std::vector<std::u16string> want = c.before;
        for (const std::u16string& line : FilledLines(lesson))
            want.push_back(line);
        EXPECT_EQ(FilledLines(read), want) << c.name;
        if (c.before.empty()) {
            EXPECT_EQ(std::string(document).rfind(kRtfHeader, 0), 0u) << c.name;
        }
        plainFree(document);
    }
}
} // namespace
