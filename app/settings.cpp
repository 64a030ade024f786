#include "app/settings.h"

#include <cstring>
#include <string>

#include "app/registry_values.h"
#include "app/state.h"
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

int writeValue(const char16_t* name, uint32_t type, const uint8_t* data, uint32_t size) {
    RegistryKey key = createRegistryKey(kCurrentUser, kBookKey);
    if (!key) return 0;
    int result = setRegistryValue(key, name, type, data, size) == RegistryOk ? 1 : 0;
    closeRegistryKey(key);
    return result;
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
    appState.fontSpec.FontSize = readBookNumber(u"FontSize", 0);
    appState.fontSpec.FontAsciiBase = readBookNumber(u"FontAsciiBase", kDefaultLetterBase);
    appState.LastPosition = uint16_t(readBookNumber(u"LastPosition", 0));
    appState.Flags = uint32_t(readBookNumber(u"Flags", int32_t(DefaultFlags)));
    appState.PreviousLesson = uint16_t(readBookNumber(u"PreviousLesson", 0));
    appState.PreviousPosition = uint16_t(readBookNumber(u"PreviousPosition", 0));
    appState.Lesson = uint16_t(readBookNumber(u"Lesson", 0));
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
        if (appState.searchPattern[0]) writeBookBytes(u"SearchString", appState.searchPattern);
        if (appState.fontSpec.FontName[0]) writeBookString(u"FontName", appState.fontSpec.FontName);
        if (appState.fontSpec.FontSize) writeBookNumber(u"FontSize", appState.fontSpec.FontSize);
        if (appState.fontSpec.FontAsciiBase)
            writeBookNumber(u"FontAsciiBase", appState.fontSpec.FontAsciiBase);
        if (appState.view) writeBookNumber(u"LastPosition", appState.view->topLine);
        writeBookNumber(u"Flags", int32_t(appState.Flags));
        writeBookNumber(u"PreviousLesson", appState.PreviousLesson);
        writeBookNumber(u"PreviousPosition", appState.PreviousPosition);
        if (appState.Lesson) writeBookNumber(u"Lesson", appState.Lesson);
    }
    if (appState.view) {
        TextView_Destroy(appState.view);
        appState.view = nullptr;
    }
    if (gSettingsLoaded) saveBookmarks();
    freeBookmarks();
    gSettingsLoaded = false;
    postQuitMessage(0);
}
