// The registry kept as settings files, and readNumberValue over it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/quit.h"
#include "platform/registry.h"
#include "state/registry_values.h"
#include "tests/support/config_home.h"

namespace {
struct NumberCase {
    const char* file; // the maker key's file
    int32_t want;
};

TEST(ReadNumberValue, NumbersAndDecimalText) {
    const NumberCase cases[] = {
        {"Israel=dword:0000000c\n", 12},
        {"Israel=dword:FFFFFFFF\n", -1},
        {"Israel=dword:d1140040\n", int32_t(0xD1140040)},
        {"Israel=25\n", 25},
        {"Israel=\"12\"\n", 12},
        {"Israel=0\n", 0},
        {"[General]\nIsrael=3\n", 3},
        {"ISRAEL=4\n", 4}, // value names ignore letter case
        // 3507748928 is the same 32 bits as 0xD1140040.
        {"Israel=3507748928\n", int32_t(0xD1140040)},
        {"Israel=4294967295\n", -1},
        // Text that is no decimal number of 32 bits reads as missing.
        {"Israel=\n", 77},
        {"Israel=-1\n", 77},
        {"Israel=1a\n", 77},
        {"Israel=abc\n", 77},
        {"Israel=dword:\n", 77},
        {"Israel=4294967296\n", 77},
        {"Israel=99999999999999999999\n", 77},
        {"Israel=\" 12\"\n", 77},
        // Missing: the default.
        {"FullScreen=1\n", 77},
        {"[Other]\nIsrael=5\n", 77},
        {"", 77},
    };
    for (const NumberCase& c : cases) {
        ConfigHome home;
        home.write("quillmere.ini", c.file);
        EXPECT_EQ(readNumberValue(kMakerKey, u"Israel", 77), c.want) << c.file;
    }
}

TEST(ReadNumberValue, KeyPathsIgnoreLetterCase) {
    ConfigHome home;
    home.write("quillmere.ini", "Israel=1\n");
    home.write("quillmere/versewell.ini", "Lesson=12\n");
    EXPECT_EQ(readNumberValue(u"SOFTWARE\\quillmere", u"Israel", 0), 1);
    EXPECT_EQ(readNumberValue(u"Software\\Quillmere\\Versewell", u"Lesson", 0), 12);
    EXPECT_EQ(readNumberValue(u"Software\\Quillmere\\Other", u"Lesson", 5), 5);
}

TEST(ReadNumberValue, NoKeyGivesTheDefault) {
    ConfigHome home;
    EXPECT_EQ(readNumberValue(kMakerKey, u"Israel", 0), 0);
    EXPECT_EQ(readNumberValue(kMakerKey, u"AllowSipInHebrewSearch", 1), 1);
}

TEST(ReadNumberValue, OutOfMemoryGivesTheDefaultAndStops) {
    ConfigHome home;
    home.write("quillmere.ini", "Israel=25\nFullScreen=dword:00000001\n");
    takeShownMessages();
    clearQuitRequest();
    injectAllocFailures(0, -1);
    // A number value needs no buffer; a text value does.
    EXPECT_EQ(readNumberValue(kMakerKey, u"FullScreen", 0), 1);
    EXPECT_FALSE(quitRequested());
    EXPECT_EQ(readNumberValue(kMakerKey, u"Israel", 9), 9);
    injectAllocFailures(0, 0);
    std::vector<ShownMessage> shown = takeShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, u"There is not enough memory, aborting");
    EXPECT_TRUE(quitRequested());
    clearQuitRequest();
}

TEST(Registry, ValueTypesAndSizes) {
    ConfigHome home;
    home.write("quillmere/versewell.ini", "[General]\n"
                                          "FontName=David CLM\n"
                                          "Flags=dword:d1140040\n"
                                          "Bookmarks=@ByteArray(\\x4\\0\\x11\\0\\0\\0)\n"
                                          "Program%20Path=/usr/bin/versewell\n");
    RegistryKey key = openRegistryKey(kCurrentUser, u"Software\\Quillmere\\Versewell");
    ASSERT_NE(key, nullptr);

    uint32_t type = 0, size = 0;
    ASSERT_EQ(queryRegistryValue(key, u"FontName", &type, nullptr, &size), RegistryOk);
    EXPECT_EQ(type, RegistryString);
    EXPECT_EQ(size, (9u + 1) * 2);
    char16_t text[16];
    std::memset(text, 0xFF, sizeof text);
    size = sizeof text;
    ASSERT_EQ(
        queryRegistryValue(key, u"fontname", nullptr, reinterpret_cast<uint8_t*>(text), &size),
        RegistryOk);
    EXPECT_EQ(size, 20u);
    EXPECT_EQ(std::u16string(text), u"David CLM");

    uint32_t flags = 0;
    size = sizeof flags;
    ASSERT_EQ(queryRegistryValue(key, u"Flags", &type, reinterpret_cast<uint8_t*>(&flags), &size),
              RegistryOk);
    EXPECT_EQ(type, RegistryNumber);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(flags, 0xD1140040u);

    uint8_t bytes[6];
    size = sizeof bytes;
    ASSERT_EQ(queryRegistryValue(key, u"Bookmarks", &type, bytes, &size), RegistryOk);
    EXPECT_EQ(type, RegistryBinary);
    ASSERT_EQ(size, 6u);
    EXPECT_EQ(std::memcmp(bytes, "\x04\x00\x11\x00\x00\x00", 6), 0);

    ASSERT_EQ(queryRegistryValue(key, u"Program Path", &type, nullptr, &size), RegistryOk);
    EXPECT_EQ(size, (18u + 1) * 2);

    // Too small a buffer: the size needed, nothing copied.
    char16_t small[4] = {1, 1, 1, 1};
    size = sizeof small;
    EXPECT_EQ(
        queryRegistryValue(key, u"FontName", nullptr, reinterpret_cast<uint8_t*>(small), &size),
        RegistryMoreData);
    EXPECT_EQ(size, 20u);
    EXPECT_EQ(small[0], 1);

    EXPECT_EQ(queryRegistryValue(key, u"Lesson", &type, nullptr, &size), RegistryMissing);
    EXPECT_EQ(queryRegistryValue(nullptr, u"Flags", &type, nullptr, &size), RegistryMissing);
    closeRegistryKey(key);
}

// Keys are kept once read; a file whose size or modification time changes is read again.
TEST(Registry, ChangedFilesAreReadAgain) {
    ConfigHome home;
    const std::filesystem::path file = home.dir() / "quillmere.ini";
    home.write("quillmere.ini", "Israel=1\n");
    EXPECT_EQ(readNumberValue(kMakerKey, u"Israel", 0), 1);
    home.write("quillmere.ini", "Israel=22\n");
    EXPECT_EQ(readNumberValue(kMakerKey, u"Israel", 0), 22);
    // The same size: only the time tells (set apart, as an edit a moment later would be).
    auto modified = std::filesystem::last_write_time(file);
    home.write("quillmere.ini", "Israel=33\n");
    std::filesystem::last_write_time(file, modified + std::chrono::seconds(2));
    EXPECT_EQ(readNumberValue(kMakerKey, u"Israel", 0), 33);
    std::filesystem::remove(file);
    EXPECT_EQ(readNumberValue(kMakerKey, u"Israel", 0), 0);
}

TEST(Registry, KeysThatCannotBeOpened) {
    ConfigHome home;
    home.write("quillmere.ini", "Israel=1\n");
    home.write("outside.ini", "Israel=1\n");
    RegistryKey good = openRegistryKey(kCurrentUser, u"software\\quillmere");
    EXPECT_NE(good, nullptr) << "the one that can, for contrast";
    closeRegistryKey(good);
    const char16_t* paths[] = {
        u"",     u"software\\Absent",         u"software\\\\quillmere",  u"software\\",
        nullptr, u"software\\x\\..\\outside", u"software\\.\\quillmere", u"a/../outside",
    };
    for (const char16_t* path : paths)
        EXPECT_EQ(openRegistryKey(kCurrentUser, path), nullptr);
    EXPECT_EQ(openRegistryKey(0x80000002, u"software\\quillmere"), nullptr);
}
} // namespace
