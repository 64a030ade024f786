// The Choose Section dialog over the reader's window, driven as the user drives it: taps on
// its rows, keys, the scroll bar, OK and Cancel, a size change; and the commands that open it.
#include "content/index_records.h"
#include "dialogs/bookmarks.h"
#include "dialogs/choose_section.h"
#include "dialogs/outline_list.h"
#include "platform/dialog.h"
#include "resources/dialogs.h"
#include "tests/support/shell_fixture.h"

namespace {
WindowHandle gOpen = nullptr; // the dialog the script acts in

class ChooseSectionDialog : public ShellTest {
protected:
    // Scripts the next opening of the dialog with `body`; the dialog must open before the next
    // script is set or the test ends, or the test fails (its body would never have run).
    static void runWith(void (*body)(WindowHandle)) {
        EXPECT_FALSE(gPending) << "the dialog scripted before never opened";
        gBody = body;
        gPending = true;
        scriptDialogs([](WindowHandle dialog, int id) {
            EXPECT_EQ(id, 118);
            gOpen = dialog;
            gPending = false;
            gBody(dialog);
        });
    }
    void TearDown() override {
        EXPECT_FALSE(gPending) << "the scripted dialog never opened";
        gPending = false;
        scriptDialogs(nullptr);
        ShellTest::TearDown();
    }
    static inline bool gPending = false;
    static inline void (*gBody)(WindowHandle) = nullptr;
};

OutlineList* list() {
    return sectionState(gOpen).list;
}

// The first row of `value`, or -1.
int rowOf(uint16_t value) {
    for (int i = 0; i < list()->rowCount; ++i) {
        if (list()->rows[i].sectionValue == value) return i;
    }
    return -1;
}

// A tap on the middle of row `row`'s text (rows from topRow, shown ones only).
void tapRow(WindowHandle dialog, int row) {
    int y = list()->area.top, passed = 0;
    for (int i = 0; i < row; ++i) {
        if (!(list()->rows[i].sectionStyle & SectionShown)) continue;
        if (passed++ >= list()->topRow) y += list()->rows[i].height;
    }
    const OutlineRow& r = list()->rows[row];
    userClicks(dialog, r.x + r.width / 2, y + r.height / 2);
}

// Wherever the reader's window is on the desktop (away from the screen's origin, as on a second
// monitor), the dialog covers it, in full-screen mode too.
TEST_F(ChooseSectionDialog, IsPlacedOverTheReaderWhereverItIs) {
    start();
    for (int fullScreen : {0, 1}) {
        appState.FullScreen = fullScreen;
        Rect before = windowRect(appState.mainWindow);
        moveWindow(appState.mainWindow, 230, 70, before.right - before.left,
                   before.bottom - before.top, false);
        processPendingEvents();
        static Rect placed;
        runWith([](WindowHandle dialog) {
            placed = windowRect(dialog);
            endDialog(dialog, 2);
        });
        command(CmdIndex);
        Rect reader = windowRect(appState.mainWindow);
        EXPECT_EQ(placed.left, reader.left) << "full screen " << fullScreen;
        EXPECT_EQ(placed.top, reader.top) << "full screen " << fullScreen;
        EXPECT_EQ(placed.right, reader.right) << "full screen " << fullScreen;
        EXPECT_EQ(placed.bottom, reader.bottom) << "full screen " << fullScreen;
    }
    appState.FullScreen = 0;
}

TEST_F(ChooseSectionDialog, OpensOverTheReaderWithTheCurrentLessonShown) {
    start();
    goToLesson(window_, 40, 0, 0);
    runWith([](WindowHandle dialog) {
        Rect reader = windowRect(appState.mainWindow);
        Rect placed = windowRect(dialog);
        EXPECT_EQ(placed.left, reader.left);
        EXPECT_EQ(placed.top, reader.top);
        EXPECT_EQ(placed.right - placed.left, reader.right - reader.left);
        ASSERT_NE(list(), nullptr);
        Rect client = clientRect(dialog);
        EXPECT_EQ(list()->area.width, client.right - systemMetric(Metric::ScrollBarWidth))
            << "room for the bar";
        EXPECT_EQ(sectionState(dialog).listRect.right, list()->area.width);
        EXPECT_TRUE(list()->rows[rowOf(0x4028)].sectionStyle & SectionShown);
        EXPECT_FALSE(list()->rows[rowOf(0x4027)].sectionStyle & SectionShown);
        EXPECT_GT(list()->rowsPainted, 5) << "painted on its own surface";
        int min = -1, max = -1, pos = -1;
        ASSERT_TRUE(scrollRange(dialog, &min, &max, &pos));
        EXPECT_EQ(max, list()->maxTopRow);
        userPressesKey(dialog, Key::Escape);
    });
    EXPECT_EQ(onCommand(window_, CmdIndex), 0);
    EXPECT_EQ(appState.Lesson, 40) << "Escape changes nothing";
    // The dialog's own record after a run: the list gone with it, Cancel's answer.
    SectionDialogState s{};
    s.chosenLesson = 40;
    s.fontSpec = &appState.fontSpec;
    runWith([](WindowHandle dialog) { userPressesKey(dialog, Key::Escape); });
    EXPECT_EQ(runDialog(&kChooseSectionDialog, window_, &kChooseSectionEvents, &s), DialogCancel);
    EXPECT_EQ(s.list, nullptr) << "the list is gone with the dialog";
    EXPECT_EQ(s.chosenLesson, 0);
}

TEST_F(ChooseSectionDialog, ATapOnAnEntryOpensItsLesson) {
    start();
    view()->topLine = 5;
    struct Case {
        int command;
        uint16_t tapped; // 0: the current lesson
        int lesson, topLine;
    } cases[] = {{CmdIndex, 0x4007, 7, 0}, {CmdChooseLesson, 0x4003, 3, 0}};
    for (const Case& c : cases) {
        static uint16_t tapped;
        tapped = c.tapped;
        runWith([](WindowHandle dialog) { tapRow(dialog, rowOf(tapped)); });
        EXPECT_EQ(onCommand(window_, c.command), 0);
        EXPECT_EQ(appState.Lesson, c.lesson);
        EXPECT_EQ(view()->topLine, c.topLine);
    }
    // The lesson already shown: the dialog closes, the lesson stays where it was read.
    view()->topLine = 4;
    runWith([](WindowHandle dialog) { tapRow(dialog, rowOf(0x4003)); });
    onCommand(window_, CmdIndex);
    EXPECT_EQ(appState.Lesson, 3);
    EXPECT_EQ(view()->topLine, 4);
}

TEST_F(ChooseSectionDialog, OkCancelAndTheirResults) {
    start();
    struct Case {
        Key key;
        uint16_t result;
    } cases[] = {{Key::Return, 33}, {Key::Escape, 0}};
    for (const Case& c : cases) {
        static Key key;
        key = c.key;
        runWith([](WindowHandle dialog) { userPressesKey(dialog, key); });
        EXPECT_EQ(ChooseSection(nullptr, window_, 33, &appState.fontSpec), c.result);
    }
    runWith([](WindowHandle dialog) { userCloses(dialog); });
    EXPECT_EQ(ChooseSection(nullptr, window_, 33, &appState.fontSpec), 0) << "closing is Cancel";
}

TEST_F(ChooseSectionDialog, KeysAndTheScrollBarMoveTheOutline) {
    start();
    runWith([](WindowHandle dialog) {
        ASSERT_GT(list()->maxTopRow, 3) << "more rows than a page";
        struct Case {
            Key key;
            int from, to;
        } keys[] = {{Key::PageDown, 0, 1},
                    {Key::Down, 1, 2},
                    {Key::PageUp, 2, 1},
                    {Key::Up, 1, 0},
                    {Key::Up, 0, 0}};
        for (const Case& c : keys) {
            list()->topRow = uint16_t(c.from);
            userPressesKey(dialog, c.key);
            EXPECT_EQ(list()->topRow, c.to) << "key " << int(c.key);
            int pos = -1;
            scrollRange(dialog, nullptr, nullptr, &pos);
            EXPECT_EQ(pos, c.to) << "the bar follows";
        }
        int page = list()->rowsPainted;
        struct Scroll {
            ScrollRequest request;
            int thumb, from, to;
        } scrolls[] = {
            {ScrollRequest::PageDown, 0, 0, page}, {ScrollRequest::PageUp, 0, page, 0},
            {ScrollRequest::LineDown, 0, 2, 3},    {ScrollRequest::Bottom, 0, 2, 3},
            {ScrollRequest::Top, 0, 3, 0},         {ScrollRequest::ThumbTrack, 2, 0, 2},
            {ScrollRequest::EndScroll, 0, 2, 2},
        };
        for (const Scroll& s : scrolls) {
            list()->topRow = uint16_t(s.from);
            windowEvents(dialog)->scroll(dialog, s.request, s.thumb);
            EXPECT_EQ(list()->topRow, std::min(s.to, int(list()->maxTopRow)))
                << "request " << int(s.request);
        }
        // A tap below the last whole row only brings the bar up to date.
        list()->topRow = list()->maxTopRow;
        OutlineList_Paint(list(), 1);
        Rect area = clientRect(dialog);
        setScrollRange(dialog, 0, 1, 0, false);
        userClicks(dialog, 50, area.bottom - 1);
        int max = -1;
        scrollRange(dialog, nullptr, &max, nullptr);
        EXPECT_EQ(max, list()->maxTopRow);
        userPressesKey(dialog, Key::Escape);
    });
    onCommand(window_, CmdIndex);
}

TEST_F(ChooseSectionDialog, ASizeChangeKeepsTheHeadingOpen) {
    start();
    runWith([](WindowHandle dialog) {
        int heading = rowOf(0xBFDA);
        list()->topRow = uint16_t(heading - 2); // the heading on the page
        tapRow(dialog, heading);
        ASSERT_TRUE(list()->rows[heading].sectionStyle & SectionOpen);
        uint16_t shown = list()->shownRows;
        EXPECT_EQ(shown, list()->rowCount);
        Rect r = windowRect(dialog);
        moveWindow(dialog, r.left, r.top, 300, 420, true);
        processPendingEvents();
        EXPECT_EQ(list()->area.width,
                  clientRect(dialog).right - systemMetric(Metric::ScrollBarWidth));
        EXPECT_TRUE(list()->rows[rowOf(0xBFDA)].sectionStyle & SectionOpen) << "still open";
        EXPECT_EQ(list()->shownRows, list()->rowCount) << "its entries still shown";
        userPressesKey(dialog, Key::Escape);
    });
    onCommand(window_, CmdIndex);
}

TEST_F(ChooseSectionDialog, TheBookmarkGroupComesFirst) {
    start();
    goToLesson(window_, 45, 0, 0);
    onCommand(window_, CmdBookmark);
    goToLesson(window_, 9, 0, 0);
    runWith([](WindowHandle dialog) {
        EXPECT_EQ(list()->rows[0].sectionValue, 0x8877);
        EXPECT_TRUE(list()->rows[0].sectionStyle & SectionOpen);
        int entry = rowOf(0x402D); // lesson 45's bookmark row, before its index row
        ASSERT_EQ(entry, 1);
        tapRow(dialog, entry);
    });
    onCommand(window_, CmdIndex);
    EXPECT_EQ(appState.Lesson, 45);
}
} // namespace
