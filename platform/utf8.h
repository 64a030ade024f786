// UTF-8 to and from code points and 16-bit units: the book's sources, the command line, files
// the reader appends to.
#pragma once
#include <cstddef>
#include <string>

// Decodes UTF-8 strictly (no overlong forms, surrogates or values past U+10FFFF). Returns false
// with the byte offset of the first malformed sequence in *badOffset (when given).
bool decodeUtf8(const std::string& bytes, std::u32string& out, size_t* badOffset);
// Code points (each at most U+10FFFF, no surrogate) to UTF-8.
std::string encodeUtf8(const std::u32string& text);
// Strictly decoded UTF-8 as 16-bit units. Returns false when it is not well-formed.
bool utf8ToUnitsStrict(const std::string& bytes, std::u16string& out);
// UTF-8 to 16-bit units leniently: each malformed sequence becomes one U+FFFD.
std::u16string utf8ToUnits(const std::string& bytes);
// The same text left in UTF-8: `bytes` with each malformed sequence replaced by U+FFFD (what
// utf8ToUnits and unitsToUtf8 give, without the 16-bit copy).
std::string repairUtf8(const std::string& bytes);
// 16-bit units (up to the first 0) to UTF-8; a lone surrogate becomes U+FFFD.
std::string unitsToUtf8(const char16_t* units);
