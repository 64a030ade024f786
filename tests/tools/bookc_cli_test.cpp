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
} // namespace
