// Layout of fixture lessons on the recording surface (16-pixel lines, 8-pixel advances; small
// type 12 and 6).
#include "tests/support/view_fixture.h"

namespace {
using Lines = std::vector<LineRecord>;

struct LayoutCase {
    const char* name;
    std::string source;
    int width;
    Lines expected;
};

class Layout : public ViewTest, public testing::WithParamInterface<LayoutCase> {};

TEST_P(Layout, LinesAreWhereTheyBelong) {
    const LayoutCase& c = GetParam();
    layout(c.source, c.width);
    EXPECT_EQ(lines(), c.expected) << c.source;
}

// LineRecord fields: start, length, x, labelWidth, width, height, linkNumber, style.
const LayoutCase kLayoutCases[] = {
    {"breaks at a space",
     "[p latin margin=0] aaa bbb ccc",
     80,
     {{2, 7, 0, 0, 56, 16, 0, 0x60}, {10, 3, 0, 0, 24, 16, 0, 0x60}}},
    {"breaks after a hyphen, which stays",
     "[p latin margin=0] abc-def",
     48,
     {{2, 4, 0, 0, 32, 16, 0, 0x60}, {6, 3, 0, 0, 24, 16, 0, 0x60}}},
    {"cuts a word longer than the width",
     "[p latin margin=0] abcdefghij",
     40,
     {{2, 5, 0, 0, 40, 16, 0, 0x60}, {7, 5, 0, 0, 40, 16, 0, 0x60}}},
    {"takes one byte when none fits",
     "[p latin margin=0] abc",
     4,
     {{2, 1, 0, 0, 8, 16, 0, 0x60}, {3, 1, 0, 0, 8, 16, 0, 0x60}, {4, 1, 0, 0, 8, 16, 0, 0x60}}},
    {"a record of spaces makes no line",
     "[p latin margin=0] a\n[raw] 60 00 20 20 20",
     80,
     {{2, 1, 0, 0, 8, 16, 0, 0x60}}},
    {"right-aligned Hebrew with a margin",
     "[p margin=10] אבג",
     100,
     {{2, 3, 66, 0, 24, 16, 0, 0x30}}},
    {"Hebrew breaks in reading order",
     "[p margin=0] אב גד הו",
     40,
     {{5, 5, 0, 0, 40, 16, 0, 0x30}, {2, 2, 24, 0, 16, 16, 0, 0x30}}},
    {"centred", "[p center margin=6] אבג", 100, {{2, 3, 41, 0, 24, 16, 0, 0x50}}},
    {"left", "[p latin bold margin=4] ab", 100, {{2, 2, 4, 0, 16, 16, 0, 0x08}}},
    {"left, the second code", "[p left2 margin=4] אב", 100, {{2, 2, 4, 0, 16, 16, 0, 0x70}}},
    {"a margin wider than the area counts as 0",
     "[p latin bold margin=50] ab",
     40,
     {{2, 2, 0, 0, 16, 16, 0, 0x08}}},
    {"a margin as wide as the area counts as 0",
     "[p latin bold margin=50] ab",
     50,
     {{2, 2, 0, 0, 16, 16, 0, 0x08}}},
    {"label column and hanging indent",
     "[item 1 latin margin=0] 1. aaa bbb ccc",
     100,
     {{2, 7, 16, 16, 56, 16, 0, 0x60}, {13, 3, 16, 0, 24, 16, 0, 0x60}}},
    {"label code 2", "[item 2 latin margin=0] 1. ab", 100, {{2, 2, 24, 24, 16, 16, 0, 0x60}}},
    {"label code 3", "[item 3 latin margin=0] 1. ab", 100, {{2, 2, 32, 32, 16, 16, 0, 0x60}}},
    {"Hebrew label stored after the body",
     "[item 1 margin=0] 1. אב",
     100,
     {{2, 2, 68, 16, 16, 16, 0, 0x30}}},
    {"continuation lines up, moved by the margin difference",
     "[item 1 latin margin=4] 1. aaa\n[cont latin margin=8] bbb",
     100,
     {{2, 3, 20, 16, 24, 16, 0, 0x60}, {12, 3, 24, 0, 24, 16, 0, 0x60}}},
    {"rules of each length kind",
     "[p latin margin=0] a\n[rule 60]\n[rule 50%]\n[rule 160 latin]\n[rule 190% center]",
     100,
     {{2, 1, 0, 0, 8, 16, 0, 0x60},
      {6, 0, 40, 0, 60, 16, 0, 0x37},
      {9, 0, 50, 0, 50, 16, 0, 0x37},
      {12, 0, 0, 0, 100, 16, 0, 0x07},
      {15, 0, 0, 0, 100, 16, 0, 0x57}}},
    {"link captions in small type",
     "[p latin margin=0] a\n[link 5] אב\n[link 300 latin] ab",
     100,
     {{2, 1, 0, 0, 8, 16, 0, 0x60},
      {7, 2, 88, 0, 12, 12, 5, 0x37},
      {14, 2, 0, 0, 12, 12, 300, 0x07}}},
    {"a link with number 0 makes no line",
     "[p latin margin=0] a\n[raw] 37 05 80 61 62",
     100,
     {{2, 1, 0, 0, 8, 16, 0, 0x60}}},
    {"the last line never keeps its empty line",
     "[p latin after margin=0] a\n[p latin after margin=0] b",
     100,
     {{2, 1, 0, 0, 8, 16, 0, 0xE0}, {6, 1, 0, 0, 8, 16, 0, 0x60}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Layout, testing::ValuesIn(kLayoutCases),
                         [](const testing::TestParamInfo<LayoutCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 name += std::isalnum(*p) ? *p : '_';
                             return name;
                         });

class LayoutView : public ViewTest {};

TEST_F(LayoutView, LineUnitsAndMaxTopLine) {
    struct Case {
        std::string source;
        int height, total, maxTop;
    } cases[] = {
        {"[p latin after margin=0] a\n[p latin after margin=0] b", 400, 3, 0},
        // Five 30-pixel lines in 100 pixels: the last three fit.
        {"[p latin] a\n[p latin] b\n[p latin] c\n[p latin] d\n[p latin] e", 100, 5, 2},
        // An empty line after a record takes its height too; one that does not fit whole is not
        // counted.
        {"[p latin] a\n[p latin after] b\n[p latin after] c\n[p latin] d", 100, 6, 3},
        {"[p latin] a\n[p latin after] b\n[p latin after] c\n[p latin] d", 70, 6, 4},
    };
    for (const Case& c : cases) {
        layout(c.source, 100, c.height, c.height == 400 ? 16 : 30);
        EXPECT_EQ(view_->totalLines, c.total) << c.source;
        EXPECT_EQ(view_->maxTopLine, c.maxTop) << c.source << " in " << c.height;
    }
}

TEST_F(LayoutView, ShowOffset) {
    layout("[p latin margin=0] aaa bbb ccc", 80, 16); // two lines, one on screen: maxTopLine 1
    ASSERT_EQ(view_->maxTopLine, 1);
    struct Case {
        int offset, result, topLine;
    } cases[] = {{10, 1, 1}, {13, 1, 1}, {9, 1, 0}, {2, 1, 0}, {14, 0, 0}, {1, 0, 0}};
    for (const Case& c : cases) {
        view_->topLine = 0;
        EXPECT_EQ(TextView_ShowOffset(view_, c.offset), c.result) << c.offset;
        EXPECT_EQ(view_->topLine, c.topLine) << c.offset;
    }
    layout("[p latin margin=0] aaa bbb ccc", 80, 400);
    EXPECT_EQ(TextView_ShowOffset(view_, 10), 1);
    EXPECT_EQ(view_->topLine, 0) << "never past maxTopLine";
}

TEST_F(LayoutView, ResizeAndFontChangeKeepTopLine) {
    layout("[p latin margin=0] aaa bbb ccc ddd eee", 80, 16);
    view_->topLine = 2;
    view_->highlightStart = 3;
    view_->highlightEnd = 5;
    EXPECT_EQ(TextView_Resize(view_, 0, 100), -5);
    EXPECT_EQ(TextView_Resize(view_, 100, -1), -5);
    EXPECT_EQ(view_->area.width, 80) << "a refused size changes nothing";
    EXPECT_EQ(view_->highlightEnd, 5);
    EXPECT_EQ(TextView_Resize(view_, 200, 16), 0);
    EXPECT_EQ(view_->lineCount, 1);
    EXPECT_EQ(view_->topLine, 2) << "the number stays, whatever it now stands for";
    EXPECT_EQ(view_->highlightEnd, 0) << "a new layout clears the highlight";

    FontSpec bigger = font(32);
    EXPECT_EQ(TextView_SetFont(view_, &bigger), 0) << "laid out and painted";
    EXPECT_EQ(view_->topLine, 2);
    EXPECT_EQ(view_->lineCount, 2);
    EXPECT_EQ(view_->lines[0].height, 32);
    EXPECT_EQ(TextView_SetFont(view_, nullptr), 0);
    for (FontCacheEntry* e = view_->fontCache; e; e = e->next)
        EXPECT_EQ(e->font, nullptr);
    EXPECT_EQ(TextView_SetText(view_, view_->text, 0), 0) << "fonts come back on the next use";
}

TEST_F(LayoutView, RefusedAndReleasedTexts) {
    layout("[p latin] a", 100);
    uint8_t* held = view_->text;
    uint8_t* empty = lessonBuffer("[p latin] a");
    empty[2] = 0; // a first text record with empty text
    EXPECT_EQ(TextView_SetText(view_, empty, 1), -4);
    EXPECT_EQ(view_->text, held) << "a refused text leaves the view as it was";
    empty[0] = 0;
    EXPECT_EQ(TextView_SetText(view_, empty, 1), -4);
    plainFree(empty);
    EXPECT_EQ(TextView_SetText(nullptr, held, 0), -1);
    EXPECT_EQ(TextView_SetText(view_, nullptr, 1), 2);
    EXPECT_EQ(view_->text, nullptr);
    EXPECT_EQ(TextView_Paint(view_, 1), -1) << "nothing to paint";
}

TEST_F(LayoutView, OutOfMemory) {
    // The font cache cannot be had: -2, not a crash.
    FontSpec chosen = font(16);
    Rect rect{0, 0, 100, 100};
    view_ = TextView_Create(dc_, &rect, &chosen, 100);
    uint8_t* text = lessonBuffer("[p latin] a");
    injectAllocFailures(0, -1);
    EXPECT_EQ(TextView_SetText(view_, text, 0), -2);
    injectAllocFailures(0, 0);
    ASSERT_EQ(TextView_SetText(view_, text, 0), 0);

    // The table cannot grow: -2, the table emptied, the old text kept.
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "[p latin] a\n";
    uint8_t* longer = lessonBuffer(many);
    injectAllocFailures(0, -1);
    EXPECT_EQ(TextView_SetText(view_, longer, 0), -2);
    injectAllocFailures(0, 0);
    EXPECT_EQ(view_->text, text);
    EXPECT_EQ(view_->lineCount, 0);
    EXPECT_EQ(TextView_SetText(view_, longer, 1), 0);
    EXPECT_EQ(view_->lineCount, 200);
    EXPECT_GE(view_->lineCapacity, 200);
}

// A layout that fails at any allocation keeps the view's old text (released only once the new
// one is laid out) and leaves no link hit pointing into a line table that has been replaced:
// a tap then finds no link instead of reading freed lines (ASan watches this).
TEST_F(LayoutView, AFailedLayoutLeavesNoStaleLinks) {
    std::string many = "[link 7] א\n";
    for (int i = 0; i < 300; ++i)
        many += "[p] שלום עולם\n[link 9] ב\n";
    bool finished = false;
    for (long succeed = 0; !finished && succeed < 10000; ++succeed) {
        layout("[link 5] ג\n[p latin] a\n", 200);
        TextView_Paint(view_, 1);
        ASSERT_NE(view_->linkHits, nullptr);
        ASSERT_NE(view_->linkHits[0].line, nullptr);
        int x = view_->linkHits[0].line->x + 1, y = view_->linkHits[0].y + 2;
        ASSERT_EQ(TextView_HitTestLink(view_, x, y), 5);
        uint8_t* old = view_->text;
        uint8_t* longer = lessonBuffer(many);
        injectAllocFailures(succeed, 1);
        int result = TextView_SetText(view_, longer, 1);
        injectAllocFailures(0, 0);
        if (result == 0) {
            finished = true;
            continue;
        }
        ASSERT_EQ(result, -2) << "allocation " << succeed + 1;
        plainFree(longer);
        EXPECT_EQ(view_->text, old) << "allocation " << succeed + 1;
        EXPECT_EQ(view_->lineCount, 0);
        EXPECT_EQ(TextView_HitTestLink(view_, x, y), 0) << "allocation " << succeed + 1;
        // The old text lays out again as it was.
        ASSERT_EQ(TextView_SetText(view_, view_->text, 0), 0);
        EXPECT_EQ(view_->lineCount, 2);
    }
    EXPECT_TRUE(finished);
}

// A malformed text leaves everything as it was, the layout too.
TEST_F(LayoutView, AMalformedTextChangesNothing) {
    layout("[p latin] a\n[p latin] b\n", 100);
    view_->topLine = 1;
    view_->highlightStart = 0, view_->highlightEnd = 1;
    uint16_t total = view_->totalLines, maxTop = view_->maxTopLine, count = view_->lineCount;
    uint8_t* bad = lessonBuffer("[p latin] a");
    bad[0] = 0;
    EXPECT_EQ(TextView_SetText(view_, bad, 1), -4);
    plainFree(bad);
    EXPECT_EQ(view_->lineCount, count);
    EXPECT_EQ(view_->totalLines, total);
    EXPECT_EQ(view_->maxTopLine, maxTop);
    EXPECT_EQ(view_->highlightEnd, 1);
}
} // namespace
