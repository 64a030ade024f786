// Arbitrary bytes as an expanded lesson (with the padding every expansion carries): the record
// walker and the validity test must stay inside the buffer and always end.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "content/index_records.h"
#include "content/lesson_records.h"
#include "content/resource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 65535) return 0;
    std::vector<uint8_t> buffer(data, data + size);
    buffer.resize(size + kExpandPadding, 0);
    lessonIsValid(buffer.data());
    uint32_t pos = 0;
    LessonRecord r;
    while (nextLessonRecord(buffer.data(), &pos, &r)) {
        if (r.textOffset + r.textLength >= buffer.size()) __builtin_trap();
        if (r.kind == RecordKind::Link && (r.linkNumber == 0 || r.captionOffset + r.captionLength >
                                                                    r.textOffset + r.textLength)) {
            __builtin_trap();
        }
    }
    pos = 0;
    SectionRecord s;
    while (nextSectionRecord(buffer.data(), &pos, &s)) {
        if (s.titleOffset + s.titleLength >= buffer.size()) __builtin_trap();
    }
    return 0;
}
