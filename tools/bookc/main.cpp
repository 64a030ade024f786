// bookc: the book compiler. Turns the book's source folder into the resources the reader
// carries, and reads resources back.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
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

// Writes `bytes` to a new file `path`; false when the file cannot be written whole.
bool writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wbx");
    if (!out) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

void printErrors(const std::vector<std::string>& errors) {
    for (const std::string& e : errors)
        std::fprintf(stderr, "%s\n", e.c_str());
}

// Writes every file under a temporary name first and renames them into place only once all of
// them are whole: a full disk or a stop leaves the old output or none, never a part.
bool writeAll(const std::vector<std::pair<fs::path, std::vector<uint8_t>>>& files) {
    std::error_code ec;
    std::string suffix = ".part" + std::to_string(::getpid());
    std::vector<fs::path> written;
    bool ok = true;
    for (const auto& [path, bytes] : files) {
        fs::path part = path.string() + suffix;
        fs::remove(part, ec);
        if (!writeFile(part, bytes)) {
            std::fprintf(stderr, "bookc: cannot write %s\n", path.c_str());
            fs::remove(part, ec);
            ok = false;
            break;
        }
        written.push_back(part);
    }
    for (size_t i = 0; ok && i < written.size(); ++i) {
        fs::rename(written[i], files[i].first, ec);
        if (ec) {
            std::fprintf(stderr, "bookc: cannot write %s\n", files[i].first.c_str());
            ok = false;
        }
    }
    if (!ok) {
        for (const fs::path& part : written)
            fs::remove(part, ec);
    }
    return ok;
}

// Compiles the book in `src` to OUT_DIR/ID.res for each resource and OUT_DIR/book.bundle.
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
    std::vector<std::pair<fs::path, std::vector<uint8_t>>> files;
    for (BundleResource& r : resources)
        files.push_back({fs::path(outDir) / (std::to_string(r.id) + ".res"), r.bytes});
    files.push_back({fs::path(outDir) / "book.bundle", buildBookBundle(resources)});
    if (!writeAll(files)) return 1;
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
    std::string error;
    if (ReadFile(path, bytes, &error)) return true;
    std::fprintf(stderr, "bookc: cannot read %s: %s\n", path.c_str(), error.c_str());
    return false;
}

// Prints a resource file or bundle (or resource `idArg` of it) in the source formats.
int dump(const std::string& path, const std::string* idArg) {
    long id = -1;
    if (idArg) {
        char* end = nullptr;
        id = std::strtol(idArg->c_str(), &end, 10);
        if (*end != 0 || id < 0 || id > UINT16_MAX) return usage();
    }
    std::string bytes, text, error;
    if (!readArg(path, bytes)) return 1;
    if (!DumpBookFile(bytes, int(id), text, error)) {
        std::fprintf(stderr, "bookc: %s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    std::fputs(text.c_str(), stdout);
    return 0;
}

// Writes the expanded bytes of a resource file to standard output; the load error code on
// failure.
int expand(const std::string& path) {
    std::string bytes, plain;
    if (!readArg(path, bytes)) return ResourceUnavailable;
    if (IsBookBundle(bytes)) {
        std::fprintf(stderr, "bookc: %s: a bundle, not a resource file (bookc dump reads it)\n",
                     path.c_str());
        return BadRecordHeader;
    }
    int code = ExpandResourceFile(bytes, plain);
    if (code != 0) {
        static const char* names[] = {"",
                                      "resource not found",
                                      "resource unavailable",
                                      "bad record header",
                                      "bad descriptor",
                                      "buffer error"};
        std::fprintf(stderr, "bookc: %s: %s\n", path.c_str(), names[code]);
        return code;
    }
    std::fwrite(plain.data(), 1, plain.size(), stdout);
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    const std::string& command = args[0];
    if (command == "compile" && args.size() == 3) return compile(args[1], args[2]);
    if (command == "lint" && args.size() >= 2) return lint({args.begin() + 1, args.end()});
    if (command == "dump" && (args.size() == 2 || args.size() == 3))
        return dump(args[1], args.size() == 3 ? &args[2] : nullptr);
    if (command == "expand" && args.size() == 2) return expand(args[1]);
    return usage();
}
