// versewell: the reader. Parses the command line, sets the book source and runs the mode asked.
#include <cstdio>
#include <cstring>
#include <exception>
#include <iterator>
#include <string>
#include <vector>

#include "app/app_main.h"
#include "app/command_args.h"
#include "app/export_command.h"
#include "app/search_command.h"
#include "app/shell_requests.h"
#include "app/view_command.h"
#include "app/week_command.h"
#include "content/resource.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "state/state.h"

namespace {
const char kUsage[] =
    "usage: versewell [/today] [--book FILE]\n"
    "       versewell --render LESSON [options] -o FILE.png | --layout LESSON [options]\n"
    "       versewell --search WORD [--from LESSON[:TOPLINE]] [--again N] [options]\n"
    "       versewell --week [YYYY-MM-DD] [--days N] [--israel|--abroad]\n"
    "       versewell --export LESSON (--rtf|--text) [--base B] [--reverse] [--append-to FILE]\n"
    "                 [--book FILE] -o FILE\n"
    "       versewell --help | --version\n"
    "  --book FILE   read the book from a compiled bundle instead of the embedded one\n";

const char* const kModes[] = {"--week", "--render", "--layout", "--search", "--export"};
// Options of the headless modes that take the next argument as their value.
const char* const kValueOptions[] = {"--book",  "--top",  "--width",    "--height",    "--font",
                                     "--size",  "--base", "-o",         "--highlight", "--from",
                                     "--again", "--days", "--append-to"};

bool oneOf(const char* arg, const char* const* list, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (std::strcmp(arg, list[i]) == 0) return true;
    }
    return false;
}

// The index of the headless mode named on the command line (options may come before it), or
// 0 when there is none.
int modeIndex(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (oneOf(argv[i], kModes, std::size(kModes))) return i;
        if (oneOf(argv[i], kValueOptions, std::size(kValueOptions))) ++i;
    }
    return 0;
}

int usageError(const std::string& message) {
    return usageFailure(message, kUsage);
}

int runMode(int argc, char** argv, int at) {
    // The mode first, the other arguments in their order: each mode reads its own options.
    std::vector<char*> args{argv[at]};
    for (int i = 1; i < argc; ++i) {
        if (i != at) args.push_back(argv[i]);
    }
    args.push_back(nullptr);
    int n = int(args.size()) - 1;
    if (std::strcmp(argv[at], "--week") == 0) return runWeekCommand(n - 1, args.data() + 1);
    if (std::strcmp(argv[at], "--search") == 0) return runSearchCommand(n, args.data());
    if (std::strcmp(argv[at], "--export") == 0) return runExportCommand(n, args.data());
    return runViewCommand(n, args.data());
}

// A headless mode, with a last guard: a failure of the standard library (memory, a stream) is
// said and ends the mode with status 2 rather than an abort.
int runModeGuarded(int argc, char** argv, int at) {
    try {
        return runMode(argc, argv, at);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "versewell: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "versewell: an unexpected failure\n");
    }
    return 2;
}
} // namespace

int main(int argc, char** argv) {
    installShellRequests();
    if (int at = modeIndex(argc, argv)) return runModeGuarded(argc, argv, at);
    const char* bookFile = nullptr;
    bool today = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("versewell %s\n", VW_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--book") == 0) {
            if (i + 1 >= argc) return usageError("--book needs a file");
            if (bookFile) return usageError("--book given twice");
            bookFile = argv[++i];
            continue;
        }
        // "/today" in any letter case, once; nothing else is the reader's.
        std::u16string units;
        for (const char* p = argv[i]; *p; ++p)
            units += char16_t(static_cast<unsigned char>(*p));
        if (!today && isTodayCommandLine(units.c_str())) {
            today = true;
            continue;
        }
        return usageError(std::string("unknown argument '") + argv[i] + "'");
    }
    if (bookFile) {
        std::string error;
        if (useBookBundleFile(bookFile, error) != 0) {
            std::fprintf(stderr, "versewell: %s\n", error.c_str());
            return 2;
        }
    }
    int code = appMain(today ? u"/today" : u"", &argc, argv);
    stopGraphics();
    return code;
}
