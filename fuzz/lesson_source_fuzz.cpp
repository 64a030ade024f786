// Arbitrary bytes as a lesson source: compiled or refused with a position; what compiles
// reads back to the same records.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/bookc/lesson_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    std::string source(reinterpret_cast<const char*>(data), size);
    CompiledLesson lesson;
    SourceError error;
    if (!CompileLesson("fuzz", source, lesson, error)) {
        if (error.line < 1 || error.column < 1) __builtin_trap();
        return 0;
    }
    CompiledLesson again;
    if (!CompileLesson("again", DecompileLesson(lesson.records), again, error)) __builtin_trap();
    if (again.records != lesson.records) __builtin_trap();
    return 0;
}
