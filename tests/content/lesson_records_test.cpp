// The lesson record walker on the format's corner cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/lesson_records.h"
#include "tests/support/fixtures.h"

namespace {
std::vector<LessonRecord> walk(const std::string& bytes) {
    std::vector<uint8_t> buffer = padded(bytes);
    std::vector<LessonRecord> records;
    uint32_t pos = 0;
    LessonRecord r;
    while (nextLessonRecord(buffer.data(), &pos, &r)) {
        EXPECT_LT(pos, buffer.size()) << "the walker left the buffer";
        records.push_back(r);
    }
    return records;
}

std::string rec(uint8_t style, uint8_t layout, const std::string& text) {
    return std::string(1, char(style)) + char(layout) + text + '\0';
}

TEST(LessonRecords, KindsAndLinkNumbers) {
    struct Case {
        const char* name;
        std::string text; // the control record's text
        RecordKind kind;
        uint16_t number;
        std::string caption;
    } cases[] = {
        {"one-byte link",
         "\x05"
         "abc",
         RecordKind::Link, 5, "abc"},
        {"two-byte link",
         "\x05\x81"
         "abc",
         RecordKind::Link, 5 | 1 << 7, "abc"},
        {"return link",
         "\x7F\xFF"
         "ab",
         RecordKind::Link, kReturnLink, "ab"},
        {"link without caption", "\x05", RecordKind::Link, 5, ""},
        {"link number 0 is a no-op",
         "\x80"
         "abc",
         RecordKind::Nop, 0, ""},
        {"rule", "", RecordKind::Rule, 0, ""},
    };
    for (const Case& c : cases) {
        std::string lesson = rec(0x37, 12, c.text) + rec(0x30, 0, "next");
        std::vector<LessonRecord> records = walk(lesson);
        ASSERT_EQ(records.size(), 2u) << c.name;
        EXPECT_EQ(records[0].kind, c.kind) << c.name;
        if (c.kind == RecordKind::Link) {
            EXPECT_EQ(records[0].linkNumber, c.number) << c.name;
            EXPECT_EQ(lesson.substr(records[0].captionOffset, records[0].captionLength), c.caption)
                << c.name;
        }
        EXPECT_EQ(records[1].offset, c.text.size() + 3)
            << c.name << ": reading resumes after the terminator";
        EXPECT_EQ(lesson.substr(records[1].textOffset, records[1].textLength), "next");
    }
}

TEST(LessonRecords, NoOpIsExactlyThreeBytes) {
    // Layout 0 makes a control record three bytes long even when a text byte stands there:
    // the byte after (S, 0, 0) is the next style byte.
    std::string lesson = std::string("\x07\x00\x00", 3) + rec(0x10, 0, "a") +
                         std::string("\x17\x00X", 3) + rec(0x20, 0, "b");
    std::vector<LessonRecord> records = walk(lesson);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].kind, RecordKind::Nop);
    EXPECT_EQ(records[1].offset, 3u);
    EXPECT_EQ(records[2].kind, RecordKind::Nop);
    EXPECT_EQ(records[3].offset, 10u);
    EXPECT_EQ(records[3].style, 0x20);
}

TEST(LessonRecords, TitleSubtitleAndTextFields) {
    std::string lesson = rec(TitleHebrewStyle, 0, "abc") + rec(SubtitleHebrewStyle, 0x45, "de");
    std::vector<LessonRecord> records = walk(lesson);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].kind, RecordKind::Text);
    EXPECT_EQ(records[1].style, SubtitleHebrewStyle);
    EXPECT_EQ(labelCode(records[1].layout), 1);
    EXPECT_EQ(marginOf(records[1].layout), 5);
    EXPECT_EQ(records[1].textLength, 2u);
}

TEST(LessonRecords, DamagedTailsStayInsideTheBuffer) {
    // A style byte as the very last byte, a record without terminator, a link number byte
    // at the end, a lone control style: the padding zeros end every one of them, as empty
    // texts and captions or a control record of layout 0 (walk checks that no read leaves the
    // buffer).
    struct Record {
        uint32_t offset;
        uint8_t style, layout;
        uint32_t textOffset, textLength;
        RecordKind kind;
        uint16_t linkNumber;
    };
    struct Case {
        std::string bytes;
        std::vector<Record> records;
    } cases[] = {
        {std::string("\x10\x00"
                     "a\x00\x37",
                     5),
         {{0, 0x10, 0, 2, 1, RecordKind::Text, 0}, {4, 0x37, 0, 6, 0, RecordKind::Nop, 0}}},
        {std::string("\x10\x04"
                     "abc"),
         {{0, 0x10, 4, 2, 3, RecordKind::Text, 0}}},
        {std::string("\x37\x04\x85"), {{0, 0x37, 4, 2, 1, RecordKind::Link, 5}}},
        {std::string("\x07"), {{0, 0x07, 0, 2, 0, RecordKind::Nop, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<LessonRecord> got = walk(c.bytes);
        ASSERT_EQ(got.size(), c.records.size()) << testing::PrintToString(c.bytes);
        for (size_t i = 0; i < got.size(); ++i) {
            const Record& want = c.records[i];
            const LessonRecord& r = got[i];
            EXPECT_EQ(r.offset, want.offset) << testing::PrintToString(c.bytes) << " record " << i;
            EXPECT_EQ(r.style, want.style) << i;
            EXPECT_EQ(r.layout, want.layout) << i;
            EXPECT_EQ(r.textOffset, want.textOffset) << i;
            EXPECT_EQ(r.textLength, want.textLength) << i;
            EXPECT_EQ(r.kind, want.kind) << i;
            if (r.kind == RecordKind::Link) {
                EXPECT_EQ(r.linkNumber, want.linkNumber) << i;
            }
        }
    }
}

TEST(LessonRecords, Validity) {
    struct Case {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"", false},               // first byte 0
        {rec(0x30, 0, ""), false}, // empty first text record
        {rec(0x37, 0, ""), true},  // empty first control record
        {rec(0x37, 20, ""), true}, // a rule first
        {rec(0x30, 0, "a"), true},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> buffer = padded(c.bytes);
        EXPECT_EQ(lessonIsValid(buffer.data()), c.valid) << testing::PrintToString(c.bytes);
    }
    EXPECT_FALSE(lessonIsValid(nullptr));
}

TEST(LessonRecords, RuleLengths) {
    struct Case {
        int layout, width, length;
    } cases[] = {
        {1, 300, 1},     {160, 300, 160}, {160, 100, 100}, // pixels, cut to the width
        {161, 300, 6},   {210, 300, 300}, {185, 250, 125}, // percent: 2 %, 100 %, 50 %
        {255, 300, 300},                                   // 190 % is cut to the width
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ruleLength(uint8_t(c.layout), c.width), c.length)
            << c.layout << " in " << c.width;
    }
}
} // namespace
