// Hebrew text between its written form (Unicode, reading order) and its stored form (letter
// code, display order).
#pragma once
#include <cstdint>
#include <string>

#include "platform/utf8.h"

// A text problem: the 0-based index of the offending character in the input, and why.
struct TextError {
    size_t index;
    std::string message;
};

// A Hebrew record's text in reading order to letter code in display order: points dropped
// (maqaf to '-', sof pasuq to ':'), geresh and gershayim to ' and ", '{' to 0x7E, then FriBidi's
// display order of a right-to-left paragraph on one line (brackets mirrored), then letters to
// 0x61..0x7B. Returns false with the first character that cannot be stored.
bool HebrewToStored(const std::u32string& text, std::string& stored, TextError& error);

// A Latin record's text: printable ASCII only.
bool LatinToStored(const std::u32string& text, std::string& stored, TextError& error);

// Stored Hebrew bytes (display order, letter code) back to Unicode in reading order. `exact`
// says whether putting the result through HebrewToStored gives the same bytes again.
std::u32string StoredToHebrew(const std::string& stored, bool* exact);
