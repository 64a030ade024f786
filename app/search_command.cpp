#include "app/search_command.h"
#include "app/command_args.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "content/book_constants.h"
#include "dialogs/search.h"
#include "dialogs/search_box.h"
#include "state/state.h"

namespace {
const char kUsage[] = "usage: versewell --search WORD [--from LESSON[:TOPLINE]] [--again N]\n"
                      "                 [--width W --height H --font FACE --size S --base "
                      "97|224|1488] [--book FILE]\n";

// The words the Search dialog takes from its keyboard and box: Hebrew letters, spaces, '?' and
// '*', with the Hebrew marks the box turns into punctuation (maqaf, sof pasuq, geresh,
// gershayim); points and cantillation are taken and dropped, as the box drops them. 1 to 33
// characters once they are dropped.
bool searchable(const std::u16string& word) {
    size_t kept = 0;
    for (char16_t c : word) {
        bool mark = c == 0x05BE || c == 0x05C3 || c == 0x05F3 || c == 0x05F4;
        bool dropped = !mark && c >= 0x0591 && c <= 0x05C7;
        if (!((c >= 0x05D0 && c <= 0x05EA) || c == u' ' || c == u'?' || c == u'*' || mark ||
              dropped))
            return false;
        kept += dropped ? 0 : 1;
    }
    return kept > 0 && kept <= size_t(kMaxPatternLength);
}
} // namespace

bool parseSearchCommand(int argc, char** argv, SearchCommand& c, std::string& error) {
    c = SearchCommand{};
    c.view.lesson = 1;
    bool haveWord = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        int taken = parseViewOption(
            argc, argv, &i, ViewOptionArea | ViewOptionFont | ViewOptionBook, c.view, error);
        if (taken < 0) return false;
        if (taken > 0) continue;
        if (a == "--from") {
            const char* colon = value ? std::strchr(value, ':') : nullptr;
            std::string lesson =
                value ? std::string(value, colon ? colon : value + strlen(value)) : std::string();
            if (!parseNumber(lesson.c_str(), 1, kLessonCount, c.view.lesson) ||
                (colon && !parseNumber(colon + 1, 0, 65535, c.view.top))) {
                error = "--from needs a lesson from 1 to " + std::to_string(kLessonCount) +
                        ", or LESSON:TOPLINE";
                return false;
            }
            ++i;
        } else if (a == "--again") {
            if (!parseNumber(value, 1, 100000, c.again)) {
                error = "--again needs a count from 1 to 100000";
                return false;
            }
            ++i;
        } else if (!haveWord && a.rfind("--", 0) != 0) {
            if (!utf8ToUnitsStrict(a.c_str(), c.word) || !searchable(c.word)) {
                error = "the word must be 1 to 33 Hebrew letters, spaces, '?' and '*' (points "
                        "are dropped)";
                return false;
            }
            haveWord = true;
        } else {
            error = "unknown argument '" + a + "'";
            return false;
        }
    }
    if (!haveWord) {
        error = "what to search for?";
        return false;
    }
    return true;
}

int runSearchCommand(int argc, char** argv) {
    SearchCommand c;
    std::string error;
    if (!parseSearchCommand(argc, argv, c, error)) return usageFailure(error, kUsage);
    HeadlessView headless;
    if (openHeadlessView(c.view, &headless) != 0) return 2;
    TextView* view = headless.view;
    view->topLine = uint16_t(c.view.top);
    appState.view = view;
    appState.Lesson = uint16_t(c.view.lesson);
    char16_t display[kMaxPatternLength + 1];
    if (boxTextToDisplayOrder(c.word.c_str(), display, kMaxPatternLength + 1) < 0) {
        std::fprintf(stderr, "versewell: out of memory\n");
        return 2;
    }
    ConvertPattern(display);
    int status = 0;
    for (int n = 0; n < c.again && status == 0; ++n) {
        if (SearchAgain(nullptr)) {
            view = appState.view;
            std::printf("%u\t%u\t%u\t%u\n", appState.Lesson, view->topLine, view->highlightStart,
                        view->highlightEnd);
        } else {
            status = 1; // "Not Found!" has gone to standard error
        }
    }
    // A search stopped by memory running out has released the view already.
    headless.view = appState.view;
    appState.view = nullptr;
    closeHeadlessView(&headless);
    return status;
}
