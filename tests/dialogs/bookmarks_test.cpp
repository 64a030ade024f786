// The bookmark list: its stored form, adding and removing with the confirmation, command 123 and
// its check mark, and the group it puts in front of the section index.
#include <gtest/gtest.h>

#include <set>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "content/book_constants.h"
#include "content/index_records.h"
#include "content/resource.h"
#include "dialogs/bookmarks.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "state/book_key.h"
#include "tests/support/fixtures.h"
#include "tests/support/shell_fixture.h"

namespace {
class Bookmarks : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        takeShownMessages();
    }
    void TearDown() override { freeBookmarks(); }
    void mark(std::initializer_list<int> lessons) {
        for (int lesson : lessons) {
            appState.Lesson = uint16_t(lesson);
            addBookmark();
        }
    }
    std::vector<int> list() const {
        std::vector<int> out;
        for (const uint16_t* p = appState.bookmarks; p && *p; ++p)
            out.push_back(*p);
        return out;
    }
    std::string stored() const {
        uint32_t length = 0;
        uint8_t* bytes = readBookBytes(u"Bookmarks", &length);
        std::string out = bytes ? std::string(reinterpret_cast<char*>(bytes), length) : "none";
        plainFree(bytes);
        return out;
    }
    ConfigHome config_;
};

// The records of an index buffer, as (value, style, level, title).
struct Row {
    uint16_t value;
    uint8_t style, level;
    std::string title;
    bool operator==(const Row&) const = default;
};
std::vector<Row> rowsOf(const uint8_t* index) {
    std::vector<Row> rows;
    uint32_t pos = 0;
    SectionRecord r;
    while (nextSectionRecord(index, &pos, &r))
        rows.push_back(
            {r.sectionValue, r.sectionStyle, r.level,
             std::string(reinterpret_cast<const char*>(index + r.titleOffset), r.titleLength)});
    return rows;
}

TEST_F(Bookmarks, StoredFormAndAddingTwice) {
    mark({7, 33, 7});
    EXPECT_EQ(list(), (std::vector<int>{7, 33})) << "a marked lesson is not added again";
    EXPECT_EQ(appState.bookmarkCount, 2);
    saveBookmarks();
    EXPECT_EQ(stored(), std::string("\x07\x00\x21\x00\x00\x00", 6));

    // Removing the only one left leaves an empty list, stored as its end word alone.
    appState.Lesson = 7;
    removeBookmark();
    appState.Lesson = 33;
    removeBookmark();
    EXPECT_EQ(appState.bookmarkCount, 0);
    ASSERT_NE(appState.bookmarks, nullptr);
    saveBookmarks();
    EXPECT_EQ(stored(), std::string(2, '\0'));
    freeBookmarks();
    saveBookmarks();
    EXPECT_EQ(stored(), std::string(2, '\0')) << "no list at all is stored the same";
}

// Tens of thousands of stored entries, every lesson many times over and numbers that name none.
std::string manyBookmarks() {
    std::string bytes;
    for (int i = 0; i < 40000; ++i) {
        uint16_t lesson = uint16_t(1 + (i * 7) % 60);
        bytes += char(lesson & 0xFF);
        bytes += char(lesson >> 8);
    }
    return bytes + std::string(2, '\0');
}

TEST_F(Bookmarks, StoredValuesOfOddShape) {
    loadBookmarks();
    EXPECT_EQ(appState.bookmarks, nullptr) << "a missing value: no list";
    struct Case {
        std::string stored;
        int count;
    } cases[] = {{std::string(2, '\0'), 0},
                 {std::string("\x07\x00", 2), 1},
                 {std::string("\x07\x00\x21", 3), 1},             // an odd byte left over
                 {std::string("\x07\x00\x00\x00\x21\x00", 6), 1}, // after the end
                 {std::string("\x07\x00\x08\x00", 4), 2},         // no end at all
                 // Lessons 1 to 53, each once; the rest dropped.
                 {std::string("\x07\x00\x07\x00\x08\x00\x07\x00", 8), 2},
                 {std::string("\x36\x00\x07\x00\xFF\xFF\x35\x00", 8), 2},
                 {manyBookmarks(), 53}};
    for (const Case& c : cases) {
        writeBookBlob(u"Bookmarks", reinterpret_cast<const uint8_t*>(c.stored.data()),
                      uint32_t(c.stored.size()));
        loadBookmarks();
        EXPECT_EQ(appState.bookmarkCount, c.count) << c.stored.size();
        ASSERT_NE(appState.bookmarks, nullptr);
        EXPECT_EQ(appState.bookmarks[appState.bookmarkCount], 0) << "the list always ends";
        std::set<uint16_t> seen;
        for (int i = 0; i < appState.bookmarkCount; ++i) {
            uint16_t lesson = appState.bookmarks[i];
            EXPECT_TRUE(lesson >= 1 && lesson <= 53 && seen.insert(lesson).second) << lesson;
        }
        appState.Lesson = 7;
        EXPECT_EQ(isBookmarked(), c.count > 0);
        uint8_t* index = LoadBookResource(kIndexBookNumber, nullptr);
        uint8_t* shown = withBookmarkGroup(index);
        EXPECT_EQ(shown == index, c.count == 0) << "an empty list adds no group";
        plainFree(shown);
        freeBookmarks();
    }
}

TEST_F(Bookmarks, TheConfirmationBeforeRemoving) {
    struct Case {
        int answer;
        bool removed, askNext;
    } cases[] = {{AnswerYes, true, true}, {AnswerNo, false, true}, {AnswerCancel, true, false}};
    for (const Case& c : cases) {
        freeBookmarks();
        appState.skipRemoveConfirm = 0;
        mark({12});
        queueMessageBoxAnswer(c.answer);
        toggleBookmark(isBookmarked());
        std::vector<ShownMessage> shown = takeShownMessages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, u"Remove Bookmark?\n\nCancel - Don't ask again");
        EXPECT_EQ(shown[0].caption, u"Bookmark");
        EXPECT_EQ(shown[0].flags, unsigned(MessageBoxYesNoCancel));
        EXPECT_EQ(isBookmarked(), c.removed ? 0 : 1) << "answer " << c.answer;

        // The next removal asks again, unless Cancel said not to.
        mark({12});
        toggleBookmark(1);
        EXPECT_EQ(takeShownMessages().size(), c.askNext ? 1u : 0u) << "answer " << c.answer;
        EXPECT_EQ(isBookmarked(), 0);
    }
    toggleBookmark(0);
    EXPECT_EQ(isBookmarked(), 1) << "toggling an unmarked lesson adds it";
    EXPECT_TRUE(takeShownMessages().empty()) << "without asking";
}

// The real question box: Escape and its close box do nothing (the bookmark stays and the next
// removal asks again); a click on Cancel keeps its written meaning.
TEST_F(Bookmarks, EscapeOnTheQuestionKeepsTheBookmark) {
    ASSERT_TRUE(startTestGraphics());
    struct Case {
        const char* name;
        int gesture;
        bool removed, askNext;
    } cases[] = {
        {"Escape", MessageBoxGestureEscape, false, true},
        {"the close box", MessageBoxGestureClose, false, true},
        {"a click on No", AnswerNo, false, true},
        {"a click on Yes", AnswerYes, true, true},
        {"a click on Cancel", AnswerCancel, true, false},
    };
    scriptMessageBoxes(false);
    for (const Case& c : cases) {
        freeBookmarks();
        appState.skipRemoveConfirm = 0;
        mark({12});
        gestureOnMessageBoxes(c.gesture);
        toggleBookmark(isBookmarked());
        EXPECT_EQ(isBookmarked(), c.removed ? 0 : 1) << c.name;
        EXPECT_EQ((appState.skipRemoveConfirm & 1) == 0, c.askNext) << c.name;
    }
    gestureOnMessageBoxes(MessageBoxGestureNone);
    scriptMessageBoxes(true);
}

TEST_F(Bookmarks, NoMemoryForALargerList) {
    mark({3});
    injectAllocFailures(0, 1);
    appState.Lesson = 4;
    EXPECT_EQ(addBookmark(), 0);
    injectAllocFailures(0, 0);
    EXPECT_EQ(list(), std::vector<int>{3});
}

TEST_F(Bookmarks, TheGroupInFrontOfTheIndex) {
    uint8_t* index = LoadBookResource(kIndexBookNumber, nullptr);
    std::vector<Row> book = rowsOf(index);
    mark({40, 60, 2}); // 60 has no index record
    uint8_t* shown = withBookmarkGroup(index);
    std::vector<Row> rows = rowsOf(shown);
    ASSERT_EQ(rows.size(), book.size() + 3);
    EXPECT_EQ(rows[0], (Row{0x8877, 0xC1, 1, "pojr"})) << "the heading, shown and open";
    Row lesson40 = book[40], lesson2 = book[1]; // 36 lessons, the heading, then 37 on
    ASSERT_EQ(lesson40.value, 0x4028);
    EXPECT_EQ(rows[1], (Row{0x4028, 0x81, 2, lesson40.title})) << "in the order marked";
    EXPECT_EQ(rows[2], (Row{0x4002, 0x81, 2, lesson2.title}));
    EXPECT_EQ(std::vector<Row>(rows.begin() + 3, rows.end()), book) << "then the index";
    EXPECT_EQ(list(), (std::vector<int>{40, 60, 2})) << "the lesson without a record stays";
    plainFree(shown);

    // Only lessons without records: the heading alone. No index: the group alone.
    freeBookmarks();
    mark({60});
    index = LoadBookResource(kIndexBookNumber, nullptr);
    shown = withBookmarkGroup(index);
    rows = rowsOf(shown);
    ASSERT_EQ(rows.size(), book.size() + 1);
    EXPECT_EQ(rows[0].value, 0x8877);
    EXPECT_EQ(rows[1], book[0]);
    plainFree(shown);
    shown = withBookmarkGroup(nullptr);
    EXPECT_EQ(rowsOf(shown).size(), 1u);
    plainFree(shown);
}

TEST_F(Bookmarks, NoMemoryForTheGroupShowsTheIndexAlone) {
    mark({5});
    for (long succeed : {0L, 1L}) { // the group, then the joined buffer
        uint8_t* index = LoadBookResource(kIndexBookNumber, nullptr);
        injectAllocFailures(succeed, 1);
        uint8_t* shown = withBookmarkGroup(index);
        injectAllocFailures(0, 0);
        EXPECT_EQ(shown, index) << succeed;
        plainFree(shown);
    }
}

class BookmarkCommand : public ShellTest {};

TEST_F(BookmarkCommand, TogglesTheCurrentLessonAndItsCheckMark) {
    start();
    MenuHandle go = getGoMenu();
    EXPECT_FALSE(menuItemChecked(go, CmdBookmark));
    EXPECT_EQ(onCommand(window_, CmdBookmark), 0);
    EXPECT_EQ(isBookmarked(), 1);
    EXPECT_TRUE(menuItemChecked(go, CmdBookmark));
    goNextLesson(window_);
    EXPECT_FALSE(menuItemChecked(go, CmdBookmark)) << "another lesson, not marked";
    goPreviousLesson(window_);
    EXPECT_TRUE(menuItemChecked(go, CmdBookmark));
    queueMessageBoxAnswer(AnswerYes);
    onCommand(window_, CmdBookmark);
    EXPECT_EQ(isBookmarked(), 0);
    EXPECT_FALSE(menuItemChecked(go, CmdBookmark));
    takeShownMessages();
}
} // namespace
