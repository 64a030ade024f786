// The reading comforts in a real window, with keys and mouse buttons sent as a person's
// arrive: Back and Forward, also after a restart; the zoom keys; the dark page.
#include "tests/e2e/desktop.h"
#include "view/page_colours.h"

namespace {
using namespace e2e;

class Comforts : public Desktop {
protected:
    void onLessonOne(const std::string& more = "") {
        writeSettings("[General]\nLesson=dword:00000001\nFlags=dword:d1140044\n"
                      "FontName=David CLM\nFontSize=dword:00000012\n" +
                      more);
    }
};

TEST_F(Comforts, BackAndForwardWithKeysAndMouseButtonsAlsoAfterARestart) {
    onLessonOne();
    pid_t pid = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    keys(id, "Right Down Down Down Right alt+Left");
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("Lesson"), 2) << "Alt+Left: the lesson before";
    EXPECT_EQ(setting("LastPosition"), 3) << "at the position it was left";

    pid = start();
    id = window();
    ASSERT_FALSE(id.empty());
    keys(id, "alt+Left");
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("Lesson"), 1) << "Back after a restart";

    pid = start();
    id = window();
    ASSERT_FALSE(id.empty());
    keys(id, "alt+Right");
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("Lesson"), 2) << "Alt+Right: forward again";
    EXPECT_EQ(setting("LastPosition"), 3);

    // The mouse's side buttons (8 back, 9 forward) over the page.
    pid = start();
    id = window();
    ASSERT_FALSE(id.empty());
    run("xdotool mousemove --window " + id + " 240 320");
    run("xdotool click 9");
    sleepMs(300);
    run("xdotool click 8 click 8");
    sleepMs(500);
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("Lesson"), 1) << settings();
}

TEST_F(Comforts, ZoomInTwiceAndOutTwiceGivesTheSizeBack) {
    onLessonOne();
    pid_t pid = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    keys(id, "ctrl+equal ctrl+plus");
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("FontSize"), 22) << "Ctrl+= and Ctrl++: two sizes up from 18";

    pid = start();
    id = window();
    ASSERT_FALSE(id.empty());
    keys(id, "ctrl+minus ctrl+minus");
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("FontSize"), 18);
    EXPECT_EQ(settings().find("ChosenFontSize"), std::string::npos) << "back at the chosen size";

    pid = start();
    id = window();
    ASSERT_FALSE(id.empty());
    run("xdotool mousemove --window " + id + " 240 320");
    run("xdotool keydown ctrl click 4 click 4 click 4 keyup ctrl");
    sleepMs(500);
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("FontSize"), 24) << "Ctrl+wheel: three notches up, three sizes";

    pid = start();
    id = window();
    ASSERT_FALSE(id.empty());
    keys(id, "ctrl+0");
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("FontSize"), 18) << "Ctrl+0: the size the dialog chose";
}

TEST_F(Comforts, TheDarkPageReadsAtFourAndAHalfToOne) {
    onLessonOne();
    pid_t pid = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    keys(id, "alt+v k"); // View, Dark
    sleepMs(300);
    DcHandle shot = grab();
    ASSERT_NE(shot, nullptr);
    const PageColours& dark = coloursOf(ColourScheme::Dark, false);
    int paper = 0, lightest = 0;
    double strongest = 1;
    for (int y = 80; y < 600; y += 2) {
        for (int x = 10; x < 460; x += 2) {
            Colour c = dcPixel(shot, x, y);
            paper += c == dark.paper;
            lightest += c == 0xFFFFFF;
            strongest = std::max(strongest, contrastRatio(c, dark.paper));
        }
    }
    EXPECT_GT(paper, 30000) << "the page is the dark paper";
    EXPECT_EQ(lightest, 0) << "no white left on it";
    EXPECT_GE(strongest, 4.5) << "its text reads against it";
    deleteDc(shot);
    EXPECT_EQ(quit(pid, id), 0);
    EXPECT_EQ(setting("Colours"), 2);
}
} // namespace
