#include "app/settings.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/registry_values.h"
#include "app/state.h"
#include "content/book_constants.h"
#include "dialogs/bookmarks.h"
#include "platform/bitmaps.h"
#include "platform/memory.h"
#include "platform/process.h"
#include "platform/quit.h"
#include "platform/registry.h"
#include "view/text_view.h"

namespace {
// Set once loadSettings has read every value: until then a stop must not write any.
bool gSettingsLoaded = false;

// The value's type and bytes in a new buffer of its size plus `extra` zero bytes.
uint8_t* readValue(const char16_t* name, uint32_t extra, uint32_t* length) {
    RegistryKey key = openRegistryKey(kCurrentUser, kBookKey);
    if (!key) return nullptr;
    uint32_t size = 0;
    uint8_t* buffer = nullptr;
    if (queryRegistryValue(key, name, nullptr, nullptr, &size) == RegistryOk) {
        buffer = static_cast<uint8_t*>(checkedAlloc(size_t(size) + extra));
        if (buffer) {
            std::memset(buffer, 0, size_t(size) + extra);
            uint32_t got = size;
            if (queryRegistryValue(key, name, nullptr, buffer, &got) != RegistryOk) {
                plainFree(buffer);
                buffer = nullptr;
            } else if (length) {
                *length = got;
            }
        }
    }
    closeRegistryKey(key);
    return buffer;
}

// The save at exit gathers its values here and hands them to the registry in one write, so
// that a stop half-way leaves the old file or the new one, never a mix.
struct PendingValue {
    std::u16string name;
    uint32_t type;
    std::vector<uint8_t> bytes;
};
bool gGathering = false;
std::vector<PendingValue> gPending;

// Stored values found out of their range at start: they read as their default, and a default
// that the save would not write (FontSize 0, Lesson 0) takes the bad value out instead.
bool gBadFontSize = false;
bool gBadLesson = false;

int writeValue(const char16_t* name, uint32_t type, const uint8_t* data, uint32_t size) {
    if (gGathering) {
        gPending.push_back({name, type, std::vector<uint8_t>(data, data + size)});
        return 1;
    }
    RegistryKey key = createRegistryKey(kCurrentUser, kBookKey);
    if (!key) return 0;
    int result = setRegistryValue(key, name, type, data, size) == RegistryOk ? 1 : 0;
    closeRegistryKey(key);
    return result;
}

// Writes the gathered values in one go. Returns 1 when stored; 0 after saying on standard
// error that the settings could not be saved (the file keeps its old values).
int writeGathered() {
    gGathering = false;
    std::vector<RegistryValue> values;
    for (const PendingValue& v : gPending)
        values.push_back({v.name.c_str(), v.type, v.bytes.data(), uint32_t(v.bytes.size())});
    const char* error = "the settings folder cannot be made";
    RegistryKey key = createRegistryKey(kCurrentUser, kBookKey);
    int result = key && setRegistryValues(key, values.data(), values.size(), &error) == RegistryOk;
    closeRegistryKey(key);
    gPending.clear();
    if (!result)
        std::fprintf(stderr,
                     "versewell: the settings were not saved (%s); the last saved ones "
                     "stay\n",
                     error);
    return result;
}

bool storedInBookKey(const char16_t* name) {
    RegistryKey key = openRegistryKey(kCurrentUser, kBookKey);
    uint32_t size = 0;
    bool present = key && queryRegistryValue(key, name, nullptr, nullptr, &size) == RegistryOk;
    closeRegistryKey(key);
    return present;
}

// A stored number that must lie in low..high: anything else reads as `fallback`. *bad (when
// given) tells whether a value is stored that is no such number.
int32_t readBookNumberIn(const char16_t* name, int32_t low, int32_t high, int32_t fallback,
                         bool* bad = nullptr) {
    int32_t value = readBookNumber(name, fallback);
    bool outside = value < low || value > high;
    if (bad) {
        // Text that is no number gives whatever default is asked for.
        bool number = readBookNumber(name, 0) == readBookNumber(name, 1);
        *bad = storedInBookKey(name) && (outside || !number);
    }
    return outside ? fallback : value;
}

size_t unitsOf(const char16_t* text) {
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}
} // namespace

int32_t readBookNumber(const char16_t* name, int32_t defaultValue) {
    return readNumberValue(kBookKey, name, defaultValue);
}

int writeBookNumber(const char16_t* name, int32_t value) {
    return writeValue(name, RegistryNumber, reinterpret_cast<const uint8_t*>(&value), sizeof value);
}

char16_t* readBookString(const char16_t* name) {
    uint32_t length = 0;
    // Twice the reported size, as the string reader always has: room for a terminator.
    RegistryKey key = openRegistryKey(kCurrentUser, kBookKey);
    uint32_t size = 0;
    bool present = key && queryRegistryValue(key, name, nullptr, nullptr, &size) == RegistryOk;
    closeRegistryKey(key);
    if (!present) return nullptr;
    return reinterpret_cast<char16_t*>(readValue(name, size + 2, &length));
}

int writeBookString(const char16_t* name, const char16_t* text) {
    return writeValue(name, RegistryString, reinterpret_cast<const uint8_t*>(text),
                      uint32_t((unitsOf(text) + 1) * sizeof(char16_t)));
}

uint8_t* readBookBytes(const char16_t* name, uint32_t* length) {
    return readValue(name, 0, length);
}

uint8_t* readBookBlob(const char16_t* name, uint8_t* defaultBuffer, uint32_t* length) {
    uint32_t size = 0;
    uint8_t* bytes = readValue(name, 0, &size);
    if (!bytes) return defaultBuffer;
    if (length) *length = size;
    return bytes;
}

int writeBookBytes(const char16_t* name, const char* text) {
    return writeValue(name, RegistryBinary, reinterpret_cast<const uint8_t*>(text),
                      uint32_t(std::strlen(text) + 1));
}

int writeBookBlob(const char16_t* name, const uint8_t* bytes, uint32_t length) {
    return writeValue(name, RegistryBinary, bytes, length);
}

void readBookText8(const char16_t* name, char* buffer, int n) {
    uint32_t length = 0;
    uint8_t* bytes = readBookBytes(name, &length);
    if (bytes && length > 0 && bytes[0] != 0) {
        int i = 0;
        while (i < n - 1 && uint32_t(i) < length && bytes[i] != 0) {
            buffer[i] = char(bytes[i]);
            ++i;
        }
        buffer[i] = 0;
    }
    plainFree(bytes);
}

void loadSettings() {
    gSettingsLoaded = false;
    bool quitBefore = quitRequested();
    char16_t path[260];
    if (programPath(path, 260) > 0) writeBookString(u"Program Path", path);
    if (char16_t* name = readBookString(u"FontName")) {
        if (name[0]) {
            size_t n = 0;
            while (n < 31 && name[n]) {
                appState.fontSpec.FontName[n] = name[n];
                ++n;
            }
            appState.fontSpec.FontName[n] = 0;
        }
        plainFree(name);
    }
    readBookText8(u"SearchString", appState.searchPattern, int(sizeof appState.searchPattern));
    // A value outside what the reader can use reads as missing: a damaged file must not leave
    // a reader that cannot show a lesson and cannot be repaired from inside.
    appState.fontSpec.FontSize = readBookNumberIn(u"FontSize", 0, kMaxFontSize, 0, &gBadFontSize);
    int32_t base = readBookNumber(u"FontAsciiBase", kDefaultLetterBase);
    appState.fontSpec.FontAsciiBase =
        base == 97 || base == 224 || base == 1488 ? base : kDefaultLetterBase;
    appState.LastPosition = uint16_t(readBookNumber(u"LastPosition", 0));
    appState.Flags = uint32_t(readBookNumber(u"Flags", int32_t(DefaultFlags)));
    appState.PreviousLesson = uint16_t(readBookNumberIn(u"PreviousLesson", 0, kLessonCount, 0));
    appState.PreviousPosition = uint16_t(readBookNumber(u"PreviousPosition", 0));
    appState.Lesson = uint16_t(readBookNumberIn(u"Lesson", 1, kLessonCount, 0, &gBadLesson));
    // Without a lesson of its own the reader follows the weekly schedule.
    if (appState.Lesson == 0) appState.Flags &= ~uint32_t(FlagLessonChosen);
    // Memory ran out on the way (checkedAlloc has saved nothing and asked to quit): the start
    // is abandoned, and nothing more is taken that nobody would release.
    if (quitRequested() && !quitBefore) return;
    for (int i = 0; i < 3; ++i)
        appState.outlineIcons[i] = loadBitmap(201 + i);
    loadBookmarks();
    gSettingsLoaded = !quitRequested();
}

void saveSettingsAndQuit() {
    for (BitmapHandle& icon : appState.outlineIcons) {
        deleteBitmap(icon);
        icon = nullptr;
    }
    if (gSettingsLoaded) {
        gGathering = true;
        gPending.clear();
        if (appState.searchPattern[0]) writeBookBytes(u"SearchString", appState.searchPattern);
        if (appState.fontSpec.FontName[0]) writeBookString(u"FontName", appState.fontSpec.FontName);
        if (appState.fontSpec.FontSize) {
            writeBookNumber(u"FontSize", appState.fontSpec.FontSize);
        } else if (gBadFontSize) {
            writeValue(u"FontSize", RegistryRemove, nullptr, 0);
        }
        if (appState.fontSpec.FontAsciiBase)
            writeBookNumber(u"FontAsciiBase", appState.fontSpec.FontAsciiBase);
        if (appState.view) writeBookNumber(u"LastPosition", appState.view->topLine);
        writeBookNumber(u"Flags", int32_t(appState.Flags));
        writeBookNumber(u"PreviousLesson", appState.PreviousLesson);
        writeBookNumber(u"PreviousPosition", appState.PreviousPosition);
        if (appState.Lesson) {
            writeBookNumber(u"Lesson", appState.Lesson);
        } else if (gBadLesson) {
            writeValue(u"Lesson", RegistryRemove, nullptr, 0);
        }
    }
    if (appState.view) {
        TextView_Destroy(appState.view);
        appState.view = nullptr;
    }
    if (gSettingsLoaded) {
        saveBookmarks();
        writeGathered();
    }
    freeBookmarks();
    gSettingsLoaded = false;
    postQuitMessage(0);
}
