// The outline list on the recording surface (font size 16: style 1 gives 16-pixel rows with
// 8-pixel advances, the large bold style 0x8C 20-pixel rows with 10-pixel advances): the book's
// index, small fixture indexes for wrapping and headings, taps, scrolling, the open state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "content/book_constants.h"
#include "content/index_records.h"
#include "content/resource.h"
#include "dialogs/outline_list.h"
#include "platform/bitmaps.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/quit.h"
#include "platform/recording/recording_dc.h"
#include "view/letters.h"
#include "view/page_colours.h"

namespace {
// One index record: value, style, level, title (letter code), its 0.
std::string record(uint16_t value, uint8_t style, uint8_t level, const std::string& title) {
    std::string r;
    r += char(value & 0xFF);
    r += char(value >> 8);
    r += char(style);
    r += char(level);
    r += title;
    r += '\0';
    return r;
}

// A padded index buffer (plainAlloc) of `records` and the end record.
uint8_t* indexBuffer(const std::string& records) {
    auto* buffer = static_cast<uint8_t*>(plainAlloc(records.size() + kExpandPadding));
    std::memcpy(buffer, records.data(), records.size());
    std::memset(buffer + records.size(), 0, kExpandPadding);
    return buffer;
}

class Outline : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        dc_ = createRecordingDc();
        font_ = FontSpec{};
        std::memcpy(font_.FontName, u"Test Face", sizeof(u"Test Face"));
        font_.FontSize = 16;
        font_.FontAsciiBase = 1488;
    }
    void TearDown() override {
        OutlineList_Destroy(list_, 1);
        deleteDc(dc_);
        plainFree(appState.letterConversion.convBuffer);
        appState.letterConversion = LetterConversion{};
    }
    OutlineList* build(uint8_t* index, int width, int height = 2000) {
        Rect r{0, 0, width, height};
        list_ = OutlineList_Create(dc_, &r, &font_, 100);
        EXPECT_NE(list_, nullptr);
        EXPECT_EQ(OutlineList_Build(list_, index, 0), 0);
        return list_;
    }
    OutlineList* buildBook(int width = 2000, int height = 2000) {
        return build(LoadBookResource(kIndexBookNumber, nullptr), width, height);
    }
    // Rows of the record with `value` (its first row, or -1).
    int rowOf(uint16_t value) const {
        for (int i = 0; i < list_->rowCount; ++i) {
            if (list_->rows[i].sectionValue == value) return i;
        }
        return -1;
    }
    bool shown(uint16_t value) const {
        int i = rowOf(value);
        return i >= 0 && (list_->rows[i].sectionStyle & SectionShown);
    }
    // The y of a shown row's middle as painted from topRow.
    int middleOf(int row) const {
        int y = list_->area.top, passed = 0;
        for (int i = 0; i < row; ++i) {
            if (!(list_->rows[i].sectionStyle & SectionShown)) continue;
            if (passed++ >= list_->topRow) y += list_->rows[i].height;
        }
        return y + list_->rows[row].height / 2;
    }
    DcHandle dc_ = nullptr;
    FontSpec font_{};
    OutlineList* list_ = nullptr;
};

TEST_F(Outline, TheBooksIndexOpensWithItsHeadingClosed) {
    buildBook();
    EXPECT_EQ(list_->rowCount, 54) << "one row per record at this width";
    EXPECT_EQ(list_->shownRows, 37) << "36 lessons and the closed heading";
    int heading = rowOf(kBookHeadingValue);
    ASSERT_GE(heading, 0);
    EXPECT_FALSE(list_->rows[heading].sectionStyle & SectionOpen);
    for (int lesson = 37; lesson <= 53; ++lesson)
        EXPECT_FALSE(shown(uint16_t(0x4000 | lesson))) << lesson;
    const OutlineRow& first = list_->rows[0];
    EXPECT_EQ(first.height, 20) << "large type";
    EXPECT_EQ(2000 - first.x - first.width, 13) << "indented 13 pixels a level from the right";
    EXPECT_EQ(list_->rows[heading + 1].height, 16);
    EXPECT_EQ(2000 - list_->rows[heading + 1].x - list_->rows[heading + 1].width, 26);
    EXPECT_EQ(appState.letterConversion.activeLetterBase, LetterBaseLatin) << "back at rest";

    OutlineList_Paint(list_, 1);
    EXPECT_EQ(list_->rowsPainted, 37);
    EXPECT_EQ(appState.letterConversion.activeLetterBase, LetterBaseLatin);
    int texts = 0;
    for (const DrawOp& op : recordedOps(dc_)) {
        if (op.kind != DrawOp::Text) continue;
        ++texts;
        EXPECT_EQ(op.textColour, 0xFF0000u) << "the index's large bold rows are blue";
        EXPECT_GE(op.text[0], u'\u05D0') << "Hebrew at the chosen base";
    }
    EXPECT_EQ(texts, 37);
}

TEST_F(Outline, TheCurrentLessonIsRevealedUnderItsClosedHeading) {
    buildBook();
    OutlineList_RevealLesson(list_, 40);
    EXPECT_TRUE(shown(0x4028));
    EXPECT_TRUE(shown(0x4029)) << "and the record after it";
    EXPECT_FALSE(shown(0x4027));
    EXPECT_FALSE(shown(0x402A));
    int heading = rowOf(kBookHeadingValue);
    EXPECT_FALSE(list_->rows[heading].sectionStyle & SectionOpen) << "still closed";
    EXPECT_EQ(list_->shownRows, 39);

    // Tapping the heading's text opens it: every entry under it shows.
    const OutlineRow& h = list_->rows[heading];
    EXPECT_EQ(OutlineList_HitTest(list_, h.x + 2, middleOf(heading)), -0x3FDA);
    EXPECT_TRUE(list_->rows[heading].sectionStyle & SectionOpen);
    EXPECT_EQ(list_->shownRows, 54);
    // And again closes it, hiding them all, the revealed ones too.
    EXPECT_EQ(OutlineList_HitTest(list_, h.x + 2, middleOf(heading)), -0x3FDA);
    EXPECT_EQ(list_->shownRows, 37);

    OutlineList_RevealLesson(list_, 12);
    EXPECT_EQ(list_->shownRows, 37) << "a lesson already shown changes nothing";
}

TEST_F(Outline, TapsOnEntriesAndHeadings) {
    buildBook(600, 410); // 20 rows of 20 pixels fit, and 10 pixels below them
    int entry = rowOf(0x4003), heading = rowOf(kBookHeadingValue);
    list_->topRow = uint16_t(heading - 3); // the heading on the page
    OutlineList_Paint(list_, 1);
    const OutlineRow& e = list_->rows[entry];
    const OutlineRow& h = list_->rows[heading];
    struct Case {
        const char* what;
        int x, y;
        int32_t result;
    } cases[] = {
        {"entry, left edge of its text", e.x, 0, 3},
        {"entry, its glyph's slack", e.x + e.width + 13, 0, 3},
        {"entry, left of its text", e.x - 1, 0, 0},
        {"entry, too far right", e.x + e.width + 14, 0, 0},
        {"heading, left of its text", h.x - 1, 1, 0},
        {"heading, its text", h.x + 1, 1, -0x3FDA},
        {"heading, far right of its text", 590, 1, -0x3FDA},
        {"outside the area", 601, 1, 0},
    };
    list_->topRow = 0;
    for (const Case& c : cases) {
        int row = c.y == 0 ? entry : heading;
        list_->topRow = c.y == 0 ? 0 : uint16_t(heading - 3);
        EXPECT_EQ(OutlineList_HitTest(list_, c.x, middleOf(row)), c.result) << c.what;
    }
    // Below the last whole row, inside the area.
    list_->topRow = list_->maxTopRow;
    EXPECT_EQ(OutlineList_HitTest(list_, 300, 405), int32_t(0x80000000u));
    EXPECT_NE(OutlineList_HitTest(list_, 590, 399), int32_t(0x80000000u)) << "the last row";
}

TEST_F(Outline, ScrollingStaysWithinItsRange) {
    buildBook(2000, 200); // large rows: 20 pixels, 10 a page
    EXPECT_EQ(list_->maxTopRow, 37 - 10);
    struct Case {
        int from, delta, to;
    } cases[] = {{0, -1, 0}, {0, 1, 1}, {5, 100, 27}, {27, 1, 27}, {10, -3, 7}};
    for (const Case& c : cases) {
        list_->topRow = uint16_t(c.from);
        OutlineList_ScrollBy(list_, c.delta);
        EXPECT_EQ(list_->topRow, c.to) << c.from << " by " << c.delta;
    }
    list_->topRow = 27;
    OutlineList_Paint(list_, 1);
    EXPECT_EQ(list_->rowsPainted, 10) << "the last page ends with the last shown row";
}

TEST_F(Outline, LongTitlesWrapAtSpaces) {
    // Stored in display order: the reading order's first word is at the end.
    std::string stored = "fff eee ddd ccc bbb"; // five words of three letters
    struct Case {
        int width;
        std::vector<std::string> rows; // stored bytes of each row, top row first
    } cases[] = {
        {13 + 8 * 6, {"bbb", "ccc", "ddd", "eee", "fff"}}, // 6 letters fit: one word a row
        {13 + 8 * 7, {"ccc bbb", "eee ddd", "fff"}},       // 7: two words and their space
        {13 + 8 * 10, {"ccc bbb", "eee ddd", "fff"}},      // 10: a third word does not fit
        {13 + 8 * 2, {"bb", "b", "cc", "c", "dd", "d", "ee", "e", "ff", "f"}}, // words cut
    };
    for (const Case& c : cases) {
        OutlineList_Destroy(list_, 1);
        build(indexBuffer(record(0x4001, 0x81, 1, stored)), c.width);
        std::vector<std::string> rows;
        for (int i = 0; i < list_->rowCount; ++i) {
            const OutlineRow& r = list_->rows[i];
            rows.emplace_back(reinterpret_cast<const char*>(list_->indexText + r.start), r.length);
            EXPECT_EQ(c.width - r.x - r.width, 13) << "right-aligned, one indent";
        }
        EXPECT_EQ(rows, c.rows) << "width " << c.width;
        EXPECT_EQ(list_->shownRows, list_->rowCount);
    }
}

TEST_F(Outline, AnIndentWiderThanTheAreaCountsAsNothing) {
    build(indexBuffer(record(0x4001, 0x81, 9, "abc")), 100); // 9 levels: 117 pixels
    EXPECT_EQ(list_->rows[0].x + list_->rows[0].width, 100);
}

TEST_F(Outline, ALetterWiderThanTheAreaStillEndsTheLayout) {
    build(indexBuffer(record(0x4001, 0x81, 1, "abc")), 5);
    EXPECT_EQ(list_->rowCount, 3) << "one letter a row when not one fits";
}

TEST_F(Outline, HeadingsThatWrapOrHaveNoChildren) {
    std::string records = record(0x8001, 0xC1, 1, "bbbb aaaa") + // wraps at width 13 + 32
                          record(0x4002, 0x81, 2, "cc") +
                          record(0x8003, 0xC1, 1, "dd") + // no children: a sibling follows
                          record(0x4004, 0x81, 1, "ee");
    build(indexBuffer(records), 13 + 8 * 4);
    ASSERT_EQ(list_->rowCount, 5);
    ASSERT_EQ(list_->rows[1].sectionValue, 0x8001) << "the heading takes two rows";
    EXPECT_EQ(OutlineList_Toggle(list_, 1), -1);
    EXPECT_FALSE(list_->rows[0].sectionStyle & SectionOpen) << "both rows closed together";
    EXPECT_FALSE(list_->rows[1].sectionStyle & SectionOpen);
    EXPECT_TRUE(list_->rows[0].sectionStyle & SectionShown) << "its own rows stay";
    EXPECT_FALSE(list_->rows[2].sectionStyle & SectionShown) << "its child is hidden";
    EXPECT_EQ(list_->shownRows, 4);
    EXPECT_EQ(OutlineList_Toggle(list_, 3), -3);
    EXPECT_TRUE(list_->rows[4].sectionStyle & SectionShown) << "a childless heading hides nothing";
    EXPECT_EQ(list_->shownRows, 4);
    EXPECT_EQ(OutlineList_Toggle(list_, 0), -1);
    EXPECT_EQ(list_->shownRows, 5);
}

TEST_F(Outline, ASizeChangeKeepsWhatWasShownAndOpen) {
    buildBook(2000, 400);
    OutlineList_RevealLesson(list_, 45);
    int heading = rowOf(kBookHeadingValue);
    OutlineList_Toggle(list_, heading); // open
    uint16_t* saved = OutlineList_SaveOpenState(list_);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(OutlineList_Resize(list_, 300, 400), 0);
    EXPECT_EQ(list_->shownRows, 37) << "laid out again from the stored records";
    EXPECT_EQ(OutlineList_RestoreOpenState(list_, saved), 0);
    plainFree(saved);
    EXPECT_EQ(list_->shownRows, list_->rowCount) << "every row shown again, wrapped ones too";
    EXPECT_TRUE(list_->rows[rowOf(kBookHeadingValue)].sectionStyle & SectionOpen);
    EXPECT_EQ(OutlineList_RestoreOpenState(list_, nullptr), -1);
}

TEST_F(Outline, EmptyAndBrokenIndexes) {
    Rect r{0, 0, 200, 200};
    list_ = OutlineList_Create(dc_, &r, &font_, 0);
    struct Case {
        const char* what;
        std::string records;
        int32_t result;
    } cases[] = {
        {"nothing but the end", "", 0xFFFC},
        {"an empty first title", record(0x4001, 0x81, 1, "") + record(0x4002, 0x81, 1, "ab"),
         0xFFFC},
    };
    for (const Case& c : cases) {
        uint8_t* index = indexBuffer(c.records);
        EXPECT_EQ(OutlineList_Build(list_, index, 0), c.result) << c.what;
        EXPECT_EQ(list_->indexText, nullptr) << "not taken";
        plainFree(index);
    }
    EXPECT_EQ(OutlineList_Build(list_, nullptr, 1), 2);
    EXPECT_EQ(OutlineList_Paint(list_, 1), -1);
    EXPECT_EQ(OutlineList_HitTest(list_, 5, 5), 0) << "a list without rows";
    EXPECT_EQ(OutlineList_Build(nullptr, nullptr, 0), -1);
    EXPECT_EQ(OutlineList_Create(nullptr, &r, &font_, 10), nullptr);
}

TEST_F(Outline, OutOfMemoryWhileBuilding) {
    // Each allocation in turn fails: the build goes on without what it can do without (a
    // font), or reports it and keeps no buffer it did not take.
    for (long succeed = 0;; ++succeed) {
        OutlineList_Destroy(list_, 1);
        Rect r{0, 0, 200, 2000};
        list_ = OutlineList_Create(dc_, &r, &font_, 0);
        plainFree(appState.letterConversion.convBuffer);
        appState.letterConversion = LetterConversion{};
        uint8_t* index = LoadBookResource(kIndexBookNumber, nullptr);
        long before = allocationCount();
        injectAllocFailures(succeed, 1);
        int32_t result = OutlineList_Build(list_, index, 0);
        injectAllocFailures(0, 0);
        clearQuitRequest();
        if (allocationCount() - before <= succeed) {
            EXPECT_EQ(result, 0) << "no failure reached";
            break;
        }
        if (result == 0) {
            EXPECT_EQ(list_->indexText, index);
            continue;
        }
        EXPECT_EQ(result, 0xFFFE) << succeed;
        EXPECT_EQ(list_->indexText, nullptr);
        EXPECT_EQ(list_->rowCount, 0);
        plainFree(index);
    }
    takeShownMessages();
}

// An outline of 400 x 300 pixels in a 16-pixel font, with the outline's icons loaded.
class OutlineGlyphs : public testing::Test {
protected:
    void SetUp() override {
        startHeadlessGraphics();
        resetAppState();
        for (int i = 0; i < 3; ++i)
            appState.outlineIcons[i] = loadBitmap(201 + i);
        ASSERT_NE(appState.outlineIcons[2], nullptr);
        dc = createImageDc(400, 300);
        FontSpec font{};
        font.FontSize = 16;
        font.FontAsciiBase = 1488;
        Rect r{0, 0, 400, 300};
        list = OutlineList_Create(dc, &r, &font, 0);
    }
    void TearDown() override {
        OutlineList_Destroy(list, 1);
        deleteDc(dc);
        for (BitmapHandle& icon : appState.outlineIcons) {
            deleteBitmap(icon);
            icon = nullptr;
        }
    }
    DcHandle dc = nullptr;
    OutlineList* list = nullptr;
};

// In every scheme: the glyph's black is the scheme's index text, its white the paper.
TEST_F(OutlineGlyphs, SitBesideTheFirstRowOfEachRecord) {
    std::string records = record(0x4001, 0x81, 1, "abc") + record(0x8002, 0x81, 1, "def");
    ASSERT_EQ(OutlineList_Build(list, indexBuffer(records), 0), 0);
    struct Case {
        int dx, dy;
        bool entryInk, headingInk; // the entry's dot, the closed heading's boxed plus
    } cases[] = {
        {4, 4, true, true},  {0, 0, false, true}, {4, 2, true, true},  {1, 1, false, false},
        {8, 0, false, true}, {7, 4, true, false}, {8, 4, false, true},
    };
    for (ColourScheme scheme : {ColourScheme::Light, ColourScheme::Dark, ColourScheme::Sepia}) {
        appState.colourScheme = scheme;
        const PageColours& colours = pageColours();
        OutlineList_Paint(list, 1);
        for (const Case& c : cases) {
            for (int i = 0; i < 2; ++i) {
                const OutlineRow& row = list->rows[i];
                int x = row.x + row.width + 4,
                    y = (i == 0 ? 0 : list->rows[0].height) + (row.height - 9) / 2;
                bool ink = i == 0 ? c.entryInk : c.headingInk;
                EXPECT_EQ(dcPixel(dc, x + c.dx, y + c.dy), ink ? colours.indexText : colours.paper)
                    << "scheme " << int(scheme) << ", row " << i << " at +" << c.dx << ",+" << c.dy;
            }
        }
    }
    EXPECT_EQ(coloursOf(ColourScheme::Light, false).indexText, Colour(0x000000))
        << "the light index keeps the bitmaps' own black and white";
    EXPECT_EQ(coloursOf(ColourScheme::Light, false).paper, Colour(0xFFFFFF));
}

// The last bookmark is the lesson of the index's next row: two records of the same value, each
// with its own dot (the entry glyph), as is a record that follows one of another value.
TEST_F(OutlineGlyphs, ABookmarkAndTheIndexEntryOfItsLessonEachHaveTheirs) {
    std::string records = record(0x4005, 0x81, 2, "abc") + record(0x4005, 0x81, 1, "abc") +
                          record(0x4006, 0x81, 1, "def");
    ASSERT_EQ(OutlineList_Build(list, indexBuffer(records), 0), 0);
    ASSERT_EQ(list->rowCount, 3);
    OutlineList_Paint(list, 1);
    int y = 0;
    for (int i = 0; i < 3; ++i) {
        const OutlineRow& row = list->rows[i];
        int x = row.x + row.width + 4, top = y + (row.height - 9) / 2;
        EXPECT_EQ(dcPixel(dc, x + 4, top + 4), Colour(0x000000)) << "row " << i << ": no dot";
        y += row.height;
    }
}
} // namespace
