#include "tools/bookc/book_compile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "tools/bookc/index_source.h"
#include "tools/bookc/lesson_source.h"
#include "tools/bookc/palmdoc_pack.h"

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
} // namespace

bool ReadFile(const std::string& path, std::string& out) {
    std::string error;
    return ReadBookFile(path.c_str(), kBookFileMaxBytes, out, error) == 0;
}

bool BuildResource(uint16_t tag1, uint16_t tag2, const std::string& plain,
                   std::vector<uint8_t>& out) {
    if (plain.empty() || plain.size() > 0xFFFF) return false;
    std::vector<uint8_t> packed =
        PackPalmDoc(reinterpret_cast<const uint8_t*>(plain.data()), plain.size());
    if (packed.size() + 8 > 0xFFFF) return false;
    out.clear();
    putBe16(out, unsigned(packed.size() + 8));
    putBe16(out, tag1);
    putBe16(out, tag2);
    putBe16(out, unsigned(packed.size()));
    putBe16(out, unsigned(plain.size()));
    out.insert(out.end(), packed.begin(), packed.end());
    out.insert(out.end(), 4, 0);
    return true;
}

bool CompileBook(const std::string& dir, std::vector<BundleResource>& resources,
                 std::vector<std::string>& errors, BookStats* stats) {
    resources.clear();
    std::error_code ec;
    std::map<int, std::string> lessonFiles;
    fs::directory_iterator it(dir, ec);
    if (ec) {
        errors.push_back(dir + ": " + ec.message());
        return false;
    }
    for (const fs::directory_entry& entry : it) {
        std::string name = entry.path().filename().string();
        int n = lessonNumberOf(name);
        if (n >= 1) lessonFiles[n] = entry.path().string();
    }
    BookStats local;
    std::map<int, std::vector<uint16_t>> links;
    for (const auto& [n, path] : lessonFiles) {
        std::string source;
        if (!ReadFile(path, source)) {
            errors.push_back(path + ": cannot be read");
            continue;
        }
        CompiledLesson lesson;
        SourceError error;
        if (!CompileLesson(path, source, lesson, error)) {
            errors.push_back(error.describe());
            continue;
        }
        BundleResource r{BookResourceId(n), {}};
        if (!BuildResource(uint16_t(n), uint16_t(n), lesson.records, r.bytes)) {
            errors.push_back(path + ": the lesson does not fit a resource");
            continue;
        }
        links[n] = lesson.links;
        ++local.lessons;
        local.plainBytes += lesson.records.size();
        local.packedBytes += r.bytes.size() - 14;
        local.largestLesson = std::max(local.largestLesson, lesson.records.size());
        resources.push_back(std::move(r));
    }
    for (const auto& [n, targets] : links) {
        for (uint16_t target : targets) {
            if (target != 0x3FFF && !lessonFiles.count(target)) {
                errors.push_back(lessonFiles[n] + ": link to lesson " + std::to_string(target) +
                                 ", which the book does not have");
            }
        }
    }
    std::string indexPath = (fs::path(dir) / "index.txt").string();
    std::string source, index;
    SourceError error;
    if (!ReadFile(indexPath, source)) {
        errors.push_back(indexPath + ": cannot be read");
    } else if (!CompileIndex(indexPath, source, index, error)) {
        errors.push_back(error.describe());
    } else {
        BundleResource r{kIndexResourceId, {}};
        if (!BuildResource(1, 255, index, r.bytes)) {
            errors.push_back(indexPath + ": the index does not fit a resource");
        } else {
            local.plainBytes += index.size();
            local.packedBytes += r.bytes.size() - 14;
            resources.push_back(std::move(r));
        }
    }
    if (stats) *stats = local;
    return errors.empty();
}

bool CompileFiles(const std::vector<std::string>& files, std::vector<std::string>& errors) {
    for (const std::string& path : files) {
        std::string source;
        if (!ReadFile(path, source)) {
            errors.push_back(path + ": cannot be read");
            continue;
        }
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
