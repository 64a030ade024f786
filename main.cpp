// versewell: the reader. Parses the command line, sets the book source and runs the mode asked.
#include <QApplication>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/state.h"
#include "app/view_command.h"
#include "app/week_command.h"
#include "content/resource.h"
#include "platform/memory.h"
#include "platform/resources.h"

namespace {
const char kUsage[] =
    "usage: versewell [/today] [--book FILE]\n"
    "       versewell --render LESSON [options] -o FILE.png | --layout LESSON [options]\n"
    "       versewell --week [YYYY-MM-DD] [--days N] [--israel|--abroad]\n"
    "       versewell --help | --version\n"
    "  --book FILE   read the book from a compiled bundle instead of the embedded one\n";
} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--week") == 0) return runWeekCommand(argc - 2, argv + 2);
    if (argc > 1 && (std::strcmp(argv[1], "--render") == 0 || std::strcmp(argv[1], "--layout") == 0)) {
        return RunViewCommand(argc - 1, argv + 1);
    }
    appState = AppState{};
    const char* bookFile = nullptr;
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
        std::fprintf(stderr, "versewell: unknown argument '%s'\n%s", argv[i], kUsage);
        return 2;
    }
    if (bookFile) {
        std::string error;
        if (useBookBundleFile(bookFile, error) != 0) {
            std::fprintf(stderr, "versewell: %s\n", error.c_str());
            return 2;
        }
    }
    // The reading window comes with the application shell; until then the reader checks that
    // its book loads and says what it carries.
    int lessons = 0;
    for (int n = 1; n <= 53; ++n) {
        int error = 0;
        uint8_t* text = LoadBookResource(n, &error);
        if (text) ++lessons;
        plainFree(text);
    }
    int error = 0;
    uint8_t* index = LoadBookResource(kIndexBookNumber, &error);
    std::printf("versewell: the book carries %d of 53 lessons and %s\n", lessons,
                index ? "its section index" : "no section index");
    plainFree(index);
    return index ? 0 : 1;
}
