#include "platform/book_bundle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>

namespace {
uint32_t readLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void putLe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

int parse(const uint8_t* bytes, size_t size, std::vector<BundleEntry>& entries,
          std::string& error) {
    if (size < 12 || std::memcmp(bytes, kBundleMagic, 8) != 0) {
        error = "not a book bundle (bad magic)";
        return 1;
    }
    uint32_t count = readLe32(bytes + 8);
    if (count > kBundleMaxEntries || (size - 12) / 8 < count) {
        error = "book bundle: entry table runs past the end of the file";
        return 1;
    }
    uint64_t offset = 12 + uint64_t(count) * 8;
    std::set<uint32_t> seen;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = bytes + 12 + 8 * size_t(i);
        uint32_t id = readLe32(e);
        uint32_t length = readLe32(e + 4);
        if (id > 0xFFFF) {
            error = "book bundle: resource id " + std::to_string(id) + " is above 65535";
            return 1;
        }
        if (!seen.insert(id).second) {
            error = "book bundle: resource " + std::to_string(id) + " appears twice";
            return 1;
        }
        if (offset + length > size) {
            error =
                "book bundle: resource " + std::to_string(id) + " runs past the end of the file";
            return 1;
        }
        entries.push_back({uint16_t(id), uint32_t(offset), length});
        offset += length;
    }
    if (offset != size) {
        error =
            "book bundle: " + std::to_string(size - offset) + " stray bytes after the resources";
        return 1;
    }
    return 0;
}
} // namespace

int parseBookBundle(const uint8_t* bytes, size_t size, std::vector<BundleEntry>& entries,
                    std::string& error) {
    entries.clear();
    int result = parse(bytes, size, entries, error);
    if (result != 0) entries.clear();
    return result;
}

std::vector<uint8_t> buildBookBundle(const std::vector<BundleResource>& resources) {
    std::vector<uint8_t> out(kBundleMagic, kBundleMagic + 8);
    putLe32(out, uint32_t(resources.size()));
    for (const BundleResource& r : resources) {
        putLe32(out, r.id);
        putLe32(out, uint32_t(r.bytes.size()));
    }
    for (const BundleResource& r : resources)
        out.insert(out.end(), r.bytes.begin(), r.bytes.end());
    return out;
}

int readBookFile(const char* path, size_t limit, std::string& bytes, std::string& error) {
    bytes.clear();
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return 1;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = "is a folder";
        return 1;
    }
    // Read in steps up to one byte past the limit: a device or a pipe has no size to trust.
    char buffer[65536];
    std::string problem;
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            problem = std::strerror(errno);
            break;
        }
        if (n == 0) break;
        if (bytes.size() + size_t(n) > limit) {
            problem = "is larger than " + std::to_string(limit / (1024 * 1024)) + " MB";
            break;
        }
        bytes.append(buffer, size_t(n));
    }
    ::close(fd);
    if (!problem.empty()) {
        error = problem;
        bytes.clear();
        return 1;
    }
    return 0;
}
