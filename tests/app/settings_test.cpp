// Settings in the book key: defaults, what is written at exit, values of odd types and sizes,
// and a stop during loading that must not damage what is stored.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/settings.h"
#include "app/state.h"
#include "dialogs/bookmarks.h"
#include "platform/bitmaps.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/quit.h"
#include "platform/registry.h"
#include "tests/support/config_home.h"
#include "tests/support/fixtures.h"
#include "tools/bookc/book_compile.h"

namespace {
const char kBookFile[] = "quillmere/versewell.ini";

class Settings : public testing::Test {
protected:
    void SetUp() override {
        appState = AppState{};
        clearQuitRequest();
        takeShownMessages();
    }
    void TearDown() override {
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
    EXPECT_NE(stored().find("Program%20Path="), std::string::npos) << "written at every start";
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
    appState = AppState{};
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
} // namespace
