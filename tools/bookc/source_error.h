// Where a book source went wrong: file, line and column (1-based, in characters).
#pragma once
#include <string>

struct SourceError {
    std::string file;
    int line = 0;
    int column = 0;
    std::string message;

    std::string describe() const {
        return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
    }
};
