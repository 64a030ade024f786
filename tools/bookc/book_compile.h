// A book source folder to its resources.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "content/book_constants.h"
#include "platform/book_bundle.h"

// One content resource: the 6-byte prefix (outerLength, two tags), the record header
// (packedLength, plainLength), the packed data and four zero bytes. Returns false when the
// plain or packed data do not fit the 16-bit lengths.
bool BuildResource(uint16_t tag1, uint16_t tag2, const std::string& plain,
                   std::vector<uint8_t>& out);

struct BookStats {
    size_t lessons = 0;
    size_t plainBytes = 0;  // expanded, lessons and index
    size_t packedBytes = 0; // packed data only
    size_t largestLesson = 0;
};

// Compiles every lesson-NN.txt and index.txt in `dir` (resources in id order, index last).
// Collects every error (file:line:column: message); also checks that each link points at a
// lesson of the book. Returns true when there was none.
bool CompileBook(const std::string& dir, std::vector<BundleResource>& resources,
                 std::vector<std::string>& errors, BookStats* stats);

// Compiles the given lesson or index files alone (for checking a file while writing it);
// links are not checked against the book.
bool CompileFiles(const std::vector<std::string>& files, std::vector<std::string>& errors);

// Reads a whole file of at most kBookFileMaxBytes. Returns false when it cannot be read, is a
// folder or is larger, with why in `reason` when one is given.
bool ReadFile(const std::string& path, std::string& out, std::string* reason = nullptr);
