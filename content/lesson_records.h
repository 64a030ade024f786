// The lesson text format: a sequence of records (style byte, layout byte, zero-terminated text)
// ended by a zero style byte. Every reader of a lesson walks it with nextLessonRecord.
#pragma once
#include <cstdint>

// Style byte bits of a text record.
enum : uint8_t {
    StyleKeyBit = 0x01, // part of the font key only
    StyleSmall = 0x02,  // small type, dark blue
    StyleLarge = 0x04,  // large type; wins over small
    StyleBold = 0x08,
    StyleHebrew = 0x10,    // right-to-left letter code, stored in display order
    StyleAlignMask = 0x60, // 0x00 left, 0x20 right, 0x40 centre, 0x60 left
    StyleAlignRight = 0x20,
    StyleAlignCenter = 0x40,
    StyleEmptyAfter = 0x80,
    StyleControl = 0x07, // low three bits all set: control record
};

// Fixed style bytes of the title and subtitle records.
enum : uint8_t {
    TitleLatinStyle = 0xCC,
    TitleHebrewStyle = 0xDC,
    SubtitleLatinStyle = 0xC1,
    SubtitleHebrewStyle = 0xD1,
};

constexpr uint16_t kReturnLink = 0x3FFF;

enum class RecordKind : uint8_t {
    Text, // a text record
    Nop,  // a control record with layout 0, or a link with number 0: produces nothing
    Rule, // a control record with empty text
    Link, // a control record with a link number and a caption
};

struct LessonRecord {
    uint32_t offset; // of the style byte
    uint8_t style;
    uint8_t layout;
    uint32_t textOffset; // first text byte
    uint32_t textLength; // text bytes before the terminator
    RecordKind kind;
    uint16_t linkNumber;    // links: 1..16383
    uint32_t captionOffset; // links: first caption byte (after the one or two number bytes)
    uint32_t captionLength;
};

inline bool isControlStyle(uint8_t style) {
    return (style & 7) == 7;
}
inline int labelCode(uint8_t layout) {
    return layout >> 6;
}
inline int marginOf(uint8_t layout) {
    return layout & 0x3F;
}

// Reads the record at *pos and advances *pos past its terminator. Returns false, leaving *pos,
// at the end mark (a zero style byte). The buffer must end with the kExpandPadding zeros that
// LoadBookResource puts after every expansion; then no read leaves it, whatever the content.
bool nextLessonRecord(const uint8_t* lesson, uint32_t* pos, LessonRecord* record);

// The test a lesson must pass before it is laid out: its first byte is not 0, and a first
// record with empty text is a control record.
bool lessonIsValid(const uint8_t* lesson);

// Rule length in pixels for layout byte L in a text area `width` pixels wide: L up to 160 is
// pixels, 161..255 is (L - 160) * 2 percent of the width; cut to the width.
int ruleLength(uint8_t layout, int width);
