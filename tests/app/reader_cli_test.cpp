// The reader's command line: the book it carries, or the one given with --book.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/fixtures.h"
#include "tools/bookc/book_compile.h"

namespace fs = std::filesystem;

namespace {
struct Outcome {
    int status;
    std::string out, err;
};

Outcome runReader(const std::string& args) {
    const char* reader = std::getenv("VERSEWELL");
    EXPECT_NE(reader, nullptr) << "VERSEWELL names the reader under test";
    fs::path dir = fs::temp_directory_path() / ("reader-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string out = (dir / "out").string(), err = (dir / "err").string();
    int raw = std::system(
        (std::string(reader ? reader : "false") + " " + args + " >" + out + " 2>" + err).c_str());
    Outcome o{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", ""};
    ReadFile(out, o.out);
    ReadFile(err, o.err);
    fs::remove_all(dir);
    return o;
}

TEST(ReaderCommandLine, EmbeddedAndBundledBooks) {
    Outcome embedded = runReader("");
    EXPECT_EQ(embedded.status, 0) << embedded.err;
    EXPECT_NE(embedded.out.find("53 of 53 lessons and its section index"), std::string::npos)
        << embedded.out;

    fs::path dir = fs::temp_directory_path() / ("reader-book-" + std::to_string(::getpid()));
    std::vector<BundleResource> resources;
    std::vector<std::string> errors;
    ASSERT_TRUE(
        CompileBook(sourceDir() + "/tests/fixtures/small-book", resources, errors, nullptr));
    fs::create_directories(dir);
    std::vector<uint8_t> bundle = BuildBookBundle(resources);
    std::ofstream((dir / "small.bundle").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bundle.data()), std::streamsize(bundle.size()));
    Outcome small = runReader("--book " + (dir / "small.bundle").string());
    EXPECT_EQ(small.status, 0) << small.err;
    EXPECT_NE(small.out.find("2 of 53 lessons"), std::string::npos) << small.out;

    std::ofstream((dir / "bad.bundle").string(), std::ios::binary) << "not a bundle";
    Outcome bad = runReader("--book " + (dir / "bad.bundle").string());
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("bad.bundle: not a book bundle"), std::string::npos) << bad.err;
    Outcome missing = runReader("--book " + (dir / "missing.bundle").string());
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("missing.bundle"), std::string::npos) << missing.err;
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
