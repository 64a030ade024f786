#include "tools/bookc/book_compile.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>

#include "content/lesson_records.h"
#include "tools/bookc/index_source.h"
#include "tools/bookc/lesson_source.h"
#include "tools/bookc/palmdoc_pack.h"
#include "tools/bookc/resource_layout.h"

namespace fs = std::filesystem;

namespace {
void putBe16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

int lessonNumberOf(const std::string& name) {
    static const std::regex pattern("lesson-([0-9][0-9])\\.txt");
    std::smatch m;
    if (!std::regex_match(name, m, pattern)) return 0;
    return std::stoi(m[1]);
}

// Reads a source file, adding "PATH: cannot be read" to `errors` when it cannot be.
bool readSource(const std::string& path, std::string& source, std::vector<std::string>& errors) {
    if (ReadFile(path, source)) return true;
    errors.push_back(path + ": cannot be read");
    return false;
}

// Adds a compiled resource of `plain` bytes to the book and to its numbers.
void addResource(BundleResource&& r, size_t plain, std::vector<BundleResource>& resources,
                 BookStats& stats) {
    stats.plainBytes += plain;
    stats.packedBytes += r.bytes.size() - kResourceExtraBytes;
    resources.push_back(std::move(r));
}

// The lesson files of `dir` by number. Fails with the folder's error when it cannot be listed.
bool findLessons(const std::string& dir, std::map<int, std::string>& lessonFiles,
                 std::vector<std::string>& errors) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) {
        errors.push_back(dir + ": " + ec.message());
        return false;
    }
    for (const fs::directory_entry& entry : it) {
        int n = lessonNumberOf(entry.path().filename().string());
        if (n >= 1) lessonFiles[n] = entry.path().string();
    }
    return true;
}

// Compiles lesson n into its resource; its links are kept for the check across the book.
void compileLesson(int n, const std::string& path, std::vector<BundleResource>& resources,
                   std::map<int, std::vector<uint16_t>>& links, std::vector<std::string>& errors,
                   BookStats& stats) {
    std::string source;
    if (!readSource(path, source, errors)) return;
    CompiledLesson lesson;
    SourceError error;
    if (!CompileLesson(path, source, lesson, error)) {
        errors.push_back(error.describe());
        return;
    }
    BundleResource r{bookResourceId(n), {}};
    if (!BuildResource(uint16_t(n), uint16_t(n), lesson.records, r.bytes)) {
        errors.push_back(path + ": the lesson does not fit a resource");
        return;
    }
    links[n] = lesson.links;
    ++stats.lessons;
    stats.largestLesson = std::max(stats.largestLesson, lesson.records.size());
    addResource(std::move(r), lesson.records.size(), resources, stats);
}

// Every link but the return link must point at a lesson of the book.
void checkLinks(const std::map<int, std::string>& lessonFiles,
                const std::map<int, std::vector<uint16_t>>& links,
                std::vector<std::string>& errors) {
    for (const auto& [n, targets] : links) {
        for (uint16_t target : targets) {
            if (target != kReturnLink && !lessonFiles.count(target)) {
                errors.push_back(lessonFiles.at(n) + ": link to lesson " + std::to_string(target) +
                                 ", which the book does not have");
            }
        }
    }
}

void compileIndex(const std::string& dir, std::vector<BundleResource>& resources,
                  std::vector<std::string>& errors, BookStats& stats) {
    std::string indexPath = (fs::path(dir) / "index.txt").string();
    std::string source, index;
    SourceError error;
    if (!readSource(indexPath, source, errors)) return;
    if (!CompileIndex(indexPath, source, index, error)) {
        errors.push_back(error.describe());
        return;
    }
    BundleResource r{kIndexResourceId, {}};
    if (!BuildResource(kIndexTag1, kIndexTag2, index, r.bytes)) {
        errors.push_back(indexPath + ": the index does not fit a resource");
        return;
    }
    addResource(std::move(r), index.size(), resources, stats);
}
} // namespace

bool ReadFile(const std::string& path, std::string& out, std::string* reason) {
    std::string error;
    bool ok = readBookFile(path.c_str(), kBookFileMaxBytes, out, error) == 0;
    if (reason) *reason = error;
    return ok;
}

bool BuildResource(uint16_t tag1, uint16_t tag2, const std::string& plain,
                   std::vector<uint8_t>& out) {
    if (plain.empty() || plain.size() > UINT16_MAX) return false;
    std::vector<uint8_t> packed =
        PackPalmDoc(reinterpret_cast<const uint8_t*>(plain.data()), plain.size());
    if (packed.size() + kOuterExtraBytes > UINT16_MAX) return false;
    out.clear();
    putBe16(out, unsigned(packed.size() + kOuterExtraBytes));
    putBe16(out, tag1);
    putBe16(out, tag2);
    putBe16(out, unsigned(packed.size()));
    putBe16(out, unsigned(plain.size()));
    out.insert(out.end(), packed.begin(), packed.end());
    out.insert(out.end(), kTrailerBytes, 0);
    return true;
}

bool CompileBook(const std::string& dir, std::vector<BundleResource>& resources,
                 std::vector<std::string>& errors, BookStats* stats) {
    resources.clear();
    std::map<int, std::string> lessonFiles;
    if (!findLessons(dir, lessonFiles, errors)) return false;
    BookStats local;
    std::map<int, std::vector<uint16_t>> links;
    for (const auto& [n, path] : lessonFiles)
        compileLesson(n, path, resources, links, errors, local);
    checkLinks(lessonFiles, links, errors);
    compileIndex(dir, resources, errors, local);
    if (stats) *stats = local;
    return errors.empty();
}

bool CompileFiles(const std::vector<std::string>& files, std::vector<std::string>& errors) {
    for (const std::string& path : files) {
        std::string source;
        if (!readSource(path, source, errors)) continue;
        SourceError error;
        bool ok;
        if (fs::path(path).filename() == "index.txt") {
            std::string index;
            ok = CompileIndex(path, source, index, error);
        } else {
            CompiledLesson lesson;
            ok = CompileLesson(path, source, lesson, error);
        }
        if (!ok) errors.push_back(error.describe());
    }
    return errors.empty();
}
