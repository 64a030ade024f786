// bookc as its users run it: compile, expand, dump and lint, with their exit statuses.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/fixtures.h"
#include "tests/support/process.h"
#include "tools/bookc/book_compile.h"
#include "tools/bookc/lesson_source.h"

namespace fs = std::filesystem;

namespace {
class BookcCli : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("BOOKC"), nullptr) << "BOOKC names the compiler under test";
        dir_ = fs::temp_directory_path() / ("bookc-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    Outcome run(const std::string& args) { return runProgram("BOOKC", args); }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }

    fs::path dir_;
};

const std::string kFixture = sourceDir() + "/tests/fixtures/small-book";

TEST_F(BookcCli, CompileExpandAndDumpRoundTrip) {
    Outcome compiled = run("compile " + kFixture + " " + path("out"));
    ASSERT_EQ(compiled.status, 0) << compiled.err;
    EXPECT_NE(compiled.out.find("2 lessons and the index"), std::string::npos) << compiled.out;
    for (const char* name : {"1001.res", "1002.res", "32767.res", "book.bundle"}) {
        EXPECT_TRUE(fs::exists(path("out/") + name)) << name;
    }

    std::string source;
    ASSERT_TRUE(ReadFile(kFixture + "/lesson-01.txt", source));
    CompiledLesson lesson;
    SourceError error;
    ASSERT_TRUE(CompileLesson("lesson-01.txt", source, lesson, error));
    Outcome expanded = run("expand " + path("out/1001.res"));
    ASSERT_EQ(expanded.status, 0) << expanded.err;
    EXPECT_EQ(expanded.out, lesson.records) << "expand gives back exactly the compiled records";

    Outcome dumped = run("dump " + path("out/book.bundle") + " 1001");
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_NE(dumped.out.find("[subtitle] פתיחה - בשנת 1948"), std::string::npos) << dumped.out;
    EXPECT_NE(dumped.out.find("[item 3] שלישי: פריט שלישי"), std::string::npos) << dumped.out;
    write("again/lesson-01.txt", "");
    fs::create_directories(dir_ / "again");
    write("again/lesson-01.txt", dumped.out);
    CompiledLesson again;
    ASSERT_TRUE(CompileLesson("again", dumped.out, again, error)) << error.describe();
    EXPECT_EQ(again.records, lesson.records);

    Outcome index = run("dump " + path("out/32767.res"));
    ASSERT_EQ(index.status, 0) << index.err;
    EXPECT_NE(index.out.find("heading 0x3FDA level=1 shown open key=0x0C : נושאים"),
              std::string::npos)
        << index.out;
    EXPECT_NE(index.out.find("entry 2 level=2 key=0x01 : סיכום (ב)"), std::string::npos)
        << index.out;
}

TEST_F(BookcCli, ExpandExitsWithTheLoadErrorCode) {
    ASSERT_EQ(run("compile " + kFixture + " " + path("out")).status, 0);
    std::string good;
    ASSERT_TRUE(ReadFile(path("out/1002.res"), good));
    std::string outer4 = good, shortPacked = good, noPacked = good;
    outer4[0] = 0, outer4[1] = 4;
    shortPacked[9] = char(uint8_t(shortPacked[9]) + 1); // plainLength one more than the data give
    noPacked[6] = 0, noPacked[7] = 0;
    write("outer4.res", outer4);
    write("short.res", shortPacked);
    write("nopacked.res", noPacked);
    write("empty.res", "");
    struct Case {
        const char* file;
        int status;
        const char* message;
    } cases[] = {{"outer4.res", 3, "bad record header"},
                 {"nopacked.res", 3, "bad record header"},
                 {"short.res", 5, "UnCompress() buffer error!"},
                 {"empty.res", 2, "resource unavailable"},
                 {"missing.res", 2, "cannot read"}};
    for (const Case& c : cases) {
        Outcome r = run("expand " + path(c.file));
        EXPECT_EQ(r.status, c.status) << c.file;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.file << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.file;
    }
}

TEST_F(BookcCli, LintAndUsage) {
    fs::create_directories(dir_ / "bad");
    fs::copy(kFixture, dir_ / "bad", fs::copy_options::recursive);
    write("bad/lesson-02.txt", "[title] א\n\n[p] שלום world\n\n[link 9] ב\n");
    Outcome lint = run("lint " + path("bad"));
    EXPECT_EQ(lint.status, 1);
    EXPECT_NE(lint.err.find("lesson-02.txt:3:10: a Latin letter inside a Hebrew record"),
              std::string::npos)
        << lint.err;
    write("bad/lesson-02.txt", "[title] א\n\n[link 9] ב\n");
    lint = run("lint " + path("bad"));
    EXPECT_EQ(lint.status, 1);
    EXPECT_NE(lint.err.find("link to lesson 9, which the book does not have"), std::string::npos)
        << lint.err;
    EXPECT_EQ(run("lint " + path("bad/lesson-02.txt")).status, 0)
        << "a single file is not checked against the book";
    EXPECT_EQ(run("lint " + kFixture).status, 0);
    EXPECT_EQ(run("compile " + path("bad") + " " + path("out")).status, 1);

    for (const char* args :
         {"", "frobnicate", "compile onlyone", "dump", "dump a b c", "dump x -1", "expand"}) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("usage: bookc"), std::string::npos) << args;
    }
}

// Files of the wrong kind are refused with a reason and no output: a bundle given to expand,
// a bundle whose magic is damaged, a device with no end, a folder where a source belongs.
TEST_F(BookcCli, WrongKindsOfFileAreRefused) {
    ASSERT_EQ(run("compile " + kFixture + " " + path("out")).status, 0);
    std::string bundle;
    ASSERT_TRUE(ReadFile(path("out/book.bundle"), bundle));
    std::string badMagic = bundle;
    badMagic[0] = 'X';
    write("badmagic.bundle", badMagic);
    struct Case {
        std::string args;
        const char* message;
    } cases[] = {
        {"expand " + path("out/book.bundle"), "a bundle, not a resource file"},
        {"dump " + path("badmagic.bundle"), "does not expand (load error 3)"},
        {"expand " + path("badmagic.bundle"), "bad record header"},
        {"dump /dev/zero", "larger than 16 MB"},
        {"expand /dev/zero", "larger than 16 MB"},
        {"dump " + path("out"), "is a folder"},
    };
    for (const Case& c : cases) {
        Outcome r = run(c.args);
        EXPECT_NE(r.status, 0) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.args;
    }

    fs::create_directories(dir_ / "book");
    fs::copy(kFixture, dir_ / "book", fs::copy_options::recursive);
    fs::create_directories(dir_ / "book/lesson-03.txt");
    Outcome lint = run("lint " + path("book"));
    EXPECT_EQ(lint.status, 1);
    EXPECT_NE(lint.err.find("lesson-03.txt: cannot be read"), std::string::npos) << lint.err;
}

// A compile that runs out of room (a file size limit of 4 KB stands in for the full disk: the
// real book's resources fit, its bundle does not) leaves the output as it was: nothing in a
// new folder, the earlier whole output in an old one.
TEST_F(BookcCli, ACompileThatCannotFinishLeavesNoPartialOutput) {
    const std::string book = sourceDir() + "/book";
    auto limited = [&](const std::string& out) {
        return runCommand("trap '' XFSZ; ulimit -f 8; " + std::string(std::getenv("BOOKC")) +
                          " compile " + book + " " + out);
    };
    Outcome fresh = limited(path("fresh"));
    EXPECT_EQ(fresh.status, 1) << fresh.err;
    EXPECT_NE(fresh.err.find("cannot write"), std::string::npos) << fresh.err;
    EXPECT_TRUE(fs::is_empty(dir_ / "fresh"));

    ASSERT_EQ(run("compile " + book + " " + path("old")).status, 0);
    std::string before;
    ASSERT_TRUE(ReadFile(path("old/book.bundle"), before));
    fs::resize_file(dir_ / "old/1001.res", 3); // so that a rewrite would show
    EXPECT_EQ(limited(path("old")).status, 1);
    std::string after;
    ASSERT_TRUE(ReadFile(path("old/book.bundle"), after));
    EXPECT_EQ(after, before);
    EXPECT_EQ(fs::file_size(dir_ / "old/1001.res"), 3u) << "no file replaced before all are whole";
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_ / "old"))
        ++files;
    EXPECT_EQ(files, 55) << "53 lessons, the index and the bundle, no leftovers";
}
} // namespace
