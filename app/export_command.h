// The headless export mode: --export writes the document that Copy or Append would put on the
// clipboard for a lesson, as a file.
#pragma once
#include <string>

struct ExportCommand {
    int lesson = 0;
    bool rtf = false; // --rtf; else --text
    int base = 1488;
    bool reverse = false;
    std::string appendTo; // --append-to FILE: the clipboard's content before Append
    std::string book;     // --book FILE
    std::string output;   // -o FILE
};

// Parses the arguments after the program name (argv[0] is "--export"). Returns true, or false
// with `error` set.
bool parseExportCommand(int argc, char** argv, ExportCommand& command, std::string& error);

// Runs the mode: 0 done; 2 on any error, with a message on standard error.
int runExportCommand(int argc, char** argv);
