#include "app/command_args.h"

#include <cstdio>
#include <cstdlib>

bool ParseNumber(const char* text, long low, long high, int& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (*end != 0 || v < low || v > high) return false;
    out = int(v);
    return true;
}

int CommandFailure(const std::string& message) {
    std::fprintf(stderr, "versewell: %s\n", message.c_str());
    return 2;
}
