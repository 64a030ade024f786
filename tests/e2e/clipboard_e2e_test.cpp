// Copy and Append in the running reader, read back by another program (xclip) from the X
// clipboard, against what --export writes for the same lesson.
#include "tests/e2e/desktop.h"

namespace {
using namespace e2e;

class Clipboard : public Desktop {
protected:
    // The reader on lesson 5 with letter base `base`.
    std::string startOnLesson5(const std::string& base) {
        writeSettings("[General]\nLesson=dword:5\nFlags=dword:d1140044\nFontName=David CLM\n"
                      "FontAsciiBase=dword:" +
                      base + "\n");
        pid_ = start();
        return window();
    }
    std::string clipboard(const std::string& type) {
        std::string bytes;
        EXPECT_EQ(run("xclip -selection clipboard -o -t " + type, &bytes), 0) << type;
        return bytes;
    }
    std::string exported(const std::string& args, const std::string& name) {
        std::string file = (home_ / name).string();
        EXPECT_EQ(
            run(std::string(std::getenv("VERSEWELL")) + " --export 5 " + args + " -o " + file), 0);
        std::string bytes;
        ReadFile(file, bytes);
        return bytes;
    }
    pid_t pid_ = 0;
};

TEST_F(Clipboard, CopyAndAppendGiveTheExportedRichText) {
    std::string id = startOnLesson5("5d0");
    ASSERT_FALSE(id.empty()) << readerLogs();
    keys(id, "ctrl+c");
    std::string copied = clipboard("text/rtf");
    std::string expected = exported("--rtf", "copy.rtf");
    ASSERT_GT(expected.size(), 1000u);
    EXPECT_TRUE(copied == expected)
        << "byte for byte: " << copied.size() << " and " << expected.size() << " bytes";
    EXPECT_TRUE(clipboard("text/richtext") == expected);
    // The same text beside it, for the programs that paste only text.
    std::string text = exported("--text", "copy.txt");
    EXPECT_TRUE(clipboard("UTF8_STRING") == text) << "the Unicode text beside the Rich Text";

    keys(id, "ctrl+e");
    std::string appended = clipboard("text/rtf");
    std::string twice =
        exported("--rtf --append-to " + (home_ / "copy.rtf").string(), "append.rtf");
    EXPECT_GT(twice.size(), expected.size());
    EXPECT_TRUE(appended == twice) << appended.size() << " and " << twice.size() << " bytes";
    EXPECT_TRUE(clipboard("UTF8_STRING") == text + text) << "Append extends the text too";
    EXPECT_EQ(quit(pid_, id), 0);
}

TEST_F(Clipboard, CopyUnderBase224GivesUtf8Text) {
    std::string id = startOnLesson5("e0");
    ASSERT_FALSE(id.empty()) << readerLogs();
    keys(id, "ctrl+c");
    std::string expected = exported("--text --base 224", "copy.txt");
    ASSERT_GT(expected.size(), 1000u);
    EXPECT_TRUE(clipboard("UTF8_STRING") == expected);
    EXPECT_EQ(clipboard("TARGETS").find("text/rtf"), std::string::npos);
    EXPECT_EQ(quit(pid_, id), 0);
}
} // namespace
