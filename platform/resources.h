// Raw-data resources carried by the program: the book's lessons and index. They are embedded
// in the executable; a compiled book bundle file can stand in their place.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint16_t kRawDataResource = 10;

using ResourceHandle = const struct PlatformResource*;

// Finds the resource of this type and integer id. Returns null when there is none.
ResourceHandle findResource(uint16_t type, uint16_t id);

// Size in bytes of a found resource; 0 for null.
uint32_t resourceSize(ResourceHandle resource);

// The resource's bytes, valid until exit (never released); null for null.
const uint8_t* loadResource(ResourceHandle resource);

// From now on the raw-data resources come from the bundle file at `path` instead of the
// embedded book. Returns 0, or 1 with `error` set when the file cannot be read or is not a
// valid bundle (the embedded book stays in use then).
int useBookBundleFile(const char* path, std::string& error);

// The same for a bundle already in memory (copied). Used by tests to serve crafted resources.
int useBookBundleBytes(const uint8_t* bytes, size_t size, std::string& error);

// Back to the embedded book.
void useEmbeddedBook();
