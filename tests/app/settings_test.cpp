// Settings in the book key: defaults, what is written at exit, values of odd types and sizes,
// and a stop during loading that must not damage what is stored.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings.h"
#include "dialogs/bookmarks.h"
#include "platform/bitmaps.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/quit.h"
#include "platform/registry.h"
#include "state/book_key.h"
#include "state/state.h"
#include "tests/support/config_home.h"
#include "tests/support/fixtures.h"
#include "tools/bookc/book_compile.h"

namespace {
const char kBookFile[] = "quillmere/versewell.ini";

class Settings : public testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        clearQuitRequest();
        takeShownMessages();
    }
    void TearDown() override { release(); }
    // What a start took: the bookmarks and the outline's icons.
    void release() {
        freeBookmarks();
        for (BitmapHandle& icon : appState.outlineIcons) {
            deleteBitmap(icon);
            icon = nullptr;
        }
        clearQuitRequest();
    }
    std::string stored() const {
        std::string text;
        ReadFile((config_.dir() / kBookFile).string(), text);
        return text;
    }
    // How often the settings file is replaced while `step` runs: a replacement shows as a
    // rename onto the file.
    int replacementsDuring(void (*step)()) const {
        int watch = inotify_init1(IN_NONBLOCK);
        EXPECT_GE(watch, 0);
        EXPECT_GE(inotify_add_watch(watch, (config_.dir() / "quillmere").c_str(),
                                    IN_MOVED_TO | IN_CLOSE_WRITE | IN_CREATE),
                  0);
        step();
        int replaced = 0;
        alignas(inotify_event) char events[8192];
        ssize_t n = read(watch, events, sizeof events);
        for (ssize_t at = 0; at < n;) {
            auto* e = reinterpret_cast<inotify_event*>(events + at);
            if (e->len && std::string(e->name) == "versewell.ini" && (e->mask & IN_MOVED_TO))
                ++replaced;
            at += ssize_t(sizeof(inotify_event) + e->len);
        }
        close(watch);
        return replaced;
    }
    // What `step` writes on standard error (through a pipe, which no file size limit touches).
    static std::string stderrDuring(void (*step)()) {
        int pipeFds[2];
        EXPECT_EQ(pipe(pipeFds), 0);
        fflush(stderr);
        int savedErr = dup(2);
        dup2(pipeFds[1], 2);
        step();
        fflush(stderr);
        dup2(savedErr, 2);
        close(savedErr);
        close(pipeFds[1]);
        char said[1024] = {};
        EXPECT_GE(read(pipeFds[0], said, sizeof said - 1), 0);
        close(pipeFds[0]);
        return said;
    }
    std::string bookFile() const { return (config_.dir() / kBookFile).string(); }
    ConfigHome config_;
};

TEST_F(Settings, DefaultsOnAFreshConfiguration) {
    loadSettings();
    EXPECT_EQ(appState.Flags, 0xD1140040u);
    EXPECT_EQ(appState.fontSpec.FontAsciiBase, 1488);
    EXPECT_EQ(appState.fontSpec.FontSize, 0);
    EXPECT_EQ(appState.fontSpec.FontName[0], 0) << "the first start asks for a font";
    EXPECT_EQ(appState.searchPattern[0], 0);
    EXPECT_EQ(appState.LastPosition, 0);
    EXPECT_EQ(appState.Lesson, 0);
    EXPECT_EQ(appState.PreviousLesson, 0);
    EXPECT_EQ(appState.PreviousPosition, 0);
    EXPECT_EQ(appState.bookmarks, nullptr);
    EXPECT_NE(appState.outlineIcons[0], nullptr);
    EXPECT_NE(stored().find("Program%20Path="), std::string::npos) << "written at the first start";
}

TEST_F(Settings, ValuesWrittenAtExit) {
    loadSettings();
    std::memcpy(appState.fontSpec.FontName, u"David CLM", sizeof(u"David CLM"));
    appState.fontSpec.FontSize = 20;
    appState.Flags = 0xD1140044 | 0x00008000; // an unknown bit too
    appState.Lesson = 12;
    appState.PreviousLesson = 7;
    appState.PreviousPosition = 3;
    std::strcpy(appState.searchPattern, "abc");
    appState.bookmarks = static_cast<uint16_t*>(plainAlloc(3 * sizeof(uint16_t)));
    appState.bookmarks[0] = 7;
    appState.bookmarks[1] = 33;
    appState.bookmarks[2] = 0;
    appState.bookmarkCount = 2;
    saveSettingsAndQuit();
    EXPECT_TRUE(quitRequested());
    EXPECT_EQ(appState.bookmarks, nullptr);

    AppState saved = appState;
    resetAppState();
    loadSettings();
    EXPECT_EQ(std::u16string(appState.fontSpec.FontName), u"David CLM");
    EXPECT_EQ(appState.fontSpec.FontSize, 20);
    EXPECT_EQ(appState.Flags, saved.Flags) << "unknown bits survive a run";
    EXPECT_EQ(appState.Lesson, 12);
    EXPECT_EQ(appState.PreviousLesson, 7);
    EXPECT_EQ(appState.PreviousPosition, 3);
    EXPECT_STREQ(appState.searchPattern, "abc");
    ASSERT_EQ(appState.bookmarkCount, 2);
    EXPECT_EQ(appState.bookmarks[0], 7);
    EXPECT_EQ(appState.bookmarks[1], 33);

    uint32_t length = 0;
    uint8_t* bytes = readBookBytes(u"Bookmarks", &length);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), length),
              std::string("\x07\x00\x21\x00\x00\x00", 6));
    plainFree(bytes);
}

TEST_F(Settings, EmptyValuesAreNotWritten) {
    loadSettings();
    saveSettingsAndQuit();
    std::string text = stored();
    for (const char* absent :
         {"FontName", "FontSize", "SearchString", "\nLesson=", "LastPosition"}) {
        EXPECT_EQ(text.find(absent), std::string::npos) << absent;
    }
    for (const char* present : {"Flags=dword:d1140040", "PreviousLesson=", "PreviousPosition=",
                                "FontAsciiBase=", "Bookmarks="}) {
        EXPECT_NE(text.find(present), std::string::npos) << present;
    }
}

TEST_F(Settings, OddTypesAndSizes) {
    config_.write(kBookFile, "[General]\nLesson=12\nFontName=" + std::string(40, 'F') +
                                 "\nSearchString=@ByteArray(" + std::string(50, 's') +
                                 ")\nFlags=dword:00000000\n");
    loadSettings();
    EXPECT_EQ(appState.Lesson, 12) << "a number stored as the string \"12\"";
    EXPECT_EQ(std::u16string(appState.fontSpec.FontName), std::u16string(31, u'F'));
    EXPECT_EQ(std::string(appState.searchPattern), std::string(33, 's'));
    EXPECT_EQ(appState.Flags, 0u) << "a stored 0 is a value like any other";
}

TEST_F(Settings, GarbageFileGivesDefaults) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 131 + 7) % 256);
    config_.write(kBookFile, garbage);
    loadSettings();
    EXPECT_EQ(appState.fontSpec.FontAsciiBase, 1488);
    EXPECT_EQ(appState.Lesson, 0);
}

TEST_F(Settings, AStopWhileLoadingWritesNothing) {
    std::string before =
        "[General]\nFontName=David CLM\nLesson=dword:00000014\nFlags=dword:00000004\n";
    config_.write(kBookFile, before);
    // Every allocation fails: the first string read runs out of memory and stops the reader.
    injectAllocFailures(0, -1);
    loadSettings();
    injectAllocFailures(0, 0);
    EXPECT_TRUE(quitRequested());
    std::vector<ShownMessage> shown = takeShownMessages();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0].text, u"There is not enough memory, aborting");
    std::string after = stored();
    EXPECT_NE(after.find("FontName=David CLM"), std::string::npos) << after;
    EXPECT_NE(after.find("Lesson=dword:00000014"), std::string::npos) << after;
    EXPECT_NE(after.find("Flags=dword:00000004"), std::string::npos) << after;
}

// Values that no reader can use read as missing, and what the next save writes is the default.
TEST_F(Settings, ValuesOutOfRangeReadAsMissing) {
    struct Case {
        const char* values; // after FontName
        uint16_t lesson;
        bool chosen; // Flags bit 0x4 after loading
        int32_t size, base;
        uint16_t previousLesson;
    } cases[] = {
        {"Lesson=dword:00000035\nFlags=dword:00000004\n", 53, true, 0, 1488, 0},
        {"Lesson=dword:00000000\nFlags=dword:00000004\n", 0, false, 0, 1488, 0},
        {"Lesson=dword:00000036\nFlags=dword:00000004\n", 0, false, 0, 1488, 0},
        {"Lesson=dword:00007c17\nFlags=dword:00000004\n", 0, false, 0, 1488, 0},
        {"Lesson=abc\nFlags=dword:00000004\n", 0, false, 0, 1488, 0},
        {"Flags=dword:00000004\n", 0, false, 0, 1488, 0}, // "chosen" but no lesson
        {"FontSize=dword:000000c8\nFontAsciiBase=dword:000000e0\n", 0, false, 200, 224, 0},
        {"FontSize=dword:000000c9\nFontAsciiBase=dword:00000000\n", 0, false, 0, 1488, 0},
        {"FontSize=dword:ffffffff\nFontAsciiBase=dword:00000061\n", 0, false, 0, 97, 0},
        {"FontSize=abc\nFontAsciiBase=1000\n", 0, false, 0, 1488, 0},
        {"PreviousLesson=dword:00000036\n", 0, false, 0, 1488, 0},
        {"PreviousLesson=dword:00000007\n", 0, false, 0, 1488, 7},
    };
    for (const Case& c : cases) {
        resetAppState();
        config_.write(kBookFile, std::string("[General]\nFontName=David CLM\n") + c.values);
        loadSettings();
        EXPECT_EQ(appState.Lesson, c.lesson) << c.values;
        EXPECT_EQ((appState.Flags & FlagLessonChosen) != 0, c.chosen) << c.values;
        EXPECT_EQ(appState.fontSpec.FontSize, c.size) << c.values;
        EXPECT_EQ(appState.fontSpec.FontAsciiBase, c.base) << c.values;
        EXPECT_EQ(appState.PreviousLesson, c.previousLesson) << c.values;
        freeBookmarks();
        for (BitmapHandle& icon : appState.outlineIcons)
            deleteBitmap(icon);
    }

    // What is written back: the defaults, and no trace of the bad size.
    resetAppState();
    config_.write(kBookFile, "[General]\nFontName=David CLM\nFontSize=abc\n"
                             "FontAsciiBase=dword:00000000\nLesson=dword:00000036\n");
    loadSettings();
    saveSettingsAndQuit();
    std::string text = stored();
    EXPECT_EQ(text.find("FontSize"), std::string::npos) << text;
    EXPECT_NE(text.find("FontAsciiBase=dword:000005d0"), std::string::npos) << text;
    EXPECT_EQ(text.find("\nLesson="), std::string::npos) << text;

    resetAppState();
    clearQuitRequest();
    config_.write(kBookFile, "[General]\nFontName=David CLM\nFontSize=dword:00007fff\n");
    loadSettings();
    saveSettingsAndQuit();
    EXPECT_EQ(stored().find("FontSize"), std::string::npos) << stored();
}

// A start or an exit that would write only what the file holds already leaves the file alone;
// one that changes a value replaces it. Each step starts from the file the one before left.
TEST_F(Settings, WritesThatChangeNothingLeaveTheFileAlone) {
    struct Step {
        const char* name;
        const char* file; // written first, unless null
        void (*run)();
        int replacements;
    } steps[] = {
        {"start, no path stored", "[General]\nFontName=David CLM\n", [] { loadSettings(); }, 1},
        {"start, another path stored",
         "[General]\nFontName=David CLM\nProgram%20Path=/elsewhere/versewell\n",
         [] { loadSettings(); }, 1},
        {"start, its own path stored", nullptr, [] { loadSettings(); }, 0},
        {"exit after a change", nullptr,
         [] {
             loadSettings();
             appState.Lesson = 7;
             appState.Flags |= FlagLessonChosen;
             saveSettingsAndQuit();
         },
         1},
        {"start and exit, nothing changed", nullptr,
         [] {
             loadSettings();
             saveSettingsAndQuit();
         },
         0},
    };
    for (const Step& step : steps) {
        release();
        resetAppState();
        if (step.file) config_.write(kBookFile, step.file);
        EXPECT_EQ(replacementsDuring(step.run), step.replacements) << step.name;
        EXPECT_EQ(stored().find("/elsewhere"), std::string::npos) << step.name;
        EXPECT_NE(stored().find("Program%20Path="), std::string::npos) << step.name;
    }
    EXPECT_NE(stored().find("Lesson=dword:00000007"), std::string::npos) << stored();
}

// The save at exit replaces the settings file once, so that a stop in the middle of it leaves
// the old values or the new ones, never some of each.
TEST_F(Settings, TheSaveAtExitIsOneWrite) {
    config_.write(kBookFile, "[General]\nFontName=David CLM\n");
    loadSettings();
    appState.fontSpec.FontSize = 20;
    appState.Lesson = 12;
    appState.Flags |= FlagLessonChosen;
    std::strcpy(appState.searchPattern, "abc");
    int replaced = replacementsDuring([] { saveSettingsAndQuit(); });
    EXPECT_EQ(replaced, 1);
    std::string text = stored();
    for (const char* value : {"FontSize=dword:00000014", "Lesson=dword:0000000c",
                              "SearchString=", "Bookmarks=", "Flags=dword:d1140044"})
        EXPECT_NE(text.find(value), std::string::npos) << value << "\n" << text;
}

// A save that cannot be written (here: the file size limit, as on a full disk) leaves the old
// file whole and says so.
TEST_F(Settings, AFailedSaveKeepsTheOldFileAndSaysSo) {
    std::string before = "[General]\nFontName=David CLM\nLesson=dword:00000005\n"
                         "Flags=dword:d1140044\n";
    config_.write(kBookFile, before);
    loadSettings();
    std::string started = stored(); // with "Program Path"
    appState.Lesson = 9;
    std::strcpy(appState.searchPattern, "abcdefghijklmnopqrstuvwxyz");
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 16;
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    // Standard error into a pipe, which the size limit does not touch.
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    fflush(stderr);
    int savedErr = dup(2);
    dup2(pipeFds[1], 2);
    saveSettingsAndQuit();
    fflush(stderr);
    dup2(savedErr, 2);
    close(savedErr);
    close(pipeFds[1]);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    char said[512] = {};
    ASSERT_GE(read(pipeFds[0], said, sizeof said - 1), 0);
    close(pipeFds[0]);
    EXPECT_EQ(stored(), started);
    EXPECT_NE(std::string(said).find("settings were not saved"), std::string::npos) << said;
}

// A settings file that is not a regular file is neither opened (a pipe would block the start
// for ever) nor replaced by the save (a device would become a regular file): the reader starts
// with the defaults, says why, and the save at exit leaves it as it was.
TEST_F(Settings, ASettingsFileThatIsNoRegularFileIsLeftAlone) {
    namespace fs = std::filesystem;
    fs::path file = bookFile(), folder = file.parent_path(), other = config_.dir() / "other";
    struct Case {
        const char* name;
        void (*make)(const fs::path& file, const fs::path& other);
        const char* said;
    } cases[] = {
        {"a pipe",
         [](const fs::path& f, const fs::path&) { ASSERT_EQ(mkfifo(f.c_str(), 0600), 0); },
         "not a regular file"},
        {"a link to a pipe",
         [](const fs::path& f, const fs::path& o) {
             ASSERT_EQ(mkfifo(o.c_str(), 0600), 0);
             fs::create_symlink(o, f);
         },
         "not a regular file"},
        {"a device",
         [](const fs::path& f, const fs::path&) {
             ASSERT_EQ(mknod(f.c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
         },
         "not a regular file"},
        {"a link to a device",
         [](const fs::path& f, const fs::path& o) {
             ASSERT_EQ(mknod(o.c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
             fs::create_symlink(o, f);
         },
         "not a regular file"},
        {"a folder", [](const fs::path& f, const fs::path&) { fs::create_directory(f); },
         "not a regular file"},
        {"a link to nothing",
         [](const fs::path& f, const fs::path& o) { fs::create_symlink(o, f); },
         "a link to nothing"},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder);
        fs::remove_all(other);
        fs::create_directories(folder);
        c.make(file, other);
        struct stat before {
        }, targetBefore{};
        ASSERT_EQ(lstat(file.c_str(), &before), 0);
        bool target = lstat(other.c_str(), &targetBefore) == 0;
        // In a child that a blocked open cannot hold: an alarm ends it.
        std::string log = (config_.dir() / "said").string();
        pid_t pid = fork();
        if (pid == 0) {
            alarm(10);
            int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, 2);
            loadSettings();
            bool defaults = appState.fontSpec.FontSize == 0 && appState.Flags == 0xD1140040u;
            appState.Lesson = 9;
            appState.fontSpec.FontSize = 20;
            saveSettingsAndQuit();
            _exit(defaults ? 0 : 3);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status)) << c.name << ": the start or the save blocked";
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0) << c.name << ": defaults";
        std::string said;
        ReadFile(log, said);
        EXPECT_NE(said.find(std::string(c.said) + "; starting with the defaults"),
                  std::string::npos)
            << c.name << "\n"
            << said;
        EXPECT_NE(said.find(std::string("settings were not saved (the settings file ") + ""),
                  std::string::npos)
            << c.name << "\n"
            << said;
        struct stat after {
        }, targetAfter{};
        ASSERT_EQ(lstat(file.c_str(), &after), 0) << c.name;
        EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << c.name << ": replaced";
        EXPECT_EQ(after.st_ino, before.st_ino) << c.name << ": replaced";
        if (target) {
            ASSERT_EQ(lstat(other.c_str(), &targetAfter), 0) << c.name;
            EXPECT_EQ(targetAfter.st_mode & S_IFMT, targetBefore.st_mode & S_IFMT) << c.name;
            EXPECT_EQ(targetAfter.st_ino, targetBefore.st_ino) << c.name << ": target replaced";
        }
    }
    fs::remove_all(folder);
    fs::remove_all(other);
}

// Settings files kept elsewhere and linked in (dotfiles managed by links) keep their link: the
// file it leads to is replaced, in its own folder, and nothing is left beside either.
TEST_F(Settings, ALinkToASettingsFileStaysALink) {
    namespace fs = std::filesystem;
    fs::path kept = config_.dir() / "dotfiles" / "versewell.ini";
    config_.write("dotfiles/versewell.ini", "[General]\nFontName=David CLM\n");
    fs::create_directories(fs::path(bookFile()).parent_path());
    fs::create_symlink("../dotfiles/versewell.ini", bookFile());
    loadSettings();
    appState.Lesson = 12;
    appState.Flags |= FlagLessonChosen;
    saveSettingsAndQuit();
    ASSERT_TRUE(fs::is_symlink(bookFile()));
    EXPECT_EQ(fs::read_symlink(bookFile()), "../dotfiles/versewell.ini");
    std::string text;
    ASSERT_TRUE(ReadFile(kept.string(), text));
    EXPECT_NE(text.find("Lesson=dword:0000000c"), std::string::npos) << text;
    EXPECT_NE(text.find("FontName=David CLM"), std::string::npos) << text;
    for (const fs::path& folder : {kept.parent_path(), fs::path(bookFile()).parent_path()}) {
        int entries = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            entries += entry.path().extension() != ".lock";
        EXPECT_EQ(entries, 1) << folder;
    }
}

// A save that fails says the system's reason: a full disk and a read-only folder (on a small
// file system of the test's own), not that the file cannot be read.
TEST_F(Settings, AFailedSaveSaysWhy) {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(bookFile()).parent_path();
    fs::create_directories(folder);
    if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no file system of its own to fill (mounting needs root): "
                     << std::strerror(errno);
    struct Case {
        const char* name;
        const char* reason;
        uint16_t lesson; // a new value for each save, so that each has something to write
    } cases[] = {{"full", "No space left on device", 9},
                 {"read-only", "Read-only file system", 10}};
    for (const Case& c : cases) {
        config_.write(kBookFile, "[General]\nFontName=David CLM\nLesson=dword:00000005\n");
        loadSettings();
        std::string started = stored();
        if (std::string(c.name) == "full") {
            std::ofstream filler((folder / "filler").string(), std::ios::binary);
            std::string block(4096, 'x');
            while (filler.write(block.data(), std::streamsize(block.size())))
                filler.flush();
        } else {
            ASSERT_EQ(mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
        }
        appState.Lesson = c.lesson;
        std::strcpy(appState.searchPattern, "abcdefghijklmnopqrstuvwxyz");
        std::string said = stderrDuring([] { saveSettingsAndQuit(); });
        EXPECT_NE(said.find(std::string("settings were not saved (the settings folder: ") +
                            c.reason + ")"),
                  std::string::npos)
            << c.name << ": " << said;
        EXPECT_EQ(stored(), started) << c.name;
        release();
        if (std::string(c.name) == "full") fs::remove(folder / "filler");
    }
    umount(folder.c_str());
}
} // namespace
