// The reading comforts in the main window: Back and Forward through the places jumped
// between, the zoom that keeps the line at the top, and their stored values.
#include "tests/support/shell_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/zoom.h"
#include "dialogs/search.h"
#include "state/book_key.h"
#include "tests/support/fixtures.h"
#include "tools/bookc/book_compile.h"
#include "view/page_colours.h"
#include "view/status_line.h"

namespace {
const char kBookFile[] = "quillmere/versewell.ini";

class Comforts : public ShellTest {
protected:
    // A reader on lesson 1 with David CLM at 18 pixels, as the Choose Font dialog left it.
    void startOnLessonOne(const std::string& more = "") {
        config_.write(kBookFile, "[General]\nFontName=David CLM\nFontSize=dword:00000012\n"
                                 "Lesson=dword:00000001\nFlags=dword:d1140044\n" +
                                     more);
        start();
        ASSERT_EQ(appState.Lesson, 1);
    }
    std::string stored() const {
        std::string text;
        ReadFile((config_.dir() / kBookFile).string(), text);
        return text;
    }
    Place here() const { return {appState.Lesson, view()->topLine}; }
    // Whether the line at the top of the page holds stored byte `offset`.
    bool topLineHolds(int offset) const {
        int units = 0, i = 0;
        while (units + lineUnits(view()->lines[i]) <= view()->topLine)
            units += lineUnits(view()->lines[i++]);
        const LineRecord& line = view()->lines[i];
        return line.start <= offset && offset < line.start + line.length;
    }
    // A restart: the window gone, the quit request of the save taken back, a new start.
    void restart() {
        destroyWindow(window_);
        window_ = nullptr;
        clearQuitRequest();
        start();
    }
    bool enabled(int command) const { return menuItemEnabled(getGoMenu(), command); }
};

TEST_F(Comforts, BackAndForwardReturnToThePlacesLeft) {
    startOnLessonOne();
    EXPECT_FALSE(enabled(CmdBack));
    EXPECT_FALSE(enabled(CmdForward));
    key(Key::Right);
    for (int i = 0; i < 3; ++i)
        key(Key::Down);
    key(Key::Right);
    EXPECT_EQ(here(), (Place{3, 0}));
    EXPECT_TRUE(enabled(CmdBack));
    command(CmdBack);
    EXPECT_EQ(here(), (Place{2, 3})) << "where lesson 2 was left, not its top";
    EXPECT_TRUE(enabled(CmdForward));
    events().sideButton(window_, SideButton::Back);
    EXPECT_EQ(here(), (Place{1, 0}));
    EXPECT_FALSE(enabled(CmdBack));
    // Greyed, Back's shortcut does nothing, and Alt+Left is not the Left arrow.
    EXPECT_TRUE(events().key(window_, Key::Left, AltModifier));
    EXPECT_EQ(here(), (Place{1, 0}));
    events().sideButton(window_, SideButton::Forward);
    EXPECT_EQ(here(), (Place{2, 3}));
    // A new jump from here drops lesson 3.
    command(CmdNextLesson);
    command(CmdNextLesson);
    command(CmdBack);
    command(CmdBack);
    EXPECT_EQ(here(), (Place{2, 3}));
    command(CmdForward);
    command(CmdForward);
    EXPECT_EQ(here(), (Place{4, 0}));
    EXPECT_FALSE(enabled(CmdForward));
    EXPECT_EQ(appState.history.count, 4) << "1, 2, 3 (the new one) and 4";
}

TEST_F(Comforts, EveryKindOfJumpIsRemembered) {
    startOnLessonOne();
    struct Case {
        const char* name;
        int command; // a command, or 0 for the link and the search
    } cases[] = {
        {"this week's lesson", CmdThisWeek},
        {"the next lesson", CmdNextLesson},
        {"a link", 0},
        {"a search hit", CmdSearchAgain},
    };
    ConvertPattern(u"\u05de\u05e9\u05d4"); // משה
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        key(Key::Down);
        Place before = here();
        if (c.command)
            command(c.command);
        else
            goToLesson(window_, 17, 0, 1);
        ASSERT_FALSE(here() == before) << "the jump moves";
        Place after = here();
        command(CmdBack);
        EXPECT_EQ(here(), before);
        command(CmdForward);
        EXPECT_EQ(here(), after);
    }
}

TEST_F(Comforts, TheReturnLinkStillLeadsBack) {
    startOnLessonOne();
    goToLesson(window_, 17, 0, 1);
    EXPECT_EQ(appState.PreviousLesson, 1);
    EXPECT_TRUE(view()->viewFlags & ReturnLinkShown);
    command(CmdBack);
    command(CmdForward);
    EXPECT_EQ(appState.Lesson, 17);
    // Back and Forward are not links: the return point goes, as after any other movement.
    EXPECT_EQ(appState.PreviousLesson, 0);
}

TEST_F(Comforts, TheHistorySurvivesARestartAndADamagedOneIsEmpty) {
    startOnLessonOne();
    key(Key::Right);
    key(Key::Down);
    key(Key::Down);
    saveSettingsAndQuit();
    EXPECT_NE(stored().find("History=1:0 2:2*"), std::string::npos) << stored();
    restart();
    EXPECT_EQ(here(), (Place{2, 2}));
    EXPECT_TRUE(enabled(CmdBack));
    command(CmdBack);
    EXPECT_EQ(here(), (Place{1, 0}));
    destroyWindow(window_);
    window_ = nullptr;

    for (const char* damaged : {"History=1:0 2:2\n", "History=1:0* 99:0\n", "History=dword:1\n",
                                "History=@ByteArray(\\x1\\x2)\n"}) {
        SCOPED_TRACE(damaged);
        startOnLessonOne(damaged);
        EXPECT_EQ(appState.history.count, 0);
        EXPECT_FALSE(enabled(CmdBack));
        destroyWindow(window_);
        window_ = nullptr;
    }
}

TEST_F(Comforts, ZoomStepsThroughTheDialogsSizes) {
    struct Case {
        int32_t size;
        int steps;
        int32_t to;
    } cases[] = {
        {18, 1, 20}, {18, 2, 22},  {18, -1, 16}, {32, 1, 52}, {72, 1, 72},  {10, -1, 10},
        {13, 1, 14}, {13, -1, 12}, {9, 1, 10},   {9, -1, 9},  {90, -1, 72}, {18, -30, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zoomedSize(c.size, c.steps), c.to) << c.size << " by " << c.steps;
}

TEST_F(Comforts, ZoomKeepsTheTopLineAndCtrlZeroGoesBack) {
    startOnLessonOne();
    view()->topLine = 40;
    updateWindow(window_);
    int top = TextView_TopOffset(view());
    events().wheel(window_, 1, ControlModifier);
    EXPECT_EQ(appState.fontSpec.FontSize, 20);
    EXPECT_EQ(view()->font.FontSize, 20);
    EXPECT_TRUE(topLineHolds(top)) << "the same text at the top";
    // Each step keeps the line that was at the top before it.
    for (int step : {CmdZoomIn, CmdZoomIn, CmdZoomOut}) {
        top = TextView_TopOffset(view());
        command(step);
        EXPECT_TRUE(topLineHolds(top)) << "at " << appState.fontSpec.FontSize;
    }
    EXPECT_EQ(appState.fontSpec.FontSize, 22);
    // Without Ctrl the wheel scrolls, as always.
    EXPECT_FALSE(events().wheel(window_, 1, ShiftModifier));
    saveSettingsAndQuit();
    EXPECT_NE(stored().find("FontSize=dword:00000016"), std::string::npos) << "stored as zoomed";
    EXPECT_NE(stored().find("ChosenFontSize=dword:00000012"), std::string::npos);
    restart();
    EXPECT_EQ(appState.fontSpec.FontSize, 22);
    command(CmdZoomReset);
    EXPECT_EQ(appState.fontSpec.FontSize, 18) << "the size the dialog chose, after a restart";
    saveSettingsAndQuit();
    EXPECT_NE(stored().find("FontSize=dword:00000012"), std::string::npos) << stored();
    EXPECT_EQ(stored().find("ChosenFontSize"), std::string::npos) << stored();
}

TEST_F(Comforts, TheStatusLineTakesALineUnderThePageAndFollowsTheScrolling) {
    startOnLessonOne();
    int height = view()->area.height;
    EXPECT_FALSE(menuItemChecked(getViewMenu(), CmdStatusLine)) << "off by default";
    command(CmdStatusLine);
    EXPECT_TRUE(menuItemChecked(getViewMenu(), CmdStatusLine));
    int line = statusLineHeight(view());
    EXPECT_GT(line, 8);
    EXPECT_EQ(view()->area.height, height - line) << "one line less for the text";
    DcHandle surface = getWindowDc(window_);
    int stripY = view()->area.top + view()->area.height + line / 2;
    auto strip = [&] {
        std::vector<Colour> row;
        for (int x = 0; x < view()->area.width; ++x)
            row.push_back(dcPixel(surface, x, stripY));
        return row;
    };
    std::vector<Colour> atTop = strip();
    EXPECT_GT(std::count_if(atTop.begin(), atTop.end(), [](Colour c) { return c != 0xFFFFFF; }), 5)
        << "the line is drawn";
    char number[12], percent[12];
    statusLineNumbers(view(), appState.Lesson, number, percent);
    EXPECT_STREQ(number, "1/53");
    EXPECT_STREQ(percent, "0%");
    command(CmdZoomIn);
    EXPECT_GT(statusLineHeight(view()), line) << "its type grows with the text's";
    EXPECT_EQ(view()->area.height + statusLineHeight(view()), height) << "the text gives it room";
    key(Key::End);
    statusLineNumbers(view(), appState.Lesson, number, percent);
    EXPECT_STREQ(percent, "100%");
    EXPECT_NE(strip(), atTop) << "redrawn as the page scrolls";
    command(CmdStatusLine);
    EXPECT_EQ(view()->area.height, height) << "off again, the text has its line back";
    command(CmdZoomOut);
    releaseWindowDc(window_, surface);
    saveSettingsAndQuit();
    EXPECT_EQ(stored().find("StatusLine"), std::string::npos);
}

TEST_F(Comforts, ProgressThroughTheLesson) {
    startOnLessonOne();
    int last = view()->maxTopLine;
    ASSERT_GT(last, 10);
    struct Case {
        int top, percent;
    } cases[] = {
        {0, 0}, {last / 2, 50}, {last - 1, (last - 1) * 100 / last}, {last, 100}, {last + 5, 100}};
    for (const Case& c : cases) {
        view()->topLine = uint16_t(c.top);
        EXPECT_EQ(lessonProgress(view()), c.percent) << c.top;
    }
    view()->maxTopLine = 0; // a lesson that fits one page
    EXPECT_EQ(lessonProgress(view()), 100);
}

TEST_F(Comforts, ColoursFollowTheDesktopUnlessChosen) {
    startOnLessonOne();
    DcHandle surface = getWindowDc(window_);
    int x = view()->area.left + 2, y = view()->area.top + view()->area.height - 2;
    EXPECT_EQ(dcPixel(surface, x, y), 0xFFFFFFu);
    EXPECT_TRUE(menuItemChecked(getViewMenu(), CmdColoursDesktop));
    setDesktopPaletteForTest(true);
    processPendingEvents();
    EXPECT_TRUE(appState.desktopDark);
    EXPECT_EQ(dcPixel(surface, x, y), coloursOf(ColourScheme::Dark, false).paper)
        << "the page turned dark with the desktop";
    command(CmdColoursSepia);
    EXPECT_EQ(dcPixel(surface, x, y), coloursOf(ColourScheme::Sepia, false).paper);
    EXPECT_TRUE(menuItemChecked(getViewMenu(), CmdColoursSepia));
    EXPECT_FALSE(menuItemChecked(getViewMenu(), CmdColoursDesktop));
    setDesktopPaletteForTest(false);
    processPendingEvents();
    EXPECT_EQ(dcPixel(surface, x, y), coloursOf(ColourScheme::Sepia, false).paper)
        << "a choice stands whatever the desktop does";
    releaseWindowDc(window_, surface);
    saveSettingsAndQuit();
    EXPECT_NE(stored().find("Colours=dword:00000003"), std::string::npos);
    restart();
    EXPECT_EQ(appState.colourScheme, ColourScheme::Sepia);
    destroyWindow(window_);
    window_ = nullptr;
    startOnLessonOne("Colours=dword:00000009\n");
    EXPECT_EQ(appState.colourScheme, ColourScheme::FollowDesktop) << "a damaged value";
}

TEST_F(Comforts, UnusedTheyAddNothingToTheSettings) {
    startOnLessonOne();
    std::string before = stored();
    key(Key::Down);
    saveSettingsAndQuit();
    for (const char* absent : {"History", "ChosenFontSize", "Colours", "StatusLine"})
        EXPECT_EQ(stored().find(absent), std::string::npos) << absent;
}
} // namespace
