#include "content/index_records.h"

bool nextSectionRecord(const uint8_t* index, uint32_t* pos, SectionRecord* record) {
    uint32_t p = *pos;
    if (index[p + 2] == 0) return false;
    SectionRecord r{};
    r.offset = p;
    r.sectionValue = uint16_t(index[p] | index[p + 1] << 8);
    r.sectionStyle = index[p + 2];
    r.level = index[p + 3];
    r.titleOffset = p + 4;
    uint32_t end = r.titleOffset;
    while (index[end] != 0)
        ++end;
    r.titleLength = end - r.titleOffset;
    *record = r;
    *pos = end + 1;
    return true;
}

bool findLessonSection(const uint8_t* index, int lesson, SectionRecord* record) {
    uint32_t pos = 0;
    SectionRecord r;
    while (nextSectionRecord(index, &pos, &r)) {
        if ((r.sectionValue & SectionHeading) == 0 &&
            (r.sectionValue & SectionNumberMask) == lesson) {
            *record = r;
            return true;
        }
    }
    return false;
}
