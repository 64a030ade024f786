// Copy and Append on the clipboard of the offscreen platform: the document for each letter
// base, Append onto each kind of content, one format left, and the failures that change
// nothing.
#include "dialogs/rich_text.h"
#include "tests/dialogs/export_fixture.h"
#include "tests/support/shell_fixture.h"

namespace {
const std::string kPar = "\\par\\par\r\n";

// Whether the document's unescaped braces close every group they open, and only at the end.
bool bracesBalance(const std::string& document) {
    int depth = 0;
    for (size_t i = 0; i < document.size(); ++i) {
        char c = document[i];
        if (c == '\\') {
            ++i; // an escaped character, or the first letter of a control word
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0) return false;
            if (depth == 0 && document.find_first_not_of("\r\n", i + 1) != std::string::npos)
                return false;
        }
    }
    return depth == 0;
}

size_t occurrences(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

class ClipboardExport : public ExportTest {};

TEST_F(ClipboardExport, CopyUnderBase1488PutsRichTextAndItsText) {
    putClipboardTypes({{"text/plain", "old"}, {"text/html", "<b>old</b>"}});
    copy("[raw] 10 00 61 62", 0);
    std::string expected = kRtfHeader + ("\\u1489\\u1488" + kPar + kPar) + "}\r\n";
    EXPECT_EQ(richText(), expected);
    EXPECT_EQ(clipboardTypeData("text/richtext"), expected);
    // The same text for the programs that paste only text, in UTF-8 on the wire.
    EXPECT_EQ(clipboardTypeData("text/plain"), "\xD7\x91\xD7\x90\r\n");
    EXPECT_EQ(clipboardFormats(), (std::vector<unsigned>{richTextFormat(), ClipboardUnicodeText}))
        << "nothing else";
}

TEST_F(ClipboardExport, TwoAppendsMakeOneDocument) {
    copy("[raw] 10 00 61", 0);
    copy("[raw] 10 00 62", 1);
    copy("[p latin margin=0] c", 1);
    std::string document = richText();
    const std::string next = std::string(kRtfSeparator) + kRtfAppendedState;
    EXPECT_EQ(document, kRtfHeader + ("\\u1488" + kPar + kPar) + next + ("\\u1489" + kPar + kPar) +
                            next + ("c" + kPar + kPar) + "}\r\n");
    EXPECT_EQ(occurrences(document, "{\\rtf1"), 1u);
    EXPECT_TRUE(bracesBalance(document));
    EXPECT_EQ(unicodeText(), u"\u05D0\r\n\u05D1\r\nc\r\n") << "the text extended too";
}

TEST_F(ClipboardExport, AppendOfRichTextOntoOtherContent) {
    const std::string fresh = kRtfHeader + ("\\u1488" + kPar + kPar) + "}\r\n";
    const std::string appended = "{\\rtf1 old" + (kRtfSeparator + std::string(kRtfAppendedState)) +
                                 ("\\u1488" + kPar + kPar) + "}\r\n";
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> before;
        std::string document;
        std::string text; // text/plain after it
    } cases[] = {
        {"an empty clipboard", {}, fresh, "\xD7\x90\r\n"},
        {"plain text only: a new document, the text extended",
         {{"text/plain", "old"}},
         fresh,
         "old\xD7\x90\r\n"},
        {"text/richtext of another program",
         {{"text/richtext", "{\\rtf1 old}"}},
         appended,
         "\xD7\x90\r\n"},
        {"application/rtf of another program",
         {{"application/rtf", "{\\rtf1 old}\r\n"}, {"text/plain", "old"}},
         appended,
         "old\xD7\x90\r\n"},
        {"Rich Text that is none: a new document",
         {{"text/rtf", "plain words"}, {"text/plain", "plain words"}},
         fresh,
         "plain words\xD7\x90\r\n"},
    };
    for (const Case& c : cases) {
        putClipboardTypes(c.before);
        copy("[raw] 10 00 61", 1);
        EXPECT_EQ(richText(), c.document) << c.name;
        EXPECT_EQ(clipboardTypeData("text/plain"), c.text) << c.name;
        EXPECT_EQ(clipboardFormats(),
                  (std::vector<unsigned>{richTextFormat(), ClipboardUnicodeText}))
            << c.name;
    }
}

TEST_F(ClipboardExport, BracesAndDigitsInHebrewKeepTheDocumentWhole) {
    // 0x7E is '{' under base 1488, and mirrored to '}' by the export's reading order.
    copy("[raw] 10 00 61 7E 62", 0);
    std::string document = richText();
    EXPECT_NE(document.find("\\u1489\\}\\u1488\\par"), std::string::npos) << document;
    EXPECT_TRUE(bracesBalance(document)) << document;
    // A letter right before a digit: the digit must not join the escape's number.
    copy("[raw] 10 00 32 31 61", 0);
    EXPECT_NE(richText().find("\\u1488 21\\par"), std::string::npos) << richText();
}

TEST_F(ClipboardExport, OtherBasesPutUnicodeText) {
    putClipboardTypes({{"text/rtf", "{\\rtf1 old}"}});
    chooseBase(224);
    copy("[raw] 10 00 61 62 63\n[raw] 90 00 7B", 0);
    const std::u16string once = u"\u00E0\u00E1\u00E2\r\n\u00FA\r\n\r\n";
    EXPECT_EQ(unicodeText(), once);
    EXPECT_EQ(clipboardFormats(), std::vector<unsigned>{ClipboardUnicodeText});
    EXPECT_EQ(clipboardTypeData("text/plain"), "\xC3\xA0\xC3\xA1\xC3\xA2\r\n\xC3\xBA\r\n\r\n")
        << "UTF-8 on the wire";
    copy("[raw] 10 00 61 62 63\n[raw] 90 00 7B", 1);
    EXPECT_EQ(unicodeText(), once + once) << "directly behind the old text";

    chooseBase(97);
    putClipboardTypes({{"text/rtf", "{\\rtf1 old}"}});
    copy("[raw] 10 00 61", 1);
    EXPECT_EQ(unicodeText(), u"a\r\n") << "Rich Text only: new text";
    EXPECT_EQ(clipboardFormats(), std::vector<unsigned>{ClipboardUnicodeText});
}

TEST_F(ClipboardExport, FailuresChangeNothing) {
    auto holdsKeep = [] {
        return clipboardTypes() == std::vector<std::string>{"text/plain"} &&
               clipboardTypeData("text/plain") == "keep";
    };
    for (int base : {1488, 224}) {
        for (int append : {0, 1}) {
            chooseBase(base);
            putClipboardTypes({{"text/plain", "keep"}});
            failClipboardOpen(true);
            copy("[raw] 10 00 61", append);
            failClipboardOpen(false);
            EXPECT_TRUE(holdsKeep()) << "unopenable, base " << base << " append " << append;
        }
    }

    copyLessonToClipboard(nullptr, 0);
    TextView empty{};
    copyLessonToClipboard(&empty, 1);
    EXPECT_TRUE(holdsKeep()) << "no view, no lesson";

    // No memory for the clipboard block (the last allocation of each put).
    putClipboardTypes({{"text/plain", "keep"}});
    injectAllocFailures(1, 1); // the body is made, the block is not
    putRichText(u"x", 0);
    injectAllocFailures(2, 1); // the Rich Text is made, the Unicode text beside it is not
    putRichText(u"x", 0);
    injectAllocFailures(1, 1); // the copy of the old text is made, the block is not
    putUnicodeText(u"x", 1);
    injectAllocFailures(0, 0);
    EXPECT_TRUE(holdsKeep()) << "no block";
    EXPECT_TRUE(takeShownMessages().empty());
}

class ClipboardCommands : public ShellTest {};

TEST_F(ClipboardCommands, CopyAndAppendFromTheMenu) {
    start();
    appState.fontSpec.FontAsciiBase = 1488;
    char16_t* text = exportLessonText(view()->text);
    ASSERT_NE(text, nullptr);
    size_t bytes = 0;
    char* once = richTextDocument(nullptr, 0, text, &bytes);
    plainFree(text);
    ASSERT_NE(once, nullptr);

    command(CmdCopy);
    std::string copied = clipboardTypeData("text/rtf");
    EXPECT_EQ(copied, once);
    command(CmdAppend);
    std::string appended = clipboardTypeData("text/rtf");
    EXPECT_EQ(appended, copied.substr(0, copied.size() - 3) + kRtfSeparator + kRtfAppendedState +
                            copied.substr(180));
    plainFree(once);
}
} // namespace
