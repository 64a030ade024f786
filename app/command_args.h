// What the headless modes share in reading their arguments and reporting their errors.
#pragma once
#include <string>

// A decimal number from low to high, the whole of `text`. false (out untouched) otherwise.
bool ParseNumber(const char* text, long low, long high, int& out);
// Prints "versewell: MESSAGE" on standard error; returns 2, the modes' failure status.
int CommandFailure(const std::string& message);

// A UTF-8 argument as UTF-16. Returns false when it is not well-formed UTF-8.
bool Utf8Argument(const char* text, std::u16string& out);
// UTF-8 to 16-bit units; what is not a well-formed sequence becomes U+FFFD.
std::u16string Utf8ToUnits(const std::string& bytes);
// 16-bit units (up to the first 0) to UTF-8; a lone surrogate becomes U+FFFD.
std::string UnitsToUtf8(const char16_t* units);
