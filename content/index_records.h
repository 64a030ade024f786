// The section index: a sequence of SectionRecords (value, style, level, zero-terminated title)
// ended by a record whose style byte is 0. Also the form of the bookmark group.
#pragma once
#include <cstdint>

enum : uint16_t {
    SectionHeading = 0x8000, // opens and closes the records below it
    SectionEntry = 0x4000,   // opens lesson (value & 0x3FFF)
    SectionNumberMask = 0x3FFF,
};

enum : uint8_t {
    SectionShown = 0x80,   // shown when the outline is first built
    SectionOpen = 0x40,    // heading is open
    SectionKeyMask = 0x1F, // text style key
};

struct SectionRecord {
    uint32_t offset;       // of the record
    uint16_t sectionValue; // little-endian in the buffer
    uint8_t sectionStyle;
    uint8_t level;
    uint32_t titleOffset;
    uint32_t titleLength;
};

// Reads the record at *pos and advances *pos to the next one. Returns false, leaving *pos, at
// the end (style byte 0). The buffer must end with kExpandPadding zeros (LoadBookResource and
// every builder of index buffers put them there), so no read leaves it.
bool nextSectionRecord(const uint8_t* index, uint32_t* pos, SectionRecord* record);

// The record of `lesson` as the outline finds it: the first entry whose number matches and
// whose heading bit is clear. Returns false when there is none.
bool findLessonSection(const uint8_t* index, int lesson, SectionRecord* record);
