// Arbitrary settings files: the book key's file (every value of every type: numbers as dword
// or as text, strings, byte arrays, lists, sections) and the maker key's, read as start-up reads
// them and written back as the exit writes them. What is read must be usable (a lesson of the
// book or none, a font size in range, a known letter base, a search text that ends inside its
// field, a bookmark list that ends in 0), and a second start must read back what the first
// one saved. Input: the book key's file; after a 0 byte, the maker key's.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "app/app_main.h"
#include "app/settings.h"
#include "content/book_constants.h"
#include "dialogs/bookmarks.h"
#include "platform/quit.h"
#include "state/registry_values.h"
#include "state/state.h"

namespace {
void check(bool ok) {
    if (!ok) __builtin_trap();
}

std::string gFolder;
long gVersion = 0;

// Writes a key's file with a modification time of its own, so that the registry's cache of
// the file (by size and times) always sees a new version.
void writeKey(const std::string& name, const std::string& text) {
    std::string path = gFolder + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    struct timespec times[2] = {{++gVersion, 0}, {gVersion, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void checkLoaded() {
    check(appState.Lesson <= kLessonCount);
    check(appState.fontSpec.FontSize >= 0 && appState.fontSpec.FontSize <= kMaxFontSize);
    int base = appState.fontSpec.FontAsciiBase;
    check(base == 97 || base == 224 || base == 1488);
    check(appState.PreviousLesson <= kLessonCount);
    check(std::memchr(appState.searchPattern, 0, sizeof appState.searchPattern) != nullptr);
    check(std::char_traits<char16_t>::length(appState.fontSpec.FontName) < 32);
    if (appState.bookmarks) check(appState.bookmarks[appState.bookmarkCount] == 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16384) return 0;
    if (gFolder.empty()) {
        char pattern[] = "/tmp/settings-fuzz-XXXXXX";
        gFolder = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", gFolder.c_str(), 1);
        mkdir((gFolder + "/quillmere").c_str(), 0700);
    }
    const char* bytes = reinterpret_cast<const char*>(data);
    const char* split = static_cast<const char*>(std::memchr(bytes, 0, size));
    std::string book(bytes, split ? size_t(split - bytes) : size);
    std::string maker = split ? std::string(split + 1, bytes + size) : std::string();
    writeKey("quillmere/versewell.ini", book);
    writeKey("quillmere.ini", maker);

    for (const char16_t* name : {u"IgnoreActivate", u"FullScreen", u"AllowSipInHebrewSearch",
                                 u"MenuBarOnBottom", u"SurroundingGutter", u"Israel"})
        readNumberValue(kMakerKey, name, 7);

    resetAppState();
    clearQuitRequest();
    loadSettings();
    checkLoaded();
    AppState first = appState;
    uint16_t marks[64] = {};
    for (int i = 0; i < first.bookmarkCount && i < 63; ++i)
        marks[i] = first.bookmarks[i];
    saveSettingsAndQuit();

    // The next start reads back what this one saved.
    resetAppState();
    clearQuitRequest();
    loadSettings();
    checkLoaded();
    check(std::memcmp(appState.fontSpec.FontName, first.fontSpec.FontName,
                      sizeof first.fontSpec.FontName) == 0);
    check(appState.fontSpec.FontSize == first.fontSpec.FontSize);
    check(appState.fontSpec.FontAsciiBase == first.fontSpec.FontAsciiBase);
    check(appState.Lesson == first.Lesson);
    check(appState.Flags == first.Flags);
    check(appState.PreviousLesson == first.PreviousLesson);
    check(appState.PreviousPosition == first.PreviousPosition);
    check(std::strcmp(appState.searchPattern, first.searchPattern) == 0);
    check(appState.bookmarkCount == first.bookmarkCount);
    for (int i = 0; i < appState.bookmarkCount && i < 63; ++i)
        check(appState.bookmarks[i] == marks[i]);
    freeBookmarks();
    clearQuitRequest();
    return 0;
}
