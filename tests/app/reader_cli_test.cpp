// The reader's command line: the book it carries, or the one given with --book.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/fixtures.h"
#include "tests/support/process.h"
#include "tools/bookc/book_compile.h"

namespace fs = std::filesystem;

namespace {
Outcome runReader(const std::string& args) {
    return runProgram("VERSEWELL", args);
}

TEST(ReaderCommandLine, EmbeddedAndBundledBooks) {
    // The embedded book has lesson 53; the two-lesson fixture bundle does not.
    Outcome embedded = runReader("--layout 53");
    EXPECT_EQ(embedded.status, 0) << embedded.err;

    fs::path dir = fs::temp_directory_path() / ("reader-book-" + std::to_string(::getpid()));
    std::vector<BundleResource> resources;
    std::vector<std::string> errors;
    ASSERT_TRUE(
        CompileBook(sourceDir() + "/tests/fixtures/small-book", resources, errors, nullptr));
    fs::create_directories(dir);
    std::vector<uint8_t> bundle = buildBookBundle(resources);
    std::ofstream((dir / "small.bundle").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bundle.data()), std::streamsize(bundle.size()));
    std::string book = " --book " + (dir / "small.bundle").string();
    Outcome small = runReader("--layout 2" + book);
    EXPECT_EQ(small.status, 0) << small.err;
    EXPECT_NE(small.out.find("totalLines="), std::string::npos) << small.out;
    Outcome missing = runReader("--layout 53" + book);
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no lesson 53"), std::string::npos) << missing.err;

    std::ofstream((dir / "bad.bundle").string(), std::ios::binary) << "not a bundle";
    for (const std::string& args : {"--book " + (dir / "bad.bundle").string(),
                                    "--layout 1 --book " + (dir / "bad.bundle").string()}) {
        Outcome bad = runReader(args);
        EXPECT_EQ(bad.status, 2) << args;
        EXPECT_NE(bad.err.find("bad.bundle: not a book bundle"), std::string::npos) << bad.err;
    }
    Outcome absent = runReader("--book " + (dir / "missing.bundle").string());
    EXPECT_EQ(absent.status, 2);
    EXPECT_NE(absent.err.find("missing.bundle"), std::string::npos) << absent.err;
    fs::remove_all(dir);
}

TEST(ReaderCommandLine, UsageAndVersion) {
    EXPECT_EQ(runReader("--help").status, 0);
    EXPECT_NE(runReader("--version").out.find("versewell "), std::string::npos);
    for (const char* args : {"--frobnicate", "--book"}) {
        Outcome o = runReader(args);
        EXPECT_EQ(o.status, 2) << args;
        EXPECT_NE(o.err.find("usage: versewell"), std::string::npos) << args;
    }
}

// Options in any order, the reader's own arguments, file names that are not UTF-8, a book
// file without end, and a display that does not answer.
TEST(ReaderCommandLine, ArgumentsAsUsersGiveThem) {
    fs::path dir = fs::temp_directory_path() / ("reader-args-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string bundle = std::string(VW_BUILD_DIR) + "/book/book.bundle";
    // Bytes 0xFF and 0xFE make the names invalid UTF-8.
    std::string oddBook = (dir / "b\xff.bundle").string(), oddPng = (dir / "p\xfe.png").string();
    fs::copy_file(bundle, oddBook);
    // What the mode prints when it runs: lesson 2's layout (its first line and its summary) and
    // the week of 2007-03-11 abroad.
    std::string layout2 = runReader("--layout 2").out;
    ASSERT_NE(layout2.find("totalLines="), std::string::npos) << layout2;
    struct Case {
        std::string args;
        int status;
        const char* message;  // on standard error, or null
        std::string out = ""; // all of standard output, when given
    } cases[] = {
        {"--book " + bundle + " --render 1 -o " + (dir / "a.png").string(), 0, nullptr},
        {"--top 3 --book " + bundle + " --layout 2", 0, nullptr, layout2},
        {"--abroad --week 2007-03-11", 0, nullptr, "2007-03-11\t2007-03-17\t-21\t33\n"},
        {"--book '" + oddBook + "' --layout 2", 0, nullptr, layout2},
        {"--render 2 -o '" + oddPng + "'", 0, nullptr},
        {"foo", 2, "unknown argument 'foo'"},
        {"/today foo", 2, "unknown argument 'foo'"},
        {"/today /today", 2, "unknown argument '/today'"},
        {"x/today", 2, "unknown argument"},
        {"--book " + bundle + " --book " + bundle, 2, "--book given twice"},
        {"--book /dev/zero", 2, "/dev/zero: is larger than 16 MB"},
        {"--layout 1 --book /dev/zero", 2, "is larger than 16 MB"},
        {"--book " + dir.string(), 2, "is a folder"},
    };
    for (const Case& c : cases) {
        Outcome o = runReader(c.args);
        EXPECT_EQ(o.status, c.status) << c.args << "\n" << o.err;
        if (c.message) {
            EXPECT_NE(o.err.find(c.message), std::string::npos) << c.args << "\n" << o.err;
        }
        if (!c.out.empty()) {
            EXPECT_EQ(o.out, c.out) << c.args;
        }
    }
    EXPECT_TRUE(fs::exists(dir / "a.png"));
    EXPECT_GT(fs::file_size(oddPng), 100u) << "-o writes the name it was given";

    // A display nobody listens on is refused like no display at all, not with an abort.
    for (const char* display : {"DISPLAY=:7391", "DISPLAY="}) {
        // A runtime folder of its own: no reader elsewhere answers this start.
        Outcome o = runCommand(std::string("env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY ") +
                               "XDG_RUNTIME_DIR=" + dir.string() + " " + display + " " +
                               std::getenv("VERSEWELL"));
        EXPECT_EQ(o.status, 2) << display << "\n" << o.err;
        EXPECT_NE(o.err.find("no display to open the reading window on"), std::string::npos)
            << display << "\n"
            << o.err;
    }
    fs::remove_all(dir);
}
} // namespace
