// The headless view modes: --render (a page of a lesson to a PNG) and --layout (a lesson's
// line table as text).
#pragma once
#include <string>

struct ViewCommand {
    bool render = false; // --render; else --layout
    int lesson = 0;
    int top = 0;
    int width = 480, height = 640;
    std::u16string face; // empty: the default face
    int size = 18;
    int base = 1488;
    bool reverse = false;
    int highlightStart = 0, highlightEnd = 0;
    bool banner = false;
    std::string book;   // --book FILE
    std::string output; // -o FILE.png
};

// Parses the arguments after the program name (argv[0] is "--render" or "--layout"). Returns
// true, or false with `error` set.
bool ParseViewCommand(int argc, char** argv, ViewCommand& command, std::string& error);

// Runs the mode: 0 done; 2 on any error, with a message on standard error.
int RunViewCommand(int argc, char** argv);
