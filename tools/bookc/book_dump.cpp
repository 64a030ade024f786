#include "tools/bookc/book_dump.h"

#include <cstring>
#include <vector>

#include "content/resource.h"
#include "platform/book_bundle.h"
#include "platform/memory.h"
#include "tools/bookc/book_compile.h"
#include "tools/bookc/index_source.h"
#include "tools/bookc/lesson_source.h"
#include "tools/bookc/resource_layout.h"

namespace {
unsigned be16(const std::string& b, size_t at) {
    return unsigned(uint8_t(b[at])) << 8 | uint8_t(b[at + 1]);
}

bool dumpOne(const std::string& bytes, int id, std::string& out, std::string& error) {
    std::string plain;
    int code = ExpandResourceFile(bytes, plain);
    if (code != 0) {
        error = "resource " + std::to_string(id) + " does not expand (load error " +
                std::to_string(code) + ")";
        return false;
    }
    bool index = id == kIndexResourceId || (id < 0 && be16(bytes, kTag1At) == kIndexTag1 &&
                                            be16(bytes, kTag2At) == kIndexTag2);
    out += "# " + std::string(index ? "index" : "lesson") +
           (id >= 0 ? " (resource " + std::to_string(id) + ")" : std::string()) + ": " +
           std::to_string(plain.size()) + " bytes from " +
           std::to_string(be16(bytes, kPackedLengthAt)) + "\n\n";
    out += index ? DecompileIndex(plain) : DecompileLesson(plain);
    return true;
}
} // namespace

int ExpandResourceFile(const std::string& bytes, std::string& plain) {
    // A resource file is exactly one resource: its lengths must agree with its size, which
    // tells a resource from any other file (a bundle, a source) before anything is expanded.
    if (bytes.size() < kResourceExtraBytes ||
        be16(bytes, kOuterLengthAt) != be16(bytes, kPackedLengthAt) + kOuterExtraBytes ||
        bytes.size() != be16(bytes, kOuterLengthAt) + kPrefixBytes)
        return bytes.empty() ? ResourceUnavailable : BadRecordHeader;
    int code = 0;
    uint8_t* expanded = expandResource(reinterpret_cast<const uint8_t*>(bytes.data()),
                                       uint32_t(bytes.size()), &code);
    if (bytes.empty()) code = ResourceUnavailable;
    if (!expanded) return code ? code : ResourceUnavailable;
    plain.assign(reinterpret_cast<const char*>(expanded), be16(bytes, kPlainLengthAt));
    plainFree(expanded);
    return 0;
}

bool IsBookBundle(const std::string& bytes) {
    return bytes.size() >= sizeof kBundleMagic &&
           std::memcmp(bytes.data(), kBundleMagic, sizeof kBundleMagic) == 0;
}

bool DumpBookFile(const std::string& bytes, int id, std::string& out, std::string& error) {
    out.clear();
    if (IsBookBundle(bytes)) {
        std::vector<BundleEntry> entries;
        if (parseBookBundle(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), entries,
                            error) != 0) {
            return false;
        }
        bool found = false;
        for (const BundleEntry& e : entries) {
            if (id >= 0 && e.id != id) continue;
            found = true;
            if (!dumpOne(bytes.substr(e.offset, e.size), e.id, out, error)) return false;
        }
        if (!found) error = "the bundle has no resource " + std::to_string(id);
        return found;
    }
    return dumpOne(bytes, id, out, error);
}
