// The index source (one record a line, see docs/book-format.md) to index records and back.
#pragma once
#include <string>

#include "tools/bookc/source_error.h"

// Compiles index.txt into the records and the five-byte end marker. Returns false with the first
// error.
bool CompileIndex(const std::string& file, const std::string& source, std::string& out,
                  SourceError& error);

// Writes index records (up to the end marker) back in the source form.
std::string DecompileIndex(const std::string& records);
