// The --search mode: the search of the reader run headless, one line per hit.
#pragma once
#include <string>

#include "app/view_command.h"

struct SearchCommand {
    std::u16string word;   // as the search box holds it: reading order
    int again = 1;         // searches made: the first and the F3 presses after it
    bool backward = false; // each search finds the hit before (Shift+F3)
    bool all = false;      // every hit of the book, with its context
    bool exact = false;    // the letters matched exactly (no forgiving matching)
    ViewCommand view;      // lesson (default 1), top (the --from position), area, font, book
};

// Parses the arguments after the program name (argv[0] is "--search"):
// WORD [--from LESSON[:TOPLINE]] [--again N] [--backward | --all] [--exact] [--width W --height H
// --font FACE --size S
// --base B] [--book FILE]. WORD is UTF-8 made of Hebrew letters, spaces, '?' and '*', at most
// 33 characters (presentation forms too, unless --exact). --all takes none of --from, --again
// and --backward. Returns true, or false with `error` set.
bool parseSearchCommand(int argc, char** argv, SearchCommand& command, std::string& error);

// Runs the mode: for each hit "lesson\ttopLine\thighlightStart\thighlightEnd" on standard
// output (with --all every hit of the book in its order, a tab and the hit's context after
// each, the hit between » and «). 0 when every search found a hit; 1 when one found nothing ("Not
// Found!" on standard error, the hits before it printed); 2 on bad arguments (with the usage) or
// another error.
int runSearchCommand(int argc, char** argv);
