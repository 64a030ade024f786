// The reader as a person uses it: started in a real window under Xvfb, driven with keys,
// closed and started again; one reader at a time.
#include <sys/stat.h>

#include <fstream>

#include "tests/e2e/desktop.h"
#include "tests/support/process.h"

namespace {
using namespace e2e;

class Reader : public Desktop {};

TEST_F(Reader, StartsShowsHebrewMovesWithKeysAndRemembers) {
    pid_t first = start();
    std::string id = window();
    ASSERT_FALSE(id.empty()) << "the window appears\n" << readerLogs();
    sleepMs(500);
    DcHandle opened = grab();
    ASSERT_NE(opened, nullptr);
    EXPECT_GT(ink(opened, 0, 60, 480, 640), 2000) << "text in the text area";

    keys(id, "Right");
    DcHandle next = grab();
    EXPECT_GT(differences(opened, next), 1000) << "Right opens another lesson";
    keys(id, "Next");
    DcHandle paged = grab();
    EXPECT_GT(differences(next, paged), 1000) << "Page Down moves the text";
    EXPECT_EQ(quit(first, id), 0);

    // The first start opened this week's lesson (lesson 1 for a week without one, as --week
    // says it), and Right the one after it.
    Outcome week = runProgram("VERSEWELL", "--week");
    ASSERT_EQ(week.status, 0) << week.err;
    size_t field = 0;
    for (int tabs = 0; tabs < 3 && field != std::string::npos; ++tabs)
        field = week.out.find('\t', field + (tabs ? 1 : 0));
    ASSERT_NE(field, std::string::npos) << week.out;
    long thisWeek = std::strtol(week.out.c_str() + field + 1, nullptr, 10);
    long lesson = setting("Lesson"), position = setting("LastPosition");
    EXPECT_EQ(lesson, (thisWeek == 0 ? 1 : thisWeek) % 53 + 1) << week.out;
    EXPECT_GT(position, 0) << settings();
    EXPECT_EQ(setting("Flags") & 0x4, 0x4) << "a lesson the reader chose";

    // A restart opens the same lesson at the same position: the same page.
    pid_t again = start();
    std::string id2 = window();
    ASSERT_FALSE(id2.empty());
    sleepMs(500);
    DcHandle reopened = grab();
    EXPECT_LT(differences(paged, reopened), 50) << "the same page as at exit";
    EXPECT_EQ(quit(again, id2), 0);
    EXPECT_EQ(setting("Lesson"), lesson);
    EXPECT_EQ(setting("LastPosition"), position);
    for (DcHandle dc : {opened, next, paged, reopened})
        deleteDc(dc);
}

TEST_F(Reader, MenuShortcutsDoWhatTheyShow) {
    long thisWeek = thisWeeksLesson();
    ASSERT_GT(thisWeek, 0);
    pid_t pid = start();
    std::string id = window();
    ASSERT_FALSE(id.empty());
    keys(id, "Right Right ctrl+Home"); // two lessons on, then "This Week"
    EXPECT_EQ(quit(pid, id), 0) << "Ctrl+Q is Exit";
    EXPECT_EQ(setting("Lesson"), thisWeek);
    EXPECT_EQ(setting("Flags") & 0x4, 0) << "back on the weekly schedule";
}

TEST_F(Reader, TheGoMenuOpensFromTheKeyboard) {
    writeSettings("[General]\nLesson=dword:00000005\nFlags=dword:d1140044\nFontName=David CLM\n");
    pid_t pid = start();
    std::string id = window();
    ASSERT_FALSE(id.empty());
    keys(id, "alt+g n");          // Next Article, by its underlined letter
    keys(id, "F10 n");            // F10 opens it too
    keys(id, "F10 Escape Right"); // Escape closes it, and the keys reach the text again
    // Opened from the keyboard, the menu has its first item active: Return chooses About.
    keys(id, "alt+g Return");
    EXPECT_EQ(windowCount(), 2) << "the About dialog is open";
    run("xdotool key Escape");
    sleepMs(500);
    EXPECT_EQ(windowCount(), 1);
    keys(id, "alt+g x"); // Exit
    EXPECT_EQ(waitFor(pid, 8000), 0);
    EXPECT_EQ(setting("Lesson"), 8);
}

TEST_F(Reader, ASecondStartLeavesOneReader) {
    pid_t first = start();
    std::string id = window();
    ASSERT_FALSE(id.empty());
    pid_t second = start();
    EXPECT_EQ(waitFor(second, 5000), 0) << "the second start ends at once, with 0";
    EXPECT_TRUE(alive(first));
    EXPECT_EQ(windowCount(), 1);

    // The folder of the lock and the socket is this user's alone.
    struct stat st {};
    ASSERT_EQ(stat((home_ / "runtime/versewell").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, getuid());
    ASSERT_EQ(stat((home_ / "runtime/versewell/instance.socket").c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u) << "no access for group or others";
    EXPECT_EQ(quit(first, id), 0);
}

TEST_F(Reader, TwoStartsAtTheSameMomentLeaveOne) {
    pid_t pids[2] = {start(), start()};
    int status[2] = {-1, -1};
    ASSERT_FALSE(window().empty());
    for (int waited = 0; waited < 5000 && status[0] == -1 && status[1] == -1; waited += 100) {
        for (int i = 0; i < 2; ++i) {
            if (status[i] == -1) status[i] = waitFor(pids[i], 0);
        }
        sleepMs(100);
    }
    sleepMs(500);
    EXPECT_TRUE((status[0] == 0 && status[1] == -1) || (status[1] == 0 && status[0] == -1))
        << "one ended with 0, one reads: " << status[0] << " " << status[1];
    EXPECT_EQ(windowCount(), 1);
    pid_t survivor = status[0] == -1 ? pids[0] : pids[1];
    EXPECT_EQ(quit(survivor, window()), 0);
}

TEST_F(Reader, AKilledReaderLeavesTheLastCleanExit) {
    pid_t first = start();
    std::string id = window();
    ASSERT_FALSE(id.empty());
    keys(id, "Next Next");
    ASSERT_EQ(quit(first, id), 0);
    std::string clean = settings();
    ASSERT_FALSE(clean.empty());

    pid_t second = start();
    std::string id2 = window();
    ASSERT_FALSE(id2.empty());
    keys(id2, "Right Next");
    ::kill(second, SIGKILL);
    waitFor(second, 3000);
    EXPECT_EQ(settings(), clean) << "nothing written since the last clean exit";

    pid_t third = start();
    std::string id3 = window();
    ASSERT_FALSE(id3.empty()) << "the stale lock and socket do not stop the next start";
    EXPECT_EQ(quit(third, id3), 0);
}

TEST_F(Reader, TodayOnTheCommandLine) {
    long thisWeek = thisWeeksLesson("--abroad");
    ASSERT_GT(thisWeek, 0);
    long chosen = thisWeek == 5 ? 6 : 5;
    struct Case {
        std::string argument;
        long lesson; // 0: refused as a usage error, the reader does not start
    } cases[] = {{"/TODAY", thisWeek}, {"/today ", 0}, {"x/today", 0}};
    for (const Case& c : cases) {
        std::string before = "[General]\nLesson=dword:" + std::to_string(chosen) +
                             "\nFlags=dword:d1140044\nFontName=David CLM\n";
        writeSettings(before);
        pid_t pid = start({c.argument});
        if (c.lesson == 0) {
            EXPECT_EQ(waitFor(pid, 5000), 2) << "'" << c.argument << "'";
            EXPECT_EQ(settings(), before);
            continue;
        }
        std::string id = window();
        ASSERT_FALSE(id.empty()) << c.argument << "\n" << readerLogs();
        EXPECT_EQ(quit(pid, id), 0);
        EXPECT_EQ(setting("Lesson"), c.lesson) << "'" << c.argument << "'";
    }
}
} // namespace
