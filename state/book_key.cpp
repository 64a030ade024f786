#include "state/book_key.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/memory.h"
#include "platform/registry.h"
#include "state/registry_values.h"
#include "state/state.h"

namespace {
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

// A value written while the save at exit gathers (appState.gatheredWrite) waits for its one
// write.
int writeValue(const char16_t* name, uint32_t type, const uint8_t* data, uint32_t size) {
    if (appState.gatheredWrite.gathering) {
        appState.gatheredWrite.values.push_back(
            {name, type, std::vector<uint8_t>(data, data + size)});
        return 1;
    }
    RegistryKey key = createRegistryKey(kCurrentUser, kBookKey);
    if (!key) return 0;
    int result = setRegistryValue(key, name, type, data, size) == RegistryOk ? 1 : 0;
    closeRegistryKey(key);
    return result;
}

// Whether the value is stored, with its size in bytes in *size.
bool storedSize(const char16_t* name, uint32_t* size) {
    RegistryKey key = openRegistryKey(kCurrentUser, kBookKey);
    bool present = key && queryRegistryValue(key, name, nullptr, nullptr, size) == RegistryOk;
    closeRegistryKey(key);
    return present;
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
    uint32_t length = 0, size = 0;
    // Twice the reported size, as the string reader always has: room for a terminator.
    if (!storedSize(name, &size)) return nullptr;
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

void beginGatheredWrite() {
    appState.gatheredWrite.gathering = true;
    appState.gatheredWrite.values.clear();
}

int removeBookValue(const char16_t* name) {
    return writeValue(name, RegistryRemove, nullptr, 0);
}

// Writes the gathered values in one go. Returns 1 when stored; 0 after saying on standard
// error that the settings could not be saved (the file keeps its old values).
int endGatheredWrite() {
    appState.gatheredWrite.gathering = false;
    std::vector<RegistryValue> values;
    for (const PendingValue& v : appState.gatheredWrite.values)
        values.push_back({v.name.c_str(), v.type, v.bytes.data(), uint32_t(v.bytes.size())});
    const char* error = "the settings folder cannot be made";
    RegistryKey key = createRegistryKey(kCurrentUser, kBookKey);
    int result = key && setRegistryValues(key, values.data(), values.size(), &error) == RegistryOk;
    closeRegistryKey(key);
    appState.gatheredWrite.values.clear();
    if (!result)
        std::fprintf(stderr,
                     "versewell: the settings were not saved (%s); the last saved ones "
                     "stay\n",
                     error);
    return result;
}

int32_t readBookNumberIn(const char16_t* name, int32_t low, int32_t high, int32_t fallback,
                         bool* bad) {
    int32_t value = readBookNumber(name, fallback);
    bool outside = value < low || value > high;
    if (bad) {
        // Text that is no number gives whatever default is asked for.
        bool number = readBookNumber(name, 0) == readBookNumber(name, 1);
        uint32_t size = 0;
        *bad = storedSize(name, &size) && (outside || !number);
    }
    return outside ? fallback : value;
}
