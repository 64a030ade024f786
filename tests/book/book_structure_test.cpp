// The book the reader carries, checked against the rules it was written to, so that an edit
// cannot break them unnoticed.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "content/book_constants.h"
#include "content/index_records.h"
#include "content/lesson_records.h"
#include "content/resource.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "tests/support/fixtures.h"

namespace {
struct Lesson {
    std::vector<uint8_t> bytes; // expanded, with the padding
    size_t size = 0;
    std::vector<LessonRecord> records;
};

const std::vector<Lesson>& lessons() {
    static std::vector<Lesson> all = [] {
        std::vector<Lesson> out(kLessonCount + 1);
        for (int n = 1; n <= kLessonCount; ++n) {
            ResourceHandle r = findResource(kRawDataResource, uint16_t(1000 + n));
            if (!r) continue;
            const uint8_t* res = loadResource(r);
            size_t plain = size_t(res[8] << 8 | res[9]);
            uint8_t* text = LoadBookResource(n, nullptr);
            if (!text) continue;
            out[n].bytes.assign(text, text + plain + kExpandPadding);
            out[n].size = plain;
            plainFree(text);
            uint32_t pos = 0;
            LessonRecord rec;
            while (nextLessonRecord(out[n].bytes.data(), &pos, &rec))
                out[n].records.push_back(rec);
        }
        return out;
    }();
    return all;
}

TEST(Book, EveryLessonHasItsParts) {
    for (int n = 1; n <= kLessonCount; ++n) {
        const Lesson& l = lessons()[n];
        ASSERT_FALSE(l.records.empty()) << "lesson " << n << " is missing or empty";
        const std::vector<LessonRecord>& r = l.records;
        ASSERT_GE(r.size(), 3u) << n;
        EXPECT_EQ(r[0].style, TitleHebrewStyle) << n;
        EXPECT_GT(r[0].textLength, 0u) << n;
        EXPECT_EQ(r[1].style, SubtitleHebrewStyle) << n;
        EXPECT_GT(r[1].textLength, 0u) << n;
        bool body = false, item = false, rule = false, link = false;
        for (const LessonRecord& rec : r) {
            if (rec.kind == RecordKind::Text &&
                (rec.style & (StyleHebrew | StyleAlignMask)) == (StyleHebrew | StyleAlignRight) &&
                marginOf(rec.layout) > 0 && labelCode(rec.layout) == 0 && rec.textLength > 0) {
                body = true;
            }
            if (rec.kind == RecordKind::Text && labelCode(rec.layout) != 0 &&
                l.bytes[rec.textOffset] != ' ')
                item = true;
            if (rec.kind == RecordKind::Rule) rule = true;
            if (rec.kind == RecordKind::Link && rec.linkNumber != kReturnLink) {
                link = true;
                EXPECT_GE(rec.linkNumber, 1) << n;
                EXPECT_LE(rec.linkNumber, kLessonCount) << n;
                EXPECT_NE(rec.linkNumber, n) << "lesson " << n << " links to itself";
                EXPECT_GT(rec.captionLength, 0u) << n;
                EXPECT_TRUE(rec.style & StyleHebrew) << "lesson " << n << ": captions are Hebrew";
            }
        }
        EXPECT_TRUE(body) << "lesson " << n
                          << " has no right-aligned Hebrew body paragraph with a margin";
        EXPECT_TRUE(item) << "lesson " << n << " has no labelled item";
        EXPECT_TRUE(rule) << "lesson " << n << " has no rule";
        EXPECT_TRUE(link) << "lesson " << n << " links to no other lesson";
        EXPECT_EQ(r.back().kind, RecordKind::Link) << n;
        EXPECT_EQ(r.back().linkNumber, kReturnLink)
            << "lesson " << n << " does not end with the return link";
    }
}

TEST(Book, EveryFormatFeatureIsUsed) {
    std::set<int> labels, alignments;
    bool continuation = false, small = false, large = false, bold = false, latin = false,
         rulePixels = false, rulePercent = false, emptyAfter = false, keyBit = false;
    for (int n = 1; n <= kLessonCount; ++n) {
        const Lesson& l = lessons()[n];
        for (size_t i = 0; i < l.records.size(); ++i) {
            const LessonRecord& rec = l.records[i];
            if (rec.kind == RecordKind::Rule) (rec.layout <= 160 ? rulePixels : rulePercent) = true;
            if (rec.kind != RecordKind::Text) continue;
            int h = labelCode(rec.layout);
            if (h != 0 && i > 0 && l.bytes[rec.textOffset] == ' ')
                continuation = true;
            else if (h != 0)
                labels.insert(h);
            alignments.insert(rec.style & StyleAlignMask);
            small |= (rec.style & StyleSmall) != 0;
            large |= (rec.style & StyleLarge) && i > 0;
            bold |= (rec.style & StyleBold) && i > 0;
            keyBit |= (rec.style & StyleKeyBit) && i > 1;
            latin |= !(rec.style & StyleHebrew);
            emptyAfter |= (rec.style & StyleEmptyAfter) && i > 1;
        }
    }
    EXPECT_EQ(labels, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(alignments, (std::set<int>{0x00, 0x20, 0x40, 0x60}));
    EXPECT_TRUE(continuation);
    EXPECT_TRUE(small);
    EXPECT_TRUE(large);
    EXPECT_TRUE(bold);
    EXPECT_TRUE(keyBit);
    EXPECT_TRUE(latin);
    EXPECT_TRUE(rulePixels);
    EXPECT_TRUE(rulePercent);
    EXPECT_TRUE(emptyAfter);
}

TEST(Book, Sizes) {
    size_t total = 0, large = 0, largest = 0;
    for (int n = 1; n <= kLessonCount; ++n) {
        size_t size = lessons()[n].size;
        EXPECT_GE(size, 3000u) << "lesson " << n;
        EXPECT_LE(size, 65535u) << "lesson " << n;
        total += size;
        large += size >= 16000;
        largest = std::max(largest, size);
    }
    EXPECT_GE(large, 3u);
    EXPECT_GE(largest, 24000u);
    EXPECT_GE(total, 250000u);
}

TEST(Book, Index) {
    uint8_t* index = LoadBookResource(kIndexBookNumber, nullptr);
    ASSERT_NE(index, nullptr);
    std::vector<SectionRecord> records;
    uint32_t pos = 0;
    SectionRecord r;
    while (nextSectionRecord(index, &pos, &r))
        records.push_back(r);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(index) + pos, 5), std::string(5, '\0'))
        << "five-byte end marker";
    ASSERT_EQ(records.size(), 54u);
    for (size_t i = 0; i < records.size(); ++i) {
        const SectionRecord& s = records[i];
        uint16_t value = i < 36    ? uint16_t(0x4001 + i)
                         : i == 36 ? kBookHeadingValue
                                   : uint16_t(0x4001 + i - 1);
        EXPECT_EQ(s.sectionValue, value) << i;
        EXPECT_EQ(s.sectionStyle, i <= 36 ? 0x8C : 0x01) << i;
        EXPECT_EQ(s.level, i <= 36 ? 1 : 2) << i;
        EXPECT_GE(s.titleLength, 3u) << i;
        EXPECT_LE(s.titleLength, 29u) << i;
        for (uint32_t k = 0; k < s.titleLength; ++k) {
            uint8_t b = index[s.titleOffset + k];
            EXPECT_TRUE(b == ' ' || (b >= 0x61 && b <= 0x7B))
                << "record " << i << ": Hebrew letters and spaces";
        }
    }
    plainFree(index);
}

TEST(Book, BookmarkHeadingIsFourHebrewLetters) {
    std::string title(kBookmarkHeadingTitle);
    ASSERT_EQ(title.size(), 4u);
    for (char c : title)
        EXPECT_TRUE(c >= 0x61 && c <= 0x7B);
    EXPECT_FALSE(kBookmarkHeadingValue & SectionEntry);
    EXPECT_TRUE(kBookmarkHeadingValue & SectionHeading);
}
} // namespace
