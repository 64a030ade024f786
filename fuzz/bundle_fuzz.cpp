// Arbitrary bytes as a book bundle: refused or indexed, every entry inside the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/book_bundle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<BundleEntry> entries;
    std::string error;
    if (parseBookBundle(data, size, entries, error) == 0) {
        for (const BundleEntry& e : entries) {
            if (uint64_t(e.offset) + e.size > size) __builtin_trap();
        }
    }
    return 0;
}
