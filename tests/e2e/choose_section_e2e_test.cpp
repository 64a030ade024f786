// The section list in the real program: a bookmark made from the Go menu survives a restart,
// shows as the group on top of "Choose Section", and a tap on it opens its lesson.
#include "tests/e2e/desktop.h"

namespace {
using namespace e2e;

class SectionList : public Desktop {
protected:
    std::string dialog(int ms = 8000) {
        for (int waited = 0; waited <= ms; waited += 100) {
            std::string ids;
            run("xdotool search --onlyvisible --name '^Choose Section$'", &ids);
            if (!ids.empty()) return ids.substr(0, ids.find('\n'));
            sleepMs(100);
        }
        return {};
    }
};

// Rows of ink in the strip x in [left, right): the first and last y of each band, and the
// colour that band is mostly drawn in.
struct Band {
    int top, bottom;
    bool blue;
};
std::vector<Band> bands(DcHandle shot, int left, int right, int bottom) {
    std::vector<Band> found;
    bool in = false;
    int blueInk = 0, blackInk = 0;
    for (int y = 0; y < bottom; ++y) {
        int ink = 0;
        for (int x = left; x < right; ++x) {
            Colour c = dcPixel(shot, x, y);
            if (c == 0xFFFFFF) continue;
            ++ink;
            ((c & 0xFF0000) > 0x800000 && (c & 0xFF) < 0x80 ? blueInk : blackInk) += 1;
        }
        if (ink && !in) {
            found.push_back({y, y, false});
            blueInk = blackInk = 0;
        }
        if (ink) {
            found.back().bottom = y;
            found.back().blue = blueInk > blackInk;
        }
        in = ink > 0;
    }
    return found;
}

TEST_F(SectionList, ABookmarkFromTheGoMenuLeadsBackToItsLesson) {
    writeSettings("[General]\nLesson=dword:00000005\nFlags=dword:d1140044\nFontName=David CLM\n"
                  "FontSize=dword:00000012\n");
    pid_t first = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    // The Go menu's button sits at the bar's left end; "&Bookmark" is its B.
    run("xdotool mousemove --window " + id + " 16 14 click 1");
    sleepMs(500);
    run("xdotool key b");
    sleepMs(300);
    EXPECT_EQ(quit(first, id), 0);
    EXPECT_NE(settings().find("Bookmarks=@ByteArray(\\x5\\0\\0\\0)"), std::string::npos)
        << settings();

    pid_t second = start();
    id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    keys(id, "Right"); // to lesson 6, away from the bookmark
    keys(id, "ctrl+d");
    std::string list = dialog();
    ASSERT_FALSE(list.empty()) << "Ctrl+D opens Choose Section\n" << readerLogs();
    sleepMs(500);
    DcHandle shot = grab();
    ASSERT_NE(shot, nullptr);
    std::vector<Band> rows = bands(shot, 200, 460, 560);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_FALSE(rows[0].blue) << "the bookmark heading, in black";
    EXPECT_FALSE(rows[1].blue) << "the bookmarked lesson";
    EXPECT_TRUE(rows[2].blue) << "then the index";
    // A tap on the bookmarked lesson's title opens it.
    int y = (rows[1].top + rows[1].bottom) / 2;
    int x = 459;
    while (x > 200 && dcPixel(shot, x, y) == 0xFFFFFF)
        --x;
    run("xdotool mousemove " + std::to_string(x - 2) + " " + std::to_string(y) + " click 1");
    sleepMs(500);
    EXPECT_TRUE(dialog(500).empty()) << "the tap closes the dialog";
    deleteDc(shot);

    // Escape closes the list and changes nothing.
    keys(id, "ctrl+d");
    ASSERT_FALSE(dialog().empty());
    run("xdotool key Escape");
    sleepMs(500);
    EXPECT_TRUE(dialog(500).empty()) << "Escape closes it";
    EXPECT_EQ(quit(second, id), 0);
    EXPECT_EQ(setting("Lesson"), 5) << "the bookmark's lesson, kept by Escape";
}
} // namespace
