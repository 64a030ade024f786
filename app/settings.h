// Settings kept between runs, under the book key; the registry routines of the book key.
#pragma once
#include <cstdint>

// HKEY_CURRENT_USER "Software\Quillmere\Versewell".
inline constexpr char16_t kBookKey[] = u"Software\\Quillmere\\Versewell";

// The book key's routines. Readers give the default (or null) on any failure; buffers they
// return come from checkedAlloc and are the caller's to release with plainFree. Writers return
// 1 when the value was stored, 0 otherwise.
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

// Fills the reader's state from the book key at start (and writes "Program Path").
void loadSettings();

// Stores the reader's state for the next run, releases the owned buffers and posts the quit
// request (code 0). A stop before loadSettings has finished writes nothing, so that no stored
// value is replaced by one that was never read.
void saveSettingsAndQuit();
