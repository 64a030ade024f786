// versewell: the reader. Parses the command line, sets the book source and runs the mode asked.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_main.h"
#include "app/export_command.h"
#include "app/search_command.h"
#include "app/state.h"
#include "app/view_command.h"
#include "app/week_command.h"
#include "content/resource.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "platform/window.h"

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
} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--week") == 0) return runWeekCommand(argc - 2, argv + 2);
    if (argc > 1 &&
        (std::strcmp(argv[1], "--render") == 0 || std::strcmp(argv[1], "--layout") == 0)) {
        return RunViewCommand(argc - 1, argv + 1);
    }
    if (argc > 1 && std::strcmp(argv[1], "--search") == 0)
        return RunSearchCommand(argc - 1, argv + 1);
    if (argc > 1 && std::strcmp(argv[1], "--export") == 0)
        return RunExportCommand(argc - 1, argv + 1);
    const char* bookFile = nullptr;
    std::u16string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("versewell %s\n", VW_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--book") == 0 && i + 1 < argc) {
            bookFile = argv[++i];
            continue;
        }
        if (std::strncmp(argv[i], "--", 2) == 0) {
            std::fprintf(stderr, "versewell: unknown argument '%s'\n%s", argv[i], kUsage);
            return 2;
        }
        // Everything else is the command line the reader looks at ("/today").
        if (!commandLine.empty()) commandLine += u' ';
        for (const char* p = argv[i]; *p; ++p)
            commandLine += char16_t(static_cast<unsigned char>(*p));
    }
    if (bookFile) {
        std::string error;
        if (useBookBundleFile(bookFile, error) != 0) {
            std::fprintf(stderr, "versewell: %s\n", error.c_str());
            return 2;
        }
    }
    if (!startGraphics(&argc, argv)) {
        std::fprintf(stderr, "versewell: no display to open the reading window on; "
                             "--render writes a page to a PNG instead\n");
        return 2;
    }
    int code = appMain(commandLine.c_str(), ShowNormal);
    stopGraphics();
    return code;
}
