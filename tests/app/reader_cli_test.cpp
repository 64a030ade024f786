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
    std::vector<uint8_t> bundle = BuildBookBundle(resources);
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
} // namespace
