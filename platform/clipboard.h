// The system clipboard, by role: open it, empty it, register a format by name, get and set
// data in a format, close it. What is set between opening and closing reaches the desktop when
// the clipboard is closed. Formats and their desktop names:
//   13 (Unicode text)    16-bit units ending in a 0 unit; on the desktop text/plain (UTF-8)
//   "Rich Text Format"   bytes ending in a 0; published as text/rtf and text/richtext, read
//                        from either or from application/rtf
//   any other name       bytes ending in a 0; the name is the desktop's type name
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/handles.h"

constexpr unsigned ClipboardUnicodeText = 13;

// The number of the format called `name` (null-terminated UTF-16), registered on first use:
// 0xC000 or above, the same number for the same name. 0 for a null or empty name.
unsigned registerClipboardFormat(const char16_t* name);

// Opens the clipboard for this process; `owner` may be null (the clipboard is not tied to a
// window here). Returns false when it is already open, when the program runs without
// graphics, or when the test hook says so.
bool openClipboard(WindowHandle owner);

// Ends the session: what was emptied and set since opening becomes the desktop's clipboard.
// Returns false when the clipboard was not open.
bool closeClipboard();

// Removes every format (once closed). False when the clipboard is not open.
bool emptyClipboard();

// The data in `format` (0 is Unicode text), valid until the clipboard is closed and owned by
// it; *bytes (when not null) is its size without the ending 0. Unicode text is given as
// 16-bit units with an ending 0 unit, every other format as bytes with an ending 0 byte. Null
// when the clipboard is not open or holds nothing in that format.
const void* getClipboardData(unsigned format, size_t* bytes);

// Hands `block` (from plainAlloc, `bytes` long) to the clipboard as its data in `format`; the
// clipboard owns and releases the block in every case. The data is the block up to its first 0
// unit (Unicode text) or 0 byte (other formats), or the whole block when it holds none. Returns
// false when the clipboard is not open or the format is unknown.
bool setClipboardData(unsigned format, void* block, size_t bytes);

// The formats the clipboard holds now, Rich Text once however many of its names it has.
std::vector<unsigned> clipboardFormats();

// Test hooks. failClipboardOpen(true) makes every openClipboard fail until turned off.
// clipboardTypes lists the desktop type names the clipboard holds, clipboardTypeData gives the
// bytes of one of them (empty when absent), and putClipboardTypes replaces the clipboard with
// exactly the given (type name, bytes) pairs, as another program would.
void failClipboardOpen(bool on);
std::vector<std::string> clipboardTypes();
std::string clipboardTypeData(const std::string& type);
void putClipboardTypes(const std::vector<std::pair<std::string, std::string>>& types);
