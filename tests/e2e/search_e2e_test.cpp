// Search in the real program: Alt+F3 opens the dialog, letters clicked on the keyboard's picture
// and OK show a hit highlighted with its banner, F3 finds the next, and a word that is nowhere
// says "Not Found!" and leaves the dialog open.
#include "tests/e2e/desktop.h"

namespace {
using namespace e2e;

class Search : public Desktop {
protected:
    // Waits until `n` windows are titled "Versewell" (the reader, the dialog, a message box).
    bool windowsBecome(int n, int ms = 5000) {
        for (int waited = 0; waited <= ms; waited += 100) {
            if (windowCount() == n) return true;
            sleepMs(100);
        }
        return false;
    }
};

// The keyboard's picture on the screen: its top-left corner, found by its top row of key frames
// (nine runs of 13 black pixels, 17 apart, one row below the picture's top, two pixels in).
bool findKeyboard(DcHandle shot, int* left, int* top) {
    auto black = [&](int x, int y) { return dcPixel(shot, x, y) == 0x000000; };
    for (int y = 0; y < 880; ++y) {
        for (int x = 1; x < 640; ++x) {
            bool frames = true;
            for (int key = 0; key < 9 && frames; ++key) {
                int kx = x + 17 * key;
                frames = !black(kx - 1, y) && !black(kx + 13, y);
                for (int i = 0; i < 13 && frames; ++i)
                    frames = black(kx + i, y);
            }
            if (frames) {
                *left = x - 2;
                *top = y - 1;
                return true;
            }
        }
    }
    return false;
}

// Where a Hebrew letter's key is: the keyboard types, from the top row's rightmost key, the
// letters in their order with each final form after its letter.
void keyOf(char16_t letter, int* row, int* column) {
    const std::u16string order = u"אבגדהוזחטיכךלמםנןסעפףצץקרשת";
    int position = int(order.find(letter)) + 1;
    *row = (position - 1) / 9;
    *column = 9 * (*row + 1) - position;
}

int pixelsOf(DcHandle shot, Colour colour) {
    int n = 0;
    for (int y = 0; y < 640; ++y) {
        for (int x = 0; x < 480; ++x)
            n += dcPixel(shot, x, y) == colour;
    }
    return n;
}

TEST_F(Search, KeysOnThePictureFindTheWordAndF3TheNext) {
    writeSettings("[General]\nLesson=dword:00000005\nFlags=dword:d1140044\nFontName=David CLM\n"
                  "FontSize=dword:00000012\n");
    pid_t pid = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << readerLogs();
    keys(id, "alt+F3");
    ASSERT_TRUE(windowsBecome(2)) << "Alt+F3 opens the search dialog";
    DcHandle shot = grab();
    int left = 0, top = 0;
    ASSERT_TRUE(findKeyboard(shot, &left, &top)) << "the keyboard's picture is on the screen";
    deleteDc(shot);
    for (char16_t letter : std::u16string(u"משכן")) {
        int row = 0, column = 0;
        keyOf(letter, &row, &column);
        run("xdotool mousemove " + std::to_string(left + 17 * column + 8) + " " +
            std::to_string(top + 25 * row + 12) + " click 1");
        sleepMs(150);
    }
    run("xdotool key Return");
    ASSERT_TRUE(windowsBecome(1)) << "a hit closes the dialog";
    sleepMs(500);
    DcHandle hit = grab();
    EXPECT_GT(pixelsOf(hit, 0x00FFFF), 40) << "the hit on yellow (and the banner's inside)";
    EXPECT_GT(pixelsOf(hit, 0x0000FF), 40) << "the banner's red frame";

    keys(id, "F3");
    DcHandle next = grab();
    EXPECT_GT(differences(hit, next), 50) << "F3 marks the next hit";
    EXPECT_GT(pixelsOf(next, 0x00FFFF), 40);
    deleteDc(hit);
    deleteDc(next);

    // A word that is nowhere: "Not Found!" over the dialog, which stays.
    keys(id, "alt+F3");
    ASSERT_TRUE(windowsBecome(2));
    run("xdotool type --delay 100 abcxyz");
    run("xdotool key Return");
    EXPECT_TRUE(windowsBecome(3)) << "\"Not Found!\" is shown";
    run("xdotool key Return");
    EXPECT_TRUE(windowsBecome(2)) << "the dialog stays open";
    run("xdotool key Escape");
    EXPECT_TRUE(windowsBecome(1));
    EXPECT_EQ(quit(pid, id), 0);
    // The last word searched for, as the reader keeps it (its letter codes and the ending 0).
    EXPECT_NE(settings().find("\nSearchString=@ByteArray(abcxyz\\0)\n"), std::string::npos)
        << "the word is kept\n"
        << settings();
}
} // namespace
