// Search across lessons: the order (the rest of the current lesson, the following lessons with
// 53 followed by 1, the current lesson from its top), showing a hit, and finding nothing.
#include "content/lesson_records.h"
#include "tests/support/search_fixture.h"
#include "view/title_banner.h"

namespace {
class SearchAgainTest : public SearchTest {
protected:
    // A lesson with a title and one paragraph for each of `paragraphs`.
    static std::string lesson(const std::vector<std::string>& paragraphs) {
        std::string source = "[title] כותרת\n\n";
        for (const std::string& p : paragraphs)
            source += p + "\n\n";
        return source;
    }

    // The hit on `word`'s occurrence number `nth` (0: the lowest stored) in a lesson's source.
    ShownHit hitIn(int number, const std::string& source, const std::string& word, int nth) {
        std::string bytes = records(source);
        size_t at = bytes.find(word);
        for (int i = 0; i < nth && at != std::string::npos; ++i)
            at = bytes.find(word, at + 1);
        EXPECT_NE(at, std::string::npos);
        return {number, int(at), int(at + word.size())};
    }
};

TEST_F(SearchAgainTest, OrderWrapsFrom53To1AndEndsInTheCurrentLessonFromItsTop) {
    const std::string word = stored("אבג");
    const std::string other = "שורה";
    std::string l52 =
        lesson({"אבג ראשון", other, other, other, "אבג שני", other, other, other, other});
    std::string l53 = lesson({other, "סוף אבג"});
    std::string l1 = lesson({"אבג", other});
    std::string l2 = lesson({other});
    serveLessons({{1, l1}, {2, l2}, {52, l52}, {53, l53}});
    setPattern(word);
    TextView* view = open(52, 240, 48);
    ASSERT_GT(view->maxTopLine, 3);
    view->topLine = 3; // below the first paragraph with the word

    std::vector<ShownHit> expected = {hitIn(52, l52, word, 1), hitIn(53, l53, word, 0),
                                      hitIn(1, l1, word, 0),   hitIn(52, l52, word, 0),
                                      hitIn(52, l52, word, 1), hitIn(53, l53, word, 0)};
    for (const ShownHit& next : expected) {
        EXPECT_EQ(SearchAgain(nullptr), 1);
        EXPECT_EQ(shown(), next);
    }
    EXPECT_EQ(appState.Flags & FlagLessonChosen, FlagLessonChosen) << "the reader's choice";
    EXPECT_TRUE(takeShownMessages().empty());
}

TEST_F(SearchAgainTest, AHitIsScrolledIntoViewHighlightedAndBannered) {
    std::vector<std::string> paragraphs(12, "שורה");
    paragraphs.push_back("מילה אבג");
    std::string l7 = lesson(paragraphs);
    serveLessons({{6, lesson({"ריק"})}, {7, l7}});
    setPattern(stored("אבג"));
    open(6, 240, 64);
    view_->viewFlags = ReturnLinkShown;
    appState.PreviousLesson = 12; // the link into lesson 6 came from there
    ASSERT_EQ(SearchAgain(nullptr), 1);
    EXPECT_EQ(shown(), hitIn(7, l7, stored("אבג"), 0));
    EXPECT_EQ(view_->viewFlags & ReturnLinkShown, 0) << "another lesson: no return link";
    // The next start shows the return link when a return point is stored: the same as now.
    EXPECT_EQ(appState.PreviousLesson, 0) << "no return point left for the next start";
    EXPECT_EQ(view_->topLine, view_->maxTopLine) << "the hit is on the last page";
    bool highlighted = false, banner = false;
    for (const DrawOp& op : recordedOps(dc_)) {
        highlighted |= op.kind == DrawOp::Text && op.textColour == ColourHighlightText &&
                       op.backgroundColour == ColourHighlightBack;
        banner |= op.kind == DrawOp::Text && op.textColour == BannerRed &&
                  op.backgroundColour == BannerYellow;
    }
    EXPECT_TRUE(highlighted);
    EXPECT_TRUE(banner);
}

TEST_F(SearchAgainTest, TheLastPageWithoutAHitGoesOnWithTheNextLesson) {
    const std::string word = stored("אבג");
    std::vector<std::string> paragraphs(8, "שורה");
    paragraphs.push_back("אבג");
    std::string l10 = lesson(paragraphs), l11 = lesson({"אבג"});
    serveLessons({{10, l10}, {11, l11}});
    setPattern(word);
    TextView* view = open(10, 240, 48);
    view->topLine = view->maxTopLine; // the word is on this page, but nothing is highlighted
    ASSERT_EQ(SearchAgain(nullptr), 1);
    EXPECT_EQ(shown(), hitIn(11, l11, word, 0));
    ASSERT_EQ(SearchAgain(nullptr), 1);
    EXPECT_EQ(shown(), hitIn(10, l10, word, 0));
}

TEST_F(SearchAgainTest, LessonZeroAndLessonsTheBookDoesNotHave) {
    const std::string word = stored("אבג");
    std::string with = lesson({"שורה", "שורה", "שורה", "אבג"}), without = lesson({"שורה"});
    struct Case {
        int lesson;
        int bookLessonWithWord; // 0: none
        int expectedLesson;     // 0 with the view's own text
    } cases[] = {
        {0, 3, 3},   // lessons 1 to 53 are tried
        {0, 0, 0},   // then the view's text
        {60, 0, 60}, // a number outside the book: every lesson once, then the view's text
    };
    for (const Case& c : cases) {
        serveLessons({{5, with}});
        TextView* view = open(5, 240, 48);
        std::vector<std::pair<int, std::string>> book = {{5, without}, {53, without}};
        if (c.bookLessonWithWord) book.push_back({c.bookLessonWithWord, with});
        serveLessons(book);
        appState.Lesson = uint16_t(c.lesson);
        view->topLine = view->maxTopLine; // the view's own hit is not searched first
        setPattern(word);
        EXPECT_EQ(SearchAgain(nullptr), 1) << c.lesson;
        EXPECT_EQ(appState.Lesson, c.expectedLesson) << c.lesson;
        EXPECT_NE(view_->highlightEnd, 0) << c.lesson;
    }
    // Nowhere at all, from outside the book: the walk ends.
    appState.Lesson = 60;
    setPattern("zzz");
    EXPECT_EQ(SearchAgain(nullptr), 0);
    std::vector<ShownMessage> messages = takeShownMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, u"Not Found!");
}

TEST_F(SearchAgainTest, NothingFoundChangesNothing) {
    std::string l4 = lesson({"אבג", "שורה"});
    serveLessons({{4, l4}});
    setPattern(stored("אבג"));
    TextView* view = open(4, 240, 48);
    ASSERT_EQ(SearchAgain(nullptr), 1);
    ShownHit before = shown();
    uint16_t top = view->topLine;
    setPattern(stored("דהו"));
    EXPECT_EQ(SearchAgain(nullptr), 0);
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(view->topLine, top);
    std::vector<ShownMessage> messages = takeShownMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, u"Not Found!");
    EXPECT_EQ(messages[0].caption, u"Versewell");
    EXPECT_TRUE(messages[0].hasCaption);

    setPattern(""); // what OK with an empty box leaves
    EXPECT_EQ(SearchAgain(nullptr), 0);
    EXPECT_TRUE(takeShownMessages().empty()) << "an empty pattern searches nothing";
    EXPECT_EQ(shown(), before);
}

// A word that is an item's label lies outside the byte range of every line; it is shown with
// its item's first line and marked, and the next search goes on below it instead of finding it
// again.
TEST_F(SearchAgainTest, AHitInALabelIsShownAndPassed) {
    const std::string word = stored("השמות");
    std::vector<std::string> paragraphs(6, "שורה");
    paragraphs.push_back("[item 3] השמות: רשימה");
    paragraphs.insert(paragraphs.end(), 4, "שורה");
    paragraphs.push_back("גם השמות");
    std::string l8 = lesson(paragraphs);
    serveLessons({{8, l8}});
    setPattern(word);
    TextView* view = open(8, 240, 48);
    clearRecordedOps(dc_);
    ASSERT_EQ(SearchAgain(nullptr), 1);
    ASSERT_EQ(shown(), hitIn(8, l8, word, 0));
    // The item's line is the eighth (the title has an empty line after it).
    EXPECT_EQ(view->topLine, 8);
    bool labelHighlighted = false; // the label's column holds what fits of it: ":תומ"
    for (const DrawOp& op : recordedOps(dc_)) {
        labelHighlighted |= op.kind == DrawOp::Text && op.textColour == ColourHighlightText &&
                            op.backgroundColour == ColourHighlightBack &&
                            op.text == u":\u05EA\u05D5\u05DE";
    }
    EXPECT_TRUE(labelHighlighted) << "the label word is marked";
    ASSERT_EQ(SearchAgain(nullptr), 1);
    EXPECT_EQ(shown(), hitIn(8, l8, word, 1));
}

// Lines broken after a hyphen touch in storage: a one-byte pattern found at the end of a line
// must not be found there again.
TEST_F(SearchAgainTest, SearchAgainAfterAHitAtALineBreak) {
    std::string l9 = "אבגדה-וזחטי-כלמנס\n";
    serveLessons({{9, l9}});
    setPattern("-");
    open(9, 60, 16);
    ASSERT_EQ(SearchAgain(nullptr), 1);
    ShownHit first = shown();
    ASSERT_EQ(SearchAgain(nullptr), 1);
    EXPECT_NE(shown(), first);
    ASSERT_EQ(SearchAgain(nullptr), 1);
    EXPECT_EQ(shown(), first) << "two hyphens, then the first again";
}

// The embedded book, searched all the way round: every occurrence once, lesson by lesson from
// the current one, each lesson from its first record and each record from its top.
TEST_F(SearchAgainTest, AroundTheWholeBook) {
    appState.ExactLetters = 1; // the plain byte search below is the reference
    const std::string word = stored("משכן");
    setPattern(word);
    open(40, 480, 640);
    std::vector<ShownHit> expected;
    for (int k = 0; k < kLessonCount; ++k) {
        int number = (40 - 1 + k) % kLessonCount + 1;
        uint8_t* text = LoadBookResource(number, nullptr);
        ASSERT_NE(text, nullptr);
        uint32_t pos = 0;
        LessonRecord r;
        while (nextLessonRecord(text, &pos, &r)) {
            std::string body(reinterpret_cast<char*>(text) + r.textOffset, r.textLength);
            for (size_t end = body.size(); end >= word.size();) {
                size_t at = body.rfind(word, end - word.size());
                if (at == std::string::npos) break;
                int offset = int(r.textOffset + at);
                expected.push_back({number, offset, offset + int(word.size())});
                end = at;
            }
        }
        plainFree(text);
    }
    ASSERT_GT(expected.size(), 10u);
    ASSERT_LT(expected.size(), 400u);
    expected.push_back(expected.front()); // and round again
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(SearchAgain(nullptr), 1) << i;
        ASSERT_EQ(shown(), expected[i]) << "hit " << i;
    }
}
} // namespace
