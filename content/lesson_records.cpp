#include "content/lesson_records.h"

#include <cstring>

bool nextLessonRecord(const uint8_t* lesson, uint32_t* pos, LessonRecord* record) {
    uint32_t p = *pos;
    uint8_t style = lesson[p];
    if (style == 0) return false;
    LessonRecord r{};
    r.offset = p;
    r.style = style;
    r.layout = lesson[p + 1];
    r.textOffset = p + 2;
    uint32_t end =
        r.textOffset + uint32_t(std::strlen(reinterpret_cast<const char*>(lesson) + r.textOffset));
    r.textLength = end - r.textOffset;
    r.kind = RecordKind::Text;
    if (isControlStyle(style)) {
        if (r.layout == 0) {
            // A no-op is exactly three bytes: its "text" is never read.
            r.kind = RecordKind::Nop;
            r.textLength = 0;
            end = r.textOffset;
        } else if (r.textLength == 0) {
            r.kind = RecordKind::Rule;
        } else {
            uint32_t q = r.textOffset;
            uint16_t number = lesson[q++] & 0x7F;
            if (q < end && (lesson[q] & 0x80)) number |= uint16_t((lesson[q++] & 0x7F) << 7);
            r.kind = number == 0 ? RecordKind::Nop : RecordKind::Link;
            r.linkNumber = number;
            r.captionOffset = q;
            r.captionLength = end - q;
        }
    }
    *record = r;
    *pos = end + 1;
    return true;
}

bool lessonIsValid(const uint8_t* lesson) {
    if (!lesson || lesson[0] == 0) return false;
    return lesson[2] != 0 || isControlStyle(lesson[0]);
}

int ruleLength(uint8_t layout, int width) {
    int length = layout <= 160 ? layout : ((layout - 160) * width * 2) / 100;
    return length < width ? length : width;
}
