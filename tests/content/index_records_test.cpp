// The section index walker and the lesson lookup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/index_records.h"
#include "tests/support/fixtures.h"

namespace {
std::string section(uint16_t value, uint8_t style, uint8_t level, const std::string& title) {
    return std::string{char(value & 0xFF), char(value >> 8), char(style), char(level)} + title +
           '\0';
}
const std::string kEnd(5, '\0');

TEST(IndexRecords, WalksUntilTheFirstZeroStyle) {
    std::string index = section(0x8877, 0xC1, 1, "abcd") + section(0x4005, 0x81, 2, "lesson") +
                        section(0x4006, 0, 1, "x") + section(0x4007, 0x8C, 1, "after the end");
    std::vector<uint8_t> buffer = padded(index);
    std::vector<SectionRecord> records;
    uint32_t pos = 0;
    SectionRecord r;
    while (nextSectionRecord(buffer.data(), &pos, &r))
        records.push_back(r);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].sectionValue, 0x8877);
    EXPECT_TRUE(records[0].sectionValue & SectionHeading);
    EXPECT_FALSE(records[0].sectionValue & SectionEntry) << "the bookmark heading is no entry";
    EXPECT_EQ(records[1].sectionValue & SectionNumberMask, 5);
    EXPECT_EQ(records[1].level, 2);
    EXPECT_EQ(index.substr(records[1].titleOffset, records[1].titleLength), "lesson");
}

TEST(IndexRecords, FindingALessonPassesOverHeadings) {
    std::string index = section(0x8005, 0x8C, 1, "heading 5") +
                        section(0x0005, 0x8C, 1, "bit 14 clear") +
                        section(0x4005, 0x8C, 1, "five") + kEnd;
    std::vector<uint8_t> buffer = padded(index);
    SectionRecord r;
    ASSERT_TRUE(findLessonSection(buffer.data(), 5, &r));
    EXPECT_EQ(index.substr(r.titleOffset, r.titleLength), "bit 14 clear")
        << "the outline's rule: heading bit clear, number equal";
    EXPECT_FALSE(findLessonSection(buffer.data(), 6, &r));
}

TEST(IndexRecords, DamagedTailStaysInsideTheBuffer) {
    // A record cut after its style, one whose title runs into the padding, a lone first byte:
    // the padding zeros end the title, and a style byte of 0 (a padding zero) ends the index.
    struct Case {
        std::string bytes;
        int records;
        uint16_t value;
        uint8_t level;
        uint32_t titleOffset, titleLength;
    } cases[] = {
        {std::string("\x01\x40\x8C", 3), 1, 0x4001, 0, 4, 0},
        {std::string("\x01\x40\x8C\x01"
                     "abc"),
         1, 0x4001, 1, 4, 3},
        {std::string("\x01"), 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> buffer = padded(c.bytes);
        uint32_t pos = 0;
        SectionRecord r{}, first{};
        int records = 0;
        while (nextSectionRecord(buffer.data(), &pos, &r)) {
            ASSERT_LT(pos + 4, buffer.size());
            if (records++ == 0) first = r;
        }
        ASSERT_EQ(records, c.records) << testing::PrintToString(c.bytes);
        if (records == 0) continue;
        EXPECT_EQ(first.sectionValue, c.value);
        EXPECT_EQ(first.sectionStyle, 0x8C);
        EXPECT_EQ(first.level, c.level);
        EXPECT_EQ(first.titleOffset, c.titleOffset);
        EXPECT_EQ(first.titleLength, c.titleLength) << testing::PrintToString(c.bytes);
    }
}
} // namespace
