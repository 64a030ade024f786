// The title banner's geometry on the recording surface, with 4-pixel advances so that a
// 25-unit title and a 20-unit subtitle come out exactly 100 and 80 pixels wide.
#include "tests/support/view_fixture.h"
#include "view/title_banner.h"

namespace {
class Banner : public ViewTest {
protected:
    Banner() { advance_ = 4; }

    std::vector<Rect> rects(DrawOp::Kind kind) const {
        std::vector<Rect> out;
        for (const DrawOp& op : ops(kind))
            out.push_back(op.rect);
        return out;
    }
};

TEST_F(Banner, FramesAndTextOfA100And80PixelTitlePairIn240By268) {
    // Area (0, 0, 240, 268); small type 12 high; title 25 units (100 px), subtitle 20 (80 px).
    layout("[title latin] " + std::string(25, 't') + "\n[subtitle latin] " + std::string(20, 's'),
           240, 268);
    clearRecordedOps(dc_);
    DrawTitleBanner(view_);
    std::vector<DrawOp> frames = ops(DrawOp::Rectangle);
    ASSERT_EQ(frames.size(), 5u);
    Rect expected[] = {{54, 232, 186, 266},
                       {55, 233, 185, 265},
                       {56, 234, 184, 264},
                       {57, 235, 183, 263},
                       {58, 236, 182, 262}};
    Colour pens[] = {0x0000FF, 0x0000FF, 0xFFFFFF, 0xFF0000, 0xFF0000};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(frames[size_t(i)].rect, expected[i]) << i;
        EXPECT_EQ(frames[size_t(i)].penColour, pens[i]) << i;
        EXPECT_EQ(frames[size_t(i)].penWidth, 1);
    }
    std::vector<DrawOp> fills = ops(DrawOp::Fill);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, (Rect{59, 237, 181, 261}));
    EXPECT_EQ(fills[0].brushColour, 0x00FFFFu);
    std::vector<DrawOp> texts = ops(DrawOp::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rect, (Rect{70, 237, 170, 249}));
    EXPECT_EQ(texts[1].rect, (Rect{80, 249, 160, 261}));
    for (const DrawOp& t : texts) {
        EXPECT_EQ(t.textColour, 0x0000FFu) << "red on yellow";
        EXPECT_EQ(t.backgroundColour, 0x00FFFFu);
        EXPECT_EQ(t.font.height, 12);
    }
}

TEST_F(Banner, TitlesPresentOrNot) {
    struct Case {
        std::string source;
        std::vector<std::u16string> texts;
        int top; // of the banner
    } cases[] = {
        {"[p latin] no titles", {}, 0},
        {"[subtitle latin] sub", {u"sub"}, 268 - 12 - 12},
        {"[title] אב\n[subtitle latin] ab", {u"\u05D1\u05D0", u"ab"}, 268 - 24 - 12},
        {"[title latin] ab\n[p latin] c\n[raw] C1 00 6C 61 74 65",
         {u"ab"},
         268 - 12 - 12}, // a late subtitle is none
    };
    for (const Case& c : cases) {
        layout(c.source, 240, 268);
        clearRecordedOps(dc_);
        DrawTitleBanner(view_);
        std::vector<std::u16string> texts;
        for (const DrawOp& op : ops(DrawOp::Text))
            texts.push_back(op.text);
        EXPECT_EQ(texts, c.texts) << c.source;
        if (!c.texts.empty()) {
            ASSERT_FALSE(rects(DrawOp::Rectangle).empty());
            EXPECT_EQ(rects(DrawOp::Rectangle)[0].top, c.top) << c.source;
        } else {
            EXPECT_TRUE(recordedOps(dc_).empty()) << c.source;
        }
    }
    DrawTitleBanner(nullptr);
}

TEST_F(Banner, AWideTitleIsCutToTheArea) {
    layout("[title latin] " + std::string(70, 'w'), 240, 268);
    clearRecordedOps(dc_);
    DrawTitleBanner(view_);
    EXPECT_EQ(rects(DrawOp::Rectangle)[0], (Rect{0, 244, 240, 266}));
    std::vector<DrawOp> texts = ops(DrawOp::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text.size(), 60u) << "what fits in the area's width";
    EXPECT_EQ(texts[0].rect.left, 0) << "centred on the inner rectangle, left of it";
}

TEST_F(Banner, GetLessonTitles) {
    uint8_t* lesson = lessonBuffer("[title] אבג\n[subtitle] ד");
    TitleInfo title, subtitle;
    GetLessonTitles(lesson, &title, &subtitle);
    EXPECT_EQ(title.style, 0xDC);
    EXPECT_EQ(title.length, 3);
    EXPECT_EQ(title.text, lesson + 2);
    EXPECT_EQ(subtitle.style, 0xD1);
    EXPECT_EQ(subtitle.text, lesson + 8);
    subtitle = TitleInfo{};
    GetLessonTitles(lesson, nullptr, &subtitle);
    EXPECT_EQ(subtitle.length, 1) << "the subtitle alone";
    EXPECT_EQ(subtitle.text, lesson + 8);
    plainFree(lesson);
}
} // namespace
