// The main window's procedure driven with messages: keys, the scroll bar, taps, commands and
// the lesson navigation they lead to.
#include "tests/support/shell_fixture.h"

#include "tests/support/fixtures.h"
#include "tools/bookc/book_compile.h"

namespace {
class MainWindow : public ShellTest {};

TEST_F(MainWindow, StartsOnThisWeeksLessonWithItsBar) {
    start();
    EXPECT_EQ(appState.Lesson, 33);
    EXPECT_EQ(appState.mainWindow, window_);
    EXPECT_NE(appState.barWindow, nullptr);
    EXPECT_GT(appState.barHeight, 0);
    EXPECT_EQ(view()->area.top, appState.barHeight) << "the text area starts under the bar";
    EXPECT_GT(view()->linesPainted, 5);
    EXPECT_FALSE(menuItemChecked(getGoMenu(), CmdReverse));
}

TEST_F(MainWindow, MenuBarAtTheBottom) {
    start(0, 1);
    ASSERT_NE(appState.barWindow, nullptr);
    EXPECT_GT(appState.barHeight, 0);
    EXPECT_EQ(view()->area.top, 0) << "the text area starts at the top";
    Rect client = clientRect(window_);
    EXPECT_EQ(view()->area.height, client.bottom - appState.barHeight);
    Rect bar = windowRect(appState.barWindow);
    EXPECT_EQ(bar.bottom, client.bottom) << "the bar lies along the bottom";
    EXPECT_NE(getGoMenu(), nullptr);
}

TEST_F(MainWindow, PageKeys) {
    start();
    struct Case {
        uint32_t field;
        int linesPainted;
        Key key;
        int from, to;
    } cases[] = {
        {0x00100000, 1, Key::PageDown, 5, 5}, // a full page less one line of a one-line page:
                                              // nothing
        {0x00100000, 9, Key::PageDown, 5, 13},
        {0x00200000, 9, Key::PageDown, 5, 9}, // half pages
        {0x00200000, 9, Key::PageUp, 5, 1},
        {0x00400000, 9, Key::PageUp, 5, 1},
        {0x00300000, 9, Key::PageUp, 9, 1},
        {0x00100000, 9, Key::Home, 7, 0},
        {0x00100000, 9, Key::Up, 7, 6},
        {0x00100000, 9, Key::Down, 7, 8},
    };
    for (const Case& c : cases) {
        appState.Flags = (appState.Flags & ~uint32_t(FlagKeyPageStep)) | c.field;
        view()->topLine = uint16_t(c.from);
        view()->linesPainted = c.linesPainted;
        EXPECT_TRUE(key(c.key));
        EXPECT_EQ(view()->topLine, c.to) << std::hex << c.field << " key " << int(c.key);
    }
    view()->topLine = 0;
    key(Key::Home);
    EXPECT_EQ(view()->topLine, 0) << "Home at the top changes nothing";
    key(Key::End);
    EXPECT_EQ(view()->topLine, view()->maxTopLine);
    int min = -1, max = -1, pos = -1;
    ASSERT_TRUE(scrollRange(window_, &min, &max, &pos));
    EXPECT_EQ(max, view()->maxTopLine);
    EXPECT_EQ(pos, view()->topLine) << "the scroll bar follows";
    for (Key other : {Key::Space, Key::Tab, Key::Escape, Key::Backspace, Key::Delete})
        EXPECT_FALSE(key(other)) << "other keys are left to the window, " << int(other);
}

TEST_F(MainWindow, EndOnALessonThatFitsChangesNothing) {
    start();
    TextView_Resize(view(), 480, 30000);
    ASSERT_EQ(view()->maxTopLine, 0);
    TextView_Paint(view(), 1);
    key(Key::End);
    EXPECT_EQ(view()->topLine, 0);
}

TEST_F(MainWindow, ScrollBar) {
    start();
    struct Case {
        ScrollRequest request;
        int thumb, from, to;
    } cases[] = {
        {ScrollRequest::LineDown, 0, 3, 4},     {ScrollRequest::LineUp, 0, 3, 2},
        {ScrollRequest::Bottom, 0, 3, 4},       {ScrollRequest::Top, 0, 3, 0},
        {ScrollRequest::ThumbTrack, 17, 3, 17}, {ScrollRequest::ThumbPosition, 2, 9, 2},
        {ScrollRequest::EndScroll, 0, 3, 3},
    };
    for (const Case& c : cases) {
        view()->topLine = uint16_t(c.from);
        scroll(c.request, c.thumb);
        EXPECT_EQ(view()->topLine, c.to) << "request " << int(c.request) << " thumb " << c.thumb;
    }
    view()->topLine = 3;
    TextView_Paint(view(), 1);
    int lp = view()->linesPainted;
    scroll(ScrollRequest::PageDown);
    EXPECT_EQ(view()->topLine, 3 + lp - 1) << "a page less one line, whatever Flags says";
}

TEST_F(MainWindow, LessonStepsWrapAround) {
    start();
    struct Case {
        int from;
        Key key;
        int to;
    } cases[] = {
        {53, Key::Right, 1}, {1, Key::Left, 53}, {20, Key::Right, 21}, {20, Key::Left, 19}};
    for (const Case& c : cases) {
        ASSERT_EQ(goToLesson(window_, c.from, 7, 0), 0);
        EXPECT_TRUE(key(c.key));
        EXPECT_EQ(appState.Lesson, c.to);
        EXPECT_EQ(view()->topLine, 0);
        EXPECT_TRUE(appState.Flags & FlagLessonChosen);
    }
    EXPECT_EQ(onCommand(window_, CmdNextLesson), 0);
    EXPECT_EQ(appState.Lesson, 20);
    EXPECT_EQ(onCommand(window_, CmdPreviousLesson), 0);
    EXPECT_EQ(appState.Lesson, 19);
    view()->topLine = 12;
    EXPECT_EQ(onCommand(window_, CmdThisWeek), 0);
    EXPECT_EQ(appState.Lesson, 33);
    EXPECT_EQ(view()->topLine, 0);
    EXPECT_FALSE(appState.Flags & FlagLessonChosen) << "this week's lesson follows the schedule";
    EXPECT_EQ(onCommand(window_, CmdGoButton), 1)
        << "unknown commands go on to the default handling";
}

TEST_F(MainWindow, LinksAndTheReturnPoint) {
    start();
    ASSERT_EQ(goToLesson(window_, 12, 0, 0), 0);
    // Find a link line of lesson 12 and bring it to the top.
    int linkLine = -1, units = 0;
    for (int i = 0; i < view()->lineCount; ++i) {
        const LineRecord& l = view()->lines[i];
        if (l.linkNumber && l.linkNumber != 0x3FFF) {
            linkLine = i;
            break;
        }
        units += (l.style & 0x80) ? 2 : 1;
    }
    ASSERT_GE(linkLine, 0);
    int target = view()->lines[linkLine].linkNumber;
    view()->topLine = uint16_t(units);
    TextView_Paint(view(), 1);
    int top = view()->topLine;
    const LineRecord& link = view()->lines[linkLine];
    int y = view()->linkHits[0].y;
    tap(link.x + 2, y + 2);
    EXPECT_EQ(appState.Lesson, target);
    EXPECT_EQ(appState.PreviousLesson, 12);
    EXPECT_EQ(appState.PreviousPosition, top);
    EXPECT_TRUE(view()->viewFlags & ReturnLinkShown);

    // The return link, at the end of every lesson.
    key(Key::End);
    TextView_Paint(view(), 1);
    const LinkHit* back = nullptr;
    for (const LinkHit* h = view()->linkHits; h && h->line; ++h) {
        if (h->line->linkNumber == 0x3FFF) back = h;
    }
    ASSERT_NE(back, nullptr) << "the return link is drawn after a followed link";
    tap(back->line->x + 2, back->y + 2);
    EXPECT_EQ(appState.Lesson, 12);
    EXPECT_EQ(view()->topLine, top);
    EXPECT_EQ(appState.PreviousLesson, 0);
    EXPECT_FALSE(view()->viewFlags & ReturnLinkShown);

    // Without a return point the return link is neither drawn nor tappable.
    key(Key::End);
    TextView_Paint(view(), 1);
    for (const LinkHit* h = view()->linkHits; h && h->line; ++h)
        EXPECT_NE(h->line->linkNumber, 0x3FFF);
    view()->viewFlags |= ReturnLinkShown; // drawn, but nowhere to go back to
    TextView_Paint(view(), 1);
    for (const LinkHit* h = view()->linkHits; h && h->line; ++h) {
        if (h->line->linkNumber == 0x3FFF) {
            EXPECT_EQ(handleTap(window_, view(), h->line->x + 2, h->y + 2, 1), 1);
            EXPECT_EQ(appState.Lesson, 12) << "a return link with no return point does nothing";
        }
    }
}

TEST_F(MainWindow, LinkToALessonWithoutResource) {
    start();
    goToLesson(window_, 12, 0, 0);
    view()->topLine = 4;
    EXPECT_EQ(goToLesson(window_, 54, 0, 1), 1);
    EXPECT_EQ(appState.Lesson, 12) << "the lesson stays";
    EXPECT_EQ(view()->topLine, 4);
    EXPECT_EQ(appState.PreviousLesson, 12) << "but the return point names it";
    EXPECT_TRUE(appState.Flags & FlagLessonChosen);
}

TEST_F(MainWindow, TapPagingAndTheGutter) {
    resetAppState();
    start();
    TextView* v = view();
    int middle = v->area.top + v->area.height / 2;
    // Above the middle pages back; the exact middle and below page forward.
    struct Case {
        int y, from;
    } cases[] = {{middle - 1, 20}, {middle, 20}, {middle + 40, 20}, {v->area.top + 2, 3}};
    for (Case c : cases) {
        v->topLine = uint16_t(c.from);
        TextView_Paint(v, 1);
        int lp = v->linesPainted;
        int expected = c.y < middle ? c.from - (lp - 1) : c.from + (lp - 1);
        EXPECT_EQ(handleTap(window_, v, v->area.left + 5, c.y, 1), 1);
        EXPECT_EQ(v->topLine, expected < 0 ? 0 : expected)
            << "tap at " << c.y << " (middle " << middle << ")";
    }
    appState.SurroundingGutter = 10;
    const ViewArea& a = v->area;
    struct Point {
        int x, y;
        bool inside;
    } points[] = {
        {a.left - 10, a.top + 5, true},           {a.left - 11, a.top + 5, false},
        {a.left + a.width + 10, a.top + 5, true}, {a.left + 5, a.top - 10, true},
        {a.left + 5, a.top + a.height, true},     {a.left + 5, a.top + a.height + 1, false},
    };
    for (const Point& p : points)
        EXPECT_EQ(isInTextArea(v, p.x, p.y), p.inside) << p.x << "," << p.y;
    appState.Flags &= ~uint32_t(FlagTapPaging);
    v->topLine = 20;
    EXPECT_EQ(handleTap(window_, v, a.left + 5, a.top + 5, 1), 0) << "tap paging off";
    EXPECT_EQ(v->topLine, 20);
}

TEST_F(MainWindow, ReverseToggles) {
    start();
    MenuHandle go = getGoMenu();
    EXPECT_EQ(onCommand(window_, CmdReverse), 0);
    EXPECT_TRUE(appState.Flags & FlagReverse);
    EXPECT_TRUE(menuItemChecked(go, CmdReverse));
    onCommand(window_, CmdReverse);
    EXPECT_FALSE(appState.Flags & FlagReverse);
    EXPECT_FALSE(menuItemChecked(go, CmdReverse));
}

TEST_F(MainWindow, NoScrollBarBitsNoScrollBarCalls) {
    start(FlagScrollBar | FlagScrollBarAlt);
    setScrollRange(window_, 0, 0, 0, false);
    goToLesson(window_, 40, 0, 0);
    key(Key::Down);
    int min = -1, max = -1, pos = -1;
    ASSERT_TRUE(scrollRange(window_, &min, &max, &pos));
    EXPECT_EQ(max, 0) << "syncScrollBar made no call";
    EXPECT_EQ(pos, 0);
}

TEST_F(MainWindow, SizeLaysTheLessonOutAgain) {
    start();
    appState.SurroundingGutter = 6;
    resize(300, 500);
    EXPECT_EQ(view()->area.width, 300 - 12);
    EXPECT_EQ(view()->area.height, 500 - 12 - appState.barHeight);
}

TEST_F(MainWindow, TodayCommandLine) {
    struct Case {
        const char16_t* line;
        bool today;
    } cases[] = {{u"/today", true},   {u"/TODAY", true},   {u"/ToDaY", true}, {u"/today ", false},
                 {u" /today", false}, {u"x/today", false}, {u"", false},      {nullptr, false}};
    for (const Case& c : cases)
        EXPECT_EQ(isTodayCommandLine(c.line), c.today);
}

// A lesson whose text cannot be laid out is treated as one that cannot be loaded: at start the
// reader says "Resource not found" (and keeps no buffer: LeakSanitizer watches), later it stays
// on the lesson it shows.
TEST_F(MainWindow, ALessonThatCannotBeLaidOut) {
    std::vector<BundleResource> book;
    std::vector<std::string> errors;
    ASSERT_TRUE(CompileBook(std::string(VW_SOURCE_DIR) + "/tests/fixtures/small-book", book, errors,
                            nullptr));
    std::vector<std::pair<uint16_t, std::string>> resources;
    for (const BundleResource& r : book)
        resources.push_back({r.id, {r.bytes.begin(), r.bytes.end()}});
    std::vector<uint8_t> malformed;
    ASSERT_TRUE(BuildResource(33, 33, std::string("\0\x20\0", 3), malformed));
    resources.push_back({1033, {malformed.begin(), malformed.end()}}); // this week's lesson
    serveResources(resources);

    start();
    std::vector<ShownMessage> shown = takeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"Resource not found");
    EXPECT_EQ(view()->lineCount, 0);

    EXPECT_EQ(goToLesson(window_, 1, 0, 0), 0);
    ASSERT_GT(view()->lineCount, 0);
    uint16_t lines = view()->lineCount;
    const uint8_t* text = view()->text;
    EXPECT_EQ(goToLesson(window_, 33, 0, 0), 1);
    EXPECT_EQ(appState.Lesson, 1) << "the reader stays on its lesson";
    EXPECT_EQ(view()->text, text);
    EXPECT_EQ(view()->lineCount, lines) << "and shows it";
    serveEmbeddedBook();
}
} // namespace
