#include "app/command_args.h"

#include <cstdio>
#include <cstdlib>

#include "content/book_constants.h"
#include "content/resource.h"

bool parseNumber(const char* text, long low, long high, int& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (*end != 0 || v < low || v > high) return false;
    out = int(v);
    return true;
}

int commandFailure(const std::string& message) {
    std::fprintf(stderr, "versewell: %s\n", message.c_str());
    return 2;
}

int usageFailure(const std::string& message, const char* usage) {
    std::fprintf(stderr, "versewell: %s\n%s", message.c_str(), usage);
    return 2;
}

uint8_t* loadLessonText(int lesson, std::string& error) {
    int loadError = 0;
    uint8_t* text = LoadBookResource(lesson, &loadError);
    if (!text)
        error = "the book has no lesson " + std::to_string(lesson) + " (load error " +
                std::to_string(loadError) + ")";
    return text;
}

bool takeLessonArgument(const std::string& a, bool& haveLesson, int& lesson, std::string& error) {
    if (haveLesson || a.empty() || a[0] == '-') {
        error = "unknown argument '" + a + "'";
        return false;
    }
    if (!parseNumber(a.c_str(), 1, kLessonCount, lesson)) {
        error = "lesson must be a number from 1 to " + std::to_string(kLessonCount) + ", not '" +
                a + "'";
        return false;
    }
    haveLesson = true;
    return true;
}
