// What the headless modes share in reading their arguments and reporting their errors.
#pragma once
#include <cstdint>
#include <string>

#include "platform/utf8.h"

// A decimal number from low to high, the whole of `text`. false (out untouched) otherwise.
bool parseNumber(const char* text, long low, long high, int& out);
// Prints "versewell: MESSAGE" on standard error; returns 2, the modes' failure status.
int commandFailure(const std::string& message);
// The same for arguments a mode cannot take: the message, then the mode's `usage`; returns 2.
int usageFailure(const std::string& message, const char* usage);
// The expanded text of `lesson` (owned by the caller, plainFree), or null with the reason in
// `error` ("the book has no lesson N (load error E)").
uint8_t* loadLessonText(int lesson, std::string& error);
// The lesson named by a bare argument (1..kLessonCount), once: true with *lesson set and
// haveLesson on; false with the error for a second lesson, an unknown option or a bad number.
bool takeLessonArgument(const std::string& a, bool& haveLesson, int& lesson, std::string& error);
