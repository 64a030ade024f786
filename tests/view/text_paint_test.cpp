// Painting, highlight, scrolling and link taps on the recording surface.
#include "content/lesson_records.h"
#include "tests/support/view_fixture.h"

namespace {
class Paint : public ViewTest {
protected:
    // The y of each text drawn, in order.
    std::vector<int> textTops() const {
        std::vector<int> tops;
        for (const DrawOp& op : ops(DrawOp::Text))
            tops.push_back(op.rect.top);
        return tops;
    }
    int paint(int erase = 1) {
        clearRecordedOps(dc_);
        return TextView_Paint(view_, erase);
    }
};

const char kThree[] = "[p latin after margin=0] a\n[p latin margin=0] b\n[p latin margin=0] c";

TEST_F(Paint, FirstLineFromTopLine) {
    layout(kThree, 100, 400);
    struct Case {
        int topLine;
        std::vector<int> tops;
        int painted;
    } cases[] = {
        {0, {0, 32, 48}, 4},
        {1, {16, 32}, 2}, // on the empty line after "a": one line down, with "b"
        {2, {0, 16}, 2},
        {3, {0}, 1},
    };
    for (const Case& c : cases) {
        view_->topLine = uint16_t(c.topLine);
        EXPECT_EQ(paint(), 0);
        EXPECT_EQ(textTops(), c.tops) << "topLine " << c.topLine;
        EXPECT_EQ(view_->linesPainted, c.painted) << "topLine " << c.topLine;
    }
    view_->topLine = 9;
    paint();
    EXPECT_EQ(view_->topLine, view_->maxTopLine) << "a position past the end goes to maxTopLine";
}

TEST_F(Paint, EraseFillsTheAreaWhiteFirst) {
    layout(kThree, 100, 400, 16, 5, 7);
    paint(1);
    const std::vector<DrawOp>& all = recordedOps(dc_);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].kind, DrawOp::Fill);
    EXPECT_EQ(all[0].rect.left, 5);
    EXPECT_EQ(all[0].rect.top, 7);
    EXPECT_EQ(all[0].rect.right, 105);
    EXPECT_EQ(all[0].rect.bottom, 407);
    EXPECT_EQ(all[0].brushColour, 0xFFFFFFu);
    paint(0);
    EXPECT_TRUE(ops(DrawOp::Fill).empty());
    EXPECT_EQ(textTops(), (std::vector<int>{7, 39, 55}));
}

TEST_F(Paint, ALineThatDoesNotFitEndsThePage) {
    layout("[p latin margin=0] a\n[p latin margin=0] b\n[p latin margin=0] c", 100, 40);
    paint();
    EXPECT_EQ(textTops(), (std::vector<int>{0, 16}));
    EXPECT_EQ(view_->linesPainted, 2);
}

TEST_F(Paint, ColoursFollowTheStyle) {
    layout("[p latin large bold margin=0] a\n[p latin small margin=0] b\n[p latin margin=0] "
           "c\n[rule 50 latin]",
           100);
    paint();
    std::vector<DrawOp> texts = ops(DrawOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].textColour, 0xFF0000u);
    EXPECT_EQ(texts[0].font.height, 20);
    EXPECT_EQ(texts[0].font.weight, 700);
    EXPECT_EQ(texts[1].textColour, 0x800000u);
    EXPECT_EQ(texts[1].font.height, 12);
    EXPECT_EQ(texts[2].textColour, 0x000000u);
    std::vector<DrawOp> rules = ops(DrawOp::Rectangle);
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules[0].brushColour, 0x000000u);
    EXPECT_EQ(rules[0].rect.top, 20 + 12 + 16 + 8) << "through the middle of the line";
    EXPECT_EQ(rules[0].rect.bottom - rules[0].rect.top, 1);
    EXPECT_EQ(rules[0].rect.right - rules[0].rect.left, 50);
}

TEST_F(Paint, HebrewIsConvertedAndLabelsStandBesideTheBody) {
    layout("[item 1 margin=0] 1. אב\n[item 1 latin margin=0] 2. ab", 100);
    paint();
    std::vector<DrawOp> texts = ops(DrawOp::Text);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, u".1");
    EXPECT_EQ(texts[0].rect.left, 84) << "the Hebrew label right of the body";
    EXPECT_EQ(texts[1].text, u"\u05D1\u05D0");
    EXPECT_EQ(texts[1].rect.left, 68);
    EXPECT_EQ(texts[2].text, u"2.");
    EXPECT_EQ(texts[2].rect.left, 0) << "the Latin label left of the body";
    EXPECT_EQ(texts[3].text, u"ab");
    EXPECT_EQ(texts[3].rect.left, 16);
    EXPECT_EQ(appState.letterConversion.activeLetterBase, LetterBaseLatin)
        << "put back after each Hebrew line";
}

const char kLinks[] =
    "[p latin margin=0] a\n[return latin] back\n[link 7 latin] one two three four";

TEST_F(Paint, ReturnLinkHiddenUnlessShown) {
    layout(kLinks, 60);
    paint();
    std::vector<DrawOp> frames = ops(DrawOp::RoundRect);
    ASSERT_EQ(frames.size(), 1u)
        << "one frame around both lines of link 7, none for the return link";
    EXPECT_EQ(frames[0].rect.left, -10);
    EXPECT_EQ(frames[0].rect.top, 14);
    EXPECT_EQ(frames[0].rect.right, 52);
    EXPECT_EQ(frames[0].rect.bottom, 43);
    EXPECT_TRUE(frames[0].hollow);
    EXPECT_EQ(frames[0].ellipseWidth, 6);
    EXPECT_EQ(textTops(), (std::vector<int>{0, 16, 28}));
    EXPECT_EQ(view_->linesPainted, 3);
    EXPECT_EQ(ops(DrawOp::Text)[1].textColour, 0x800000u);

    struct Tap {
        int x, y, link;
    } taps[] = {{-10, 14, 7}, {52, 31, 7}, {53, 20, 0}, {70, 43, 7},
                {71, 43, 0},  {0, 44, 0},  {0, 5, 0}};
    for (const Tap& t : taps)
        EXPECT_EQ(TextView_HitTestLink(view_, t.x, t.y), t.link) << t.x << "," << t.y;

    view_->viewFlags |= ReturnLinkShown;
    paint();
    EXPECT_EQ(ops(DrawOp::RoundRect).size(), 2u);
    EXPECT_EQ(textTops(), (std::vector<int>{0, 16, 28, 40}));
    EXPECT_EQ(TextView_HitTestLink(view_, 5, 20), int(kReturnLink));
    EXPECT_EQ(TextView_HitTestLink(view_, 5, 35), 7);
}

TEST_F(Paint, HighlightFromTheLineEdgeAndFromInside) {
    layout("[p latin margin=0] aaa bbb ccc", 80);
    view_->highlightStart = 6; // "bbb ccc" ends inside "ccc"
    view_->highlightEnd = 12;
    EXPECT_EQ(paint(), 0);
    std::vector<DrawOp> marked;
    for (const DrawOp& op : ops(DrawOp::Text)) {
        if (op.backgroundColour == 0x00FFFF) marked.push_back(op);
    }
    ASSERT_EQ(marked.size(), 2u);
    EXPECT_EQ(marked[0].text, u"bbb");
    EXPECT_EQ(marked[0].rect.left, 32) << "from the width of the bytes before it";
    EXPECT_EQ(marked[0].textColour, 0xFF0000u);
    EXPECT_EQ(marked[1].text, u"cc");
    EXPECT_EQ(marked[1].rect.left, 0) << "from the line's edge";
    EXPECT_EQ(marked[1].rect.top, 16);
    EXPECT_EQ(getTextColour(dc_), 0x000000u) << "colours restored";
}

TEST_F(Paint, ScrollBy) {
    std::string ten;
    for (char c = 'a'; c < 'a' + 10; ++c)
        ten += std::string("[p latin margin=0] ") + c + "\n";
    layout(ten, 100, 48);
    ASSERT_EQ(view_->totalLines, 10);
    ASSERT_EQ(view_->maxTopLine, 7);
    struct Case {
        int top, delta, repaint, bounded, result, after;
        bool painted;
    } cases[] = {
        {2, -5, 1, 1, 0, 0, true}, {0, -5, 1, 1, 1, 0, false}, {7, 1, 1, 1, 1, 7, false},
        {8, 1, 1, 1, 1, 8, false}, {5, 4, 0, 1, 3, 9, false},  {5, 20, 0, 0, 3, 7, false},
        {3, 0, 0, 0, 1, 3, false}, {3, 0, 2, 0, 0, 3, true},   {6, 3, 1, 1, 0, 9, true},
        {9, 1, 1, 1, 1, 9, false},
    };
    for (const Case& c : cases) {
        view_->topLine = uint16_t(c.top);
        clearRecordedOps(dc_);
        EXPECT_EQ(TextView_ScrollBy(view_, c.delta, c.repaint, c.bounded), c.result)
            << c.top << " by " << c.delta;
        EXPECT_EQ(view_->topLine, c.after) << c.top << " by " << c.delta;
        EXPECT_EQ(!recordedOps(dc_).empty(), c.painted) << c.top << " by " << c.delta;
    }
    EXPECT_EQ(TextView_ScrollBy(nullptr, 1, 1, 1), -1);
}
} // namespace
