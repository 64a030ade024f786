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
    for (const std::string& index : {std::string("\x01\x40\x8C", 3),
                                     std::string("\x01\x40\x8C\x01"
                                                 "abc"),
                                     std::string("\x01")}) {
        std::vector<uint8_t> buffer = padded(index);
        uint32_t pos = 0;
        SectionRecord r;
        while (nextSectionRecord(buffer.data(), &pos, &r))
            ASSERT_LT(pos + 4, buffer.size());
    }
}
} // namespace
