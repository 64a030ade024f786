// Raw-data resources: embedded with Qt's resource compiler under ":/res/TYPE/ID", or taken
// from a book bundle file given on the command line.
#include "platform/resources.h"

#include <QResource>
#include <QString>

#include <map>
#include <memory>
#include <vector>

#include "platform/book_bundle.h"

struct PlatformResource {
    const uint8_t* data;
    uint32_t size;
};

namespace {
// Resources handed out stay valid until exit, as their callers expect: entries are never
// erased, and a replaced bundle's bytes are kept alive.
std::map<uint32_t, PlatformResource> gEmbedded;
struct Bundle {
    std::vector<uint8_t> bytes;
    std::map<uint16_t, PlatformResource> resources;
};
std::vector<std::unique_ptr<Bundle>> gBundles; // every bundle loaded; the last one is in use
bool gUseBundle = false;

uint32_t key(uint16_t type, uint16_t id) {
    return uint32_t(type) << 16 | id;
}

ResourceHandle findEmbedded(uint16_t type, uint16_t id) {
    auto it = gEmbedded.find(key(type, id));
    if (it != gEmbedded.end()) return it->second.data ? &it->second : nullptr;
    QResource res(QStringLiteral(":/res/%1/%2").arg(type).arg(id));
    PlatformResource entry{nullptr, 0};
    // The book is embedded uncompressed, so data() is the bytes themselves.
    if (res.isValid() && res.compressionAlgorithm() == QResource::NoCompression) {
        entry = {reinterpret_cast<const uint8_t*>(res.data()), uint32_t(res.size())};
    }
    auto& slot = gEmbedded[key(type, id)] = entry;
    return slot.data ? &slot : nullptr;
}
} // namespace

ResourceHandle findResource(uint16_t type, uint16_t id) {
    if (gUseBundle && type == kRawDataResource) {
        auto& resources = gBundles.back()->resources;
        auto it = resources.find(id);
        return it == resources.end() ? nullptr : &it->second;
    }
    return findEmbedded(type, id);
}

uint32_t resourceSize(ResourceHandle resource) {
    return resource ? resource->size : 0;
}

const uint8_t* loadResource(ResourceHandle resource) {
    return resource && resource->size ? resource->data : nullptr;
}

int useBookBundleBytes(const uint8_t* bytes, size_t size, std::string& error) {
    auto bundle = std::make_unique<Bundle>();
    bundle->bytes.assign(bytes, bytes + size);
    std::vector<BundleEntry> entries;
    if (parseBookBundle(bundle->bytes.data(), size, entries, error) != 0) return 1;
    for (const BundleEntry& e : entries) {
        bundle->resources[e.id] = {bundle->bytes.data() + e.offset, e.size};
    }
    gBundles.push_back(std::move(bundle));
    gUseBundle = true;
    return 0;
}

int useBookBundleFile(const char* path, std::string& error) {
    // The name's bytes go to the system as they are: a name that is not UTF-8 still opens.
    std::string bytes;
    if (readBookFile(path, kBookFileMaxBytes, bytes, error) != 0 ||
        useBookBundleBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error) !=
            0) {
        error = std::string(path) + ": " + error;
        return 1;
    }
    return 0;
}

void useEmbeddedBook() {
    gUseBundle = false;
}
