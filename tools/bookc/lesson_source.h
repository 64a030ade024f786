// Lesson sources (the authoring format, see docs/book-format.md) to lesson records and back.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/bookc/source_error.h"

struct CompiledLesson {
    std::string records;         // the records, without the end mark
    std::vector<uint16_t> links; // link numbers, in order (the return link included)
};

// Compiles one lesson source. `file` names it in errors. Returns false with the first error.
bool CompileLesson(const std::string& file, const std::string& source, CompiledLesson& out,
                   SourceError& error);

// Writes lesson records (ended by a 0 style byte or by the end of `records`) back in the
// authoring format. A record whose text does not read back exactly is written as [raw].
std::string DecompileLesson(const std::string& records);
