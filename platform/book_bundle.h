// The compiled book bundle: every resource of a book in one file (written by bookc, read by the
// reader's --book option and by bookc).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct BundleEntry {
    uint16_t id;
    uint32_t offset; // of the resource's bytes within the bundle
    uint32_t size;
};

constexpr char kBundleMagic[8] = {'V', 'W', 'B', 'O', 'O', 'K', '1', '\n'};
constexpr uint32_t kBundleMaxEntries = 65536;

// Checks and indexes a bundle. Returns 0 and fills `entries`, or 1 with `error` set when the
// bytes are not a complete bundle (bad magic, an entry outside the file, an id above 65535, a
// repeated id). Never reads outside `bytes`.
int parseBookBundle(const uint8_t* bytes, size_t size, std::vector<BundleEntry>& entries,
                    std::string& error);

// Writes a bundle of the given resources (id, bytes), in the given order.
struct BundleResource {
    uint16_t id;
    std::vector<uint8_t> bytes;
};
std::vector<uint8_t> buildBookBundle(const std::vector<BundleResource>& resources);

// The most a book file (bundle, resource or source) may hold: far above any real book, low
// enough that a wrong file (a device, a huge file) is refused before it fills the memory.
constexpr size_t kBookFileMaxBytes = 16 * 1024 * 1024;

// Reads the file at `path` (the name's bytes as given, whatever their encoding) whole into
// `bytes`, at most `limit` bytes. Returns 0, or 1 with `error` set ("No such file or
// directory", "is a folder", "is larger than 16 MB", ...) and `bytes` cleared.
int readBookFile(const char* path, size_t limit, std::string& bytes, std::string& error);
