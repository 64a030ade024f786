// The search inside one lesson: the order of its records and bytes, records as boundaries, and
// where the search starts from the view's reading position and the previous hit.
#include "platform/quit.h"
#include "tests/support/config_home.h"
#include "tests/support/search_fixture.h"

namespace {
class SearchInLesson : public SearchTest {};

TEST_F(SearchInLesson, RecordsInStoredOrderEachFromItsTop) {
    const std::string source = "[title] כותרת אבג\n\nאבג דהו אבג\n\nזחט אבג\n";
    serveLessons({{1, source}});
    TextView* view = open(1);
    std::string bytes = records(source), word = stored("אבג");
    setPattern(word);
    // In "אבג דהו אבג" the word read first is stored last; each record's text follows its style
    // and layout bytes.
    int title = int(bytes.find(word));
    int paragraph = title + int(bytes.find('\0', size_t(title))) - title + 1;
    int later = int(bytes.find(word, size_t(paragraph)));
    int earlier = int(bytes.find(word, size_t(later) + 1));
    int last = int(bytes.find(word, size_t(earlier) + 1));
    ASSERT_EQ(later, paragraph + 2);
    ASSERT_GT(last, earlier);
    struct Case {
        int start;
        int hit; // the hit's highest byte, 0 for none
    } cases[] = {
        {0, title + 2},           // from the lesson's first record
        {paragraph, earlier + 2}, // below a record's text: the whole record from its top
        {paragraph + 1, earlier + 2},
        {earlier + 2, earlier + 2}, // the start itself may end the hit
        {earlier + 1, later + 2},   // the rest of the record downwards
        {later + 1, last + 2},      // then the later records
        {int(bytes.size()), 0},     // nothing above the last record
        {65535, 0},
    };
    for (const Case& c : cases) {
        int length = 0;
        EXPECT_EQ(SearchInText(view->text, uint16_t(c.start), &length), c.hit) << c.start;
        EXPECT_EQ(length, c.hit ? 3 : 0) << c.start;
    }
    EXPECT_EQ(SearchInText(view->text, 0, nullptr), title + 2) << "the length may be unwanted";
}

TEST_F(SearchInLesson, HitsNeverCrossRecords) {
    // Two Latin records, "xa" and "by", and one that holds the whole hit, "azb".
    const std::string source = "[raw] 60 00 78 61\n[raw] 60 00 62 79\n";
    serveLessons({{1, source}, {2, source + "[raw] 60 00 61 7A 62\n"}});
    setPattern("a*b");
    EXPECT_EQ(SearchInText(open(1)->text, 0, nullptr), 0);
    int length = 0;
    EXPECT_EQ(SearchInText(open(2)->text, 0, &length), records(source).size() + 4);
    EXPECT_EQ(length, 3);
    setPattern("");
    EXPECT_EQ(SearchInText(view_->text, 0, &length), 0) << "an empty pattern finds nothing";
}

TEST_F(SearchInLesson, OutOfMemoryForTheRecordList) {
    ConfigHome config;
    serveLessons({{1, "אבג\n"}});
    TextView* view = open(1);
    setPattern(stored("אבג"));
    injectAllocFailures(0, -1);
    int length = 0;
    EXPECT_EQ(SearchInText(view->text, 0, &length), 0);
    EXPECT_EQ(length, -1);
    injectAllocFailures(0, 0);
    EXPECT_EQ(appState.view, nullptr) << "saved and released on the way out";
    view_ = nullptr;
    std::vector<ShownMessage> shown = takeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"There is not enough memory, aborting");
    EXPECT_TRUE(quitRequested());
    clearQuitRequest();

    // The whole search is abandoned: no "Not Found!" after it, and the released view is not
    // touched again.
    struct Case {
        bool viewText; // the current lesson is searched first; else another lesson is loaded
        long succeed;  // allocations that still succeed
    } cases[] = {{true, 0}, {false, 1}};
    for (const Case& c : cases) {
        open(1);
        if (!c.viewText) {
            TextView_SetText(view_, nullptr, 1);
            appState.Lesson = 2;
        }
        injectAllocFailures(c.succeed, -1);
        EXPECT_EQ(SearchAgain(nullptr), 0);
        injectAllocFailures(0, 0);
        view_ = nullptr;
        shown = takeShownMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, u"There is not enough memory, aborting");
        clearQuitRequest();
    }
}

// Line units before line `index` of the view's table.
int unitsBefore(const TextView* view, int index) {
    int units = 0;
    for (int i = 0; i < index; ++i)
        units += (view->lines[i].style & 0x80) ? 2 : 1;
    return units;
}

TEST_F(SearchInLesson, StartOffsetFromTheReadingPosition) {
    // Ten one-line paragraphs, three lines to a page.
    std::string source;
    for (int i = 0; i < 10; ++i)
        source += "שורה\n\n";
    serveLessons({{1, source}});
    TextView* view = open(1, 240, 48);
    ASSERT_EQ(view->lineCount, 10);
    ASSERT_EQ(view->maxTopLine, 7);
    const LineRecord* lines = view->lines;
    auto lastByte = [&](int i) { return lines[i].start + lines[i].length - 1; };
    struct Case {
        int topLine;
        int highlightStart, highlightEnd;
        int expected;
    } cases[] = {
        {0, 0, 0, lastByte(0)},                               // the top line's last stored byte
        {4, 0, 0, lastByte(4)},                               //
        {4, lines[1].start, lines[1].start + 2, lastByte(4)}, // a hit above the page is ignored
        {4, lines[4].start + 1, lines[4].start + 3, lines[4].start}, // below a hit on the line
        {4, lines[4].start, lines[4].start + 2, lastByte(5) + 1},    // a hit from its first byte
        {7, 0, 0, 65535}, // the last page without a hit: skip the lesson
        {7, lines[8].start + 1, lines[8].start + 2, lines[8].start}, // below a hit on it
    };
    for (const Case& c : cases) {
        view->topLine = uint16_t(c.topLine);
        view->highlightStart = uint16_t(c.highlightStart);
        view->highlightEnd = uint16_t(c.highlightEnd);
        EXPECT_EQ(SearchStartOffset(), c.expected)
            << "top " << c.topLine << ", hit " << c.highlightStart << ".." << c.highlightEnd;
    }
}

TEST_F(SearchInLesson, StartOffsetWithoutTextOrLines) {
    EXPECT_EQ(SearchStartOffset(), 0) << "no view";
    serveLessons({{1, "[nop]\n"}, {2, "אבג\n"}});
    TextView* view = open(1);
    ASSERT_EQ(view->lineCount, 0);
    view->topLine = 3;
    EXPECT_EQ(SearchStartOffset(), 0) << "a lesson without lines is searched from its start";
    open(2);
    TextView_SetText(view_, nullptr, 1);
    EXPECT_EQ(SearchStartOffset(), 0) << "no text";
}

// A hit that reaches the first stored byte of the top line goes on with the line after it; when
// the two lines touch in storage (broken after a hyphen or inside a word) the next search must
// not begin inside the hit, and after the lesson's last line nothing of it is left.
TEST_F(SearchInLesson, StartOffsetAfterAHitThatEndsItsLine) {
    serveLessons({{1, "אבגדה-וזחטי-כלמנס\n"}});
    TextView* view = open(1, 60, 16);
    ASSERT_GE(view->lineCount, 2);
    const LineRecord& top = view->lines[0];
    const LineRecord& next = view->lines[1];
    ASSERT_EQ(next.start + next.length, top.start) << "the lines touch";
    view->topLine = 0;
    view->highlightStart = top.start;
    view->highlightEnd = uint16_t(top.start + 1);
    EXPECT_EQ(SearchStartOffset(), top.start - 1);

    int last = view->lineCount - 1;
    view->topLine = uint16_t(unitsBefore(view, last));
    ASSERT_LE(view->topLine, view->maxTopLine);
    view->highlightStart = view->lines[last].start;
    view->highlightEnd = uint16_t(view->lines[last].start + 1);
    EXPECT_EQ(SearchStartOffset(), 65535);
}
} // namespace
