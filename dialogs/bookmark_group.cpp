// The bookmark group of the section list: a heading and one entry per bookmarked lesson that
// the index has, in the index's record format, joined in front of the index's records.
#include <cstring>

#include "content/book_constants.h"
#include "content/index_records.h"
#include "content/resource.h"
#include "dialogs/bookmarks.h"
#include "platform/memory.h"
#include "state/state.h"

namespace {
constexpr uint8_t kHeadingStyle = 0xC1; // shown, open, style 1
constexpr uint8_t kEntryStyle = 0x81;   // shown, style 1

// The record whose value is exactly `value` (the entry of a lesson), or false.
bool findEntry(const uint8_t* index, uint16_t value, SectionRecord* record) {
    uint32_t pos = 0;
    SectionRecord r;
    while (index && nextSectionRecord(index, &pos, &r)) {
        if (r.sectionValue == value) {
            *record = r;
            return true;
        }
    }
    return false;
}

// Bytes of the records before the end record.
size_t recordsLength(const uint8_t* index) {
    uint32_t pos = 0;
    SectionRecord r;
    while (index && nextSectionRecord(index, &pos, &r)) {
    }
    return pos;
}

uint8_t* putRecord(uint8_t* out, uint16_t value, uint8_t style, uint8_t level, const uint8_t* title,
                   size_t n) {
    *out++ = uint8_t(value);
    *out++ = uint8_t(value >> 8);
    *out++ = style;
    *out++ = level;
    std::memcpy(out, title, n);
    out[n] = 0;
    return out + n + 1;
}

// A buffer of `records` bytes followed by the end record and the padding every index buffer
// carries (at least the five zero bytes of the end record).
uint8_t* allocIndex(size_t records) {
    auto* buffer = static_cast<uint8_t*>(plainAlloc(records + kExpandPadding));
    if (buffer) std::memset(buffer + records, 0, kExpandPadding);
    return buffer;
}
} // namespace

uint8_t* withBookmarkGroup(uint8_t* index) {
    if (!appState.bookmarks || appState.bookmarkCount == 0) return index;
    const size_t headingTitle = sizeof kBookmarkHeadingTitle - 1;
    size_t size = 4 + headingTitle + 1;
    SectionRecord r;
    for (const uint16_t* p = appState.bookmarks; *p; ++p) {
        if (findEntry(index, uint16_t(*p | SectionEntry), &r)) size += 4 + r.titleLength + 1;
    }
    uint8_t* group = allocIndex(size);
    if (!group) return index;
    uint8_t* out = putRecord(group, kBookmarkHeadingValue, kHeadingStyle, 1,
                             reinterpret_cast<const uint8_t*>(kBookmarkHeadingTitle), headingTitle);
    for (const uint16_t* p = appState.bookmarks; *p; ++p) {
        if (findEntry(index, uint16_t(*p | SectionEntry), &r))
            out = putRecord(out, uint16_t(*p | SectionEntry), kEntryStyle, 2, index + r.titleOffset,
                            r.titleLength);
    }
    if (!index) return group;
    size_t indexRecords = recordsLength(index);
    uint8_t* joined = allocIndex(size + indexRecords);
    if (!joined) {
        plainFree(group);
        return index;
    }
    std::memcpy(joined, group, size);
    std::memcpy(joined + size, index, indexRecords);
    plainFree(group);
    plainFree(index);
    return joined;
}
