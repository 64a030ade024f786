// versewell --export: the file holds what Copy or Append would leave on the clipboard.
#include <filesystem>

#include "content/resource.h"
#include "tests/dialogs/export_fixture.h"
#include "tests/support/process.h"
#include "tools/bookc/book_compile.h"

namespace fs = std::filesystem;

namespace {
class ExportCommandTest : public ExportTest {
protected:
    void SetUp() override {
        ExportTest::SetUp();
        dir_ = fs::temp_directory_path() / ("vw-export-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::remove_all(dir_);
        ExportTest::TearDown();
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string exported(const std::string& args, const std::string& name) {
        Outcome o = runProgram("VERSEWELL", "--export " + args + " -o " + path(name));
        EXPECT_EQ(o.status, 0) << args << "\n" << o.err;
        std::string bytes;
        EXPECT_TRUE(ReadFile(path(name), bytes));
        return bytes;
    }
    // Copy (append 0) or Append of book lesson n in this process.
    static void copyBookLesson(int n, int append) {
        uint8_t* bytes = LoadBookResource(n, nullptr);
        ASSERT_NE(bytes, nullptr);
        TextView view{};
        view.text = bytes;
        copyLessonToClipboard(&view, append);
        plainFree(bytes);
    }
    fs::path dir_;
};

TEST_F(ExportCommandTest, WritesWhatCopyAndAppendPutOnTheClipboard) {
    for (int n : {1, 17, 53}) {
        chooseBase(1488);
        copyBookLesson(n, 0);
        EXPECT_EQ(exported(std::to_string(n) + " --rtf", "copy.rtf"), richText()) << n;
        copyBookLesson(n % 53 + 1, 1);
        EXPECT_EQ(exported(std::to_string(n % 53 + 1) + " --rtf --append-to " + path("copy.rtf"),
                           "append.rtf"),
                  richText())
            << n;

        chooseBase(224, true);
        copyBookLesson(n, 0);
        EXPECT_EQ(exported(std::to_string(n) + " --text --base 224 --reverse", "copy.txt"),
                  clipboardTypeData("text/plain"))
            << n;
        copyBookLesson(n, 1);
        EXPECT_EQ(exported(std::to_string(n) + " --text --base 224 --reverse --append-to " +
                               path("copy.txt"),
                           "append.txt"),
                  clipboardTypeData("text/plain"))
            << n;
    }
    // The text of any base, for comparing with the Rich Text; no ending 0.
    std::string text = exported("5 --text", "5.txt");
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_EQ(text.compare(0, 3, "\xD7\x99\xD7"), 0) << "Hebrew in UTF-8, in reading order";
}

TEST_F(ExportCommandTest, BadArgumentsGiveTheUsage) {
    std::string out = " -o " + path("x");
    struct Case {
        std::string args;
        const char* message;
    } cases[] = {
        {out, "which lesson"},
        {"5" + out, "--rtf or --text"},
        {"5 --rtf --text" + out, "one of the two"},
        {"5 --rtf", "needs -o FILE"},
        {"0 --rtf" + out, "lesson must be"},
        {"5 --rtf --base 1000" + out, "97, 224 or 1488"},
        {"5 --rtf --append-to", "--append-to needs a file"},
        {"5 --rtf --frobnicate" + out, "unknown argument"},
        {"54 --rtf" + out, "from 1 to 53"},
        {"31767 --rtf" + out, "from 1 to 53"},
    };
    for (const Case& c : cases) {
        Outcome o = runProgram("VERSEWELL", "--export " + c.args);
        EXPECT_EQ(o.status, 2) << c.args;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << c.args << "\n" << o.err;
        EXPECT_NE(o.err.find("usage: versewell --export"), std::string::npos) << c.args;
    }
    struct Failure {
        std::string args;
        const char* message;
    } failures[] = {
        {"5 --rtf --append-to " + path("missing") + out, "cannot read"},
        {"5 --rtf -o " + path("no/such/folder/x"), "cannot write"},
    };
    for (const Failure& f : failures) {
        Outcome o = runProgram("VERSEWELL", "--export " + f.args);
        EXPECT_EQ(o.status, 2) << f.args;
        EXPECT_NE(o.err.find(f.message), std::string::npos) << f.args << "\n" << o.err;
    }
}
} // namespace
