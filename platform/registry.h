// The registry: keys of named, typed values under HKEY_CURRENT_USER, kept between runs.
//
// Each key is one INI settings file under the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config). The key path's parts, separated by backslashes, become
// folders and the file name, in lower case (the registry ignores letter case, the file system
// does not), and a leading "software" part is dropped: "Software\Quillmere\Versewell" is
// quillmere/versewell.ini, "software\Quillmere" is quillmere.ini. A key's values are the
// file's top-level entries (before any section, or under [General]); value names are matched
// ignoring letter case. The stored text gives each value its type:
//
//   Lesson=dword:0000000c        32-bit number (1 to 8 hex digits)
//   Bookmarks=@ByteArray(...)    binary, in the settings file's byte-array form
//   FontName=David CLM           string: any other text ("Israel=1" is the string "1")
//
// A key's values are kept once read; its file is read again when its size or modification time
// changes.
#pragma once
#include <cstddef>
#include <cstdint>

// The one root the program uses.
constexpr uint32_t kCurrentUser = 0x80000001;

// Value types, numbered as the registry numbers them.
enum : uint32_t {
    RegistryString = 1, // UTF-16 text with its terminating 0
    RegistryBinary = 3, // raw bytes
    RegistryNumber = 4, // 32 bits, in the machine's byte order
};

// Results of the registry operations.
enum : int {
    RegistryOk = 0,
    RegistryMissing = 2,  // no such key or value
    RegistryMoreData = 3, // the value does not fit the caller's buffer; *size says what does
};

using RegistryKey = struct PlatformRegistryKey*;

// Opens the key at `path` (UTF-16, zero-terminated, parts separated by '\') under `root` for
// reading. Returns the key, released with closeRegistryKey, or null when the root is not
// kCurrentUser, the path is empty or has an empty or "." / ".." part, or the key's file does
// not exist or cannot be read.
RegistryKey openRegistryKey(uint32_t root, const char16_t* path);

// Reads value `name` of `key`. *type (when type is not null) receives its type. With `data`
// null only *size is set, to the value's byte size. Otherwise *size holds the capacity of
// `data` in bytes: the value is copied and *size set to its byte size, or, when it does not
// fit, RegistryMoreData is returned with *size set to the size needed and nothing copied.
// Returns RegistryOk, or RegistryMissing for a null key or an absent value.
int queryRegistryValue(RegistryKey key, const char16_t* name, uint32_t* type, uint8_t* data,
                       uint32_t* size);

// Opens the key at `path` for writing, creating its file (and folders) when missing. Same
// path rules as openRegistryKey. Returns the key, or null when it cannot be had.
RegistryKey createRegistryKey(uint32_t root, const char16_t* path);

// Sets value `name` of a key from createRegistryKey to `size` bytes of `data` with `type`
// (a string: UTF-16 units with their terminating 0; a number: 4 bytes). The file is written
// at once, atomically: a crash leaves the old file or the new one. Returns RegistryOk, or
// RegistryMissing when the key is not open for writing, the data do not fit the type, a
// string would read back as a number (text of the form "dword:" and hex digits), the file is
// left alone (registryKeyProblem) or cannot be written. A file that is a link to a regular file
// stays a link: the file it leads to is replaced, in its own folder.
int setRegistryValue(RegistryKey key, const char16_t* name, uint32_t type, const uint8_t* data,
                     uint32_t size);

// One value of a batch for setRegistryValues. Type RegistryRemove takes the value out.
struct RegistryValue {
    const char16_t* name;
    uint32_t type;
    const uint8_t* data;
    uint32_t size; // bytes at data
};
constexpr uint32_t RegistryRemove = 0;

// Sets (or removes) `count` values of a key from createRegistryKey in one atomic write of its
// file: a crash at any moment leaves the old file or the new one with every value of the
// batch. Same checks and result as setRegistryValue; when any value is refused nothing is
// written. A batch whose values the file holds already does not touch the file (it is not
// written, nor synced to disk). `error`, when not null, receives a short reason on failure
// (static text).
int setRegistryValues(RegistryKey key, const RegistryValue* values, size_t count,
                      const char** error = nullptr);

// Why the key's file is left alone, or null when it is absent, a regular file or a link to one:
// anything else (a pipe, a device, a folder, a link to one or to nothing) is neither read nor
// written, so that it cannot block the program or be replaced (static text).
const char* registryKeyProblem(uint32_t root, const char16_t* path);

// Releases a key from openRegistryKey or createRegistryKey; null is ignored.
void closeRegistryKey(RegistryKey key);
