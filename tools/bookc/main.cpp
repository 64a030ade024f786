// bookc: the book compiler. Turns the book's source folder into the resources the reader
// carries, and reads resources back.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "content/resource.h"
#include "tools/bookc/book_compile.h"
#include "tools/bookc/book_dump.h"

namespace fs = std::filesystem;

namespace {
const char kUsage[] =
    "usage: bookc compile SRC_DIR OUT_DIR   compile a book: OUT_DIR/ID.res and "
    "OUT_DIR/book.bundle\n"
    "       bookc dump FILE [ID]            a resource or bundle in readable form\n"
    "       bookc expand RESOURCE_FILE      the expanded bytes to standard output\n"
    "       bookc lint PATH...              check a book folder or single source files\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out.flush());
}

void printErrors(const std::vector<std::string>& errors) {
    for (const std::string& e : errors)
        std::fprintf(stderr, "%s\n", e.c_str());
}

int compile(const std::string& src, const std::string& outDir) {
    std::vector<BundleResource> resources;
    std::vector<std::string> errors;
    BookStats stats;
    if (!CompileBook(src, resources, errors, &stats)) {
        printErrors(errors);
        return 1;
    }
    std::error_code ec;
    fs::create_directories(outDir, ec);
    for (const BundleResource& r : resources) {
        if (!writeFile(fs::path(outDir) / (std::to_string(r.id) + ".res"), r.bytes)) {
            std::fprintf(stderr, "bookc: cannot write %s\n", outDir.c_str());
            return 1;
        }
    }
    if (!writeFile(fs::path(outDir) / "book.bundle", BuildBookBundle(resources))) {
        std::fprintf(stderr, "bookc: cannot write %s/book.bundle\n", outDir.c_str());
        return 1;
    }
    std::printf("bookc: %zu lessons and the index, %zu bytes packed to %zu (%.1f%%), largest "
                "lesson %zu bytes\n",
                stats.lessons, stats.plainBytes, stats.packedBytes,
                stats.plainBytes ? 100.0 * double(stats.packedBytes) / double(stats.plainBytes)
                                 : 0.0,
                stats.largestLesson);
    return 0;
}

int lint(const std::vector<std::string>& paths) {
    std::vector<std::string> errors, files;
    int books = 0;
    for (const std::string& p : paths) {
        if (fs::is_directory(p)) {
            std::vector<BundleResource> resources;
            BookStats stats;
            CompileBook(p, resources, errors, &stats);
            ++books;
        } else {
            files.push_back(p);
        }
    }
    CompileFiles(files, errors);
    printErrors(errors);
    if (!errors.empty()) return 1;
    std::printf("bookc: %d folder(s) and %zu file(s) checked, no errors\n", books, files.size());
    return 0;
}

bool readArg(const std::string& path, std::string& bytes) {
    if (ReadFile(path, bytes)) return true;
    std::fprintf(stderr, "bookc: cannot read %s\n", path.c_str());
    return false;
}
} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    const std::string& command = args[0];
    if (command == "compile" && args.size() == 3) return compile(args[1], args[2]);
    if (command == "lint" && args.size() >= 2) return lint({args.begin() + 1, args.end()});
    if (command == "dump" && (args.size() == 2 || args.size() == 3)) {
        long id = -1;
        if (args.size() == 3) {
            char* end = nullptr;
            id = std::strtol(args[2].c_str(), &end, 10);
            if (*end != 0 || id < 0 || id > 65535) return usage();
        }
        std::string bytes, text, error;
        if (!readArg(args[1], bytes)) return 1;
        if (!DumpBookFile(bytes, int(id), text, error)) {
            std::fprintf(stderr, "bookc: %s: %s\n", args[1].c_str(), error.c_str());
            return 1;
        }
        std::fputs(text.c_str(), stdout);
        return 0;
    }
    if (command == "expand" && args.size() == 2) {
        std::string bytes, plain;
        if (!readArg(args[1], bytes)) return ResourceUnavailable;
        int code = ExpandResourceFile(bytes, plain);
        if (code != 0) {
            static const char* names[] = {"",
                                          "resource not found",
                                          "resource unavailable",
                                          "bad record header",
                                          "bad descriptor",
                                          "buffer error"};
            std::fprintf(stderr, "bookc: %s: %s\n", args[1].c_str(), names[code]);
            return code;
        }
        std::fwrite(plain.data(), 1, plain.size(), stdout);
        return 0;
    }
    return usage();
}
