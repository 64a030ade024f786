// Running a program of the project as its users do, for the tests of command lines.
#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/bookc/book_compile.h"

struct Outcome {
    int status; // exit status, -1 when the program did not exit normally
    std::string out, err;
};

// Runs the shell command line `command` and collects its exit status and output.
inline Outcome runCommand(const std::string& command) {
    static int counter = 0;
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("vw-run-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    std::string out = (dir / "out").string(), err = (dir / "err").string();
    int raw = std::system((command + " >" + out + " 2>" + err).c_str());
    Outcome o{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, "", ""};
    ReadFile(out, o.out);
    ReadFile(err, o.err);
    std::filesystem::remove_all(dir);
    return o;
}

// The program named by environment variable `variable` (set by the test runner), with `args`.
inline Outcome runProgram(const char* variable, const std::string& args) {
    const char* program = std::getenv(variable);
    if (!program) return {-1, "", std::string(variable) + " names no program"};
    return runCommand(std::string(program) + " " + args);
}
