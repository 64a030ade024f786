// Reading compiled resources back: expansion and a readable dump in the source format.
#pragma once
#include <cstdint>
#include <string>

// Expands one resource's bytes through the reader's own expander. Returns 0 with the plain
// bytes, or the load error code (1 to 5).
int ExpandResourceFile(const std::string& bytes, std::string& plain);

// Whether `bytes` start with the bundle's magic (and so are no resource file).
bool IsBookBundle(const std::string& bytes);

// Dumps a resource file or a bundle (all of it, or resource `id` when id >= 0) as source text:
// lessons in the lesson format, the index in the index format, each after a '#' line naming it.
// Returns false with `error` set when the file is not a resource or bundle, or `id` is absent.
bool DumpBookFile(const std::string& bytes, int id, std::string& out, std::string& error);
