// versewell --export: the file holds what Copy or Append would leave on the clipboard.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "content/resource.h"
#include "tests/dialogs/export_fixture.h"
#include "tests/support/process.h"
#include "tools/bookc/book_compile.h"

namespace fs = std::filesystem;

namespace {
bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return bool(out);
}

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
        {"5 --rtf -o " + dir_.string(), "is a folder"},
        // Files that cannot be read whole: said, never an abort or a run out of memory.
        {"5 --rtf --append-to " + dir_.string() + out, "is a folder"},
        {"5 --text --append-to " + dir_.string() + out, "is a folder"},
        {"5 --rtf --append-to /proc/self/mem" + out, "cannot read /proc/self/mem: "},
        {"5 --rtf --append-to /dev/zero" + out, "is larger than 16 MB"},
        {"5 --text --append-to /dev/zero" + out, "is larger than 16 MB"},
    };
    for (const Failure& f : failures) {
        Outcome o = runProgram("VERSEWELL", "--export " + f.args);
        EXPECT_EQ(o.status, 2) << f.args;
        EXPECT_NE(o.err.find(f.message), std::string::npos) << f.args << "\n" << o.err;
    }
}

// A disk that fills at each file operation of the write in turn (the fault injector fails the
// k-th one and every later one): the command either writes the new document whole or says it
// could not, and the file it was to replace is as it was, with nothing left beside it.
TEST_F(ExportCommandTest, AFullDiskLeavesTheOldFileWhole) {
    const char* shim = std::getenv("VW_FAULT_SHIM");
    ASSERT_NE(shim, nullptr);
    std::string old = exported("17 --rtf", "old.rtf");
    std::string collected = exported("9 --rtf --append-to " + path("old.rtf"), "doc.rtf");
    struct Case {
        std::string args, file, before;
    } cases[] = {
        {"5 --rtf -o " + path("old.rtf"), "old.rtf", old},
        {"5 --text -o " + path("old.rtf"), "old.rtf", old},
        {"5 --rtf --append-to " + path("doc.rtf") + " -o " + path("doc.rtf"), "doc.rtf", collected},
    };
    for (const Case& c : cases) {
        int failed = 0;
        for (int at = 1; at <= 8; ++at) {
            ASSERT_TRUE(WriteFile(path(c.file), c.before));
            std::string env = std::string("LD_PRELOAD=") + shim + " VW_FAULT_DIR=" + dir_.string() +
                              " VW_FAULT_MODE=fail VW_FAULT_AT=" + std::to_string(at) +
                              " ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 ";
            Outcome o = runCommand(env + std::getenv("VERSEWELL") + " --export " + c.args);
            std::string now;
            ASSERT_TRUE(ReadFile(path(c.file), now));
            if (o.status == 0) {
                EXPECT_NE(now, c.before) << c.args << " at " << at;
                EXPECT_GT(now.size(), 1000u) << c.args << " at " << at;
            } else {
                ++failed;
                EXPECT_EQ(o.status, 2) << c.args << " at " << at;
                EXPECT_NE(o.err.find("cannot write " + path(c.file) + ": "), std::string::npos)
                    << o.err;
                EXPECT_EQ(now, c.before) << c.args << " at " << at << ": the old file is lost";
            }
            int files = 0;
            for (const auto& entry : fs::directory_iterator(dir_))
                files += entry.is_regular_file();
            EXPECT_EQ(files, 2) << c.args << " at " << at << ": a part left behind";
        }
        EXPECT_GE(failed, 3) << c.args << ": the faults reached the write";
    }
}

// The file to append to is read whole, once: the memory taken is a small multiple of its size,
// for the Rich Text and for the text.
TEST_F(ExportCommandTest, AppendingToALargeFileTakesMemoryInProportion) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's quarantine keeps what is freed";
#endif
    // 12 MB of Rich Text, and of text with a malformed byte that the text export repairs.
    std::string big(12 * 1024 * 1024, 'a');
    big[1000] = '\xFF';
    ASSERT_TRUE(WriteFile(path("big--text"), big));
    big.replace(0, 7, "{\\rtf1 ");
    big.back() = '}';
    ASSERT_TRUE(WriteFile(path("big--rtf"), big));
    auto peakKb = [&](const std::string& args) {
        std::string command = std::string(std::getenv("VERSEWELL")) + " --export " + args;
        pid_t pid = fork();
        if (pid == 0) {
            execl("/bin/sh", "sh", "-c", ("exec " + command + " >/dev/null 2>&1").c_str(), nullptr);
            _exit(127);
        }
        int status = 0;
        struct rusage usage {};
        wait4(pid, &status, 0, &usage);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << args;
        return long(usage.ru_maxrss);
    };
    for (const char* kind : {"--rtf", "--text"}) {
        long alone = peakKb(std::string("5 ") + kind + " -o " + path("alone"));
        long appended = peakKb(std::string("5 ") + kind + " --append-to " +
                               path(std::string("big") + kind) + " -o " + path("out"));
        EXPECT_LT(appended - alone, long(6 * big.size() / 1024))
            << kind << ": " << alone << " kB alone, " << appended << " kB appending";
        std::string out, in;
        ASSERT_TRUE(ReadFile(path("out"), out));
        ASSERT_TRUE(ReadFile(path(std::string("big") + kind), in));
        EXPECT_EQ(out.compare(0, 1000, in, 0, 1000), 0) << kind << ": the file's start kept";
    }
}
} // namespace
