// The book key: the reader's own values under HKEY_CURRENT_USER "Software\Quillmere\Versewell".
#pragma once
#include <cstdint>

inline constexpr char16_t kBookKey[] = u"Software\\Quillmere\\Versewell";

// The book key's routines. Readers give the default (or null) on any failure; buffers they
// return come from checkedAlloc and are the caller's to release with plainFree. Writers return
// 1 when the value was stored (or gathered), 0 otherwise.
int32_t readBookNumber(const char16_t* name, int32_t defaultValue);
int writeBookNumber(const char16_t* name, int32_t value);
char16_t* readBookString(const char16_t* name);
int writeBookString(const char16_t* name, const char16_t* text);
uint8_t* readBookBytes(const char16_t* name, uint32_t* length);
// The value's bytes and their count in *length, or `defaultBuffer` (length untouched).
uint8_t* readBookBlob(const char16_t* name, uint8_t* defaultBuffer, uint32_t* length);
int writeBookBytes(const char16_t* name, const char* text);
int writeBookBlob(const char16_t* name, const uint8_t* bytes, uint32_t length);
// Copies a non-empty value into `buffer` (at most n - 1 bytes and a 0); otherwise leaves it.
void readBookText8(const char16_t* name, char* buffer, int n);
// A stored number that must lie in low..high: anything else reads as `fallback`. *bad (when
// given) tells whether a value is stored that is no such number.
int32_t readBookNumberIn(const char16_t* name, int32_t low, int32_t high, int32_t fallback,
                         bool* bad = nullptr);

// A save in one piece: between begin and end, writes (and removals) are gathered, and end hands
// them to the registry in one write, so that a stop half-way leaves the old file or the new one,
// never a mix. endGatheredWrite returns 1 when stored; 0 after saying on standard error that the
// settings could not be saved (the file keeps its old values).
void beginGatheredWrite();
int removeBookValue(const char16_t* name);
int endGatheredWrite();
