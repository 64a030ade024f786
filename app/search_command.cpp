#include "app/search_command.h"
#include "app/command_args.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "content/book_constants.h"
#include "dialogs/hit_context.h"
#include "dialogs/search.h"
#include "dialogs/search_box.h"
#include "platform/memory.h"
#include "platform/utf8.h"
#include "state/state.h"
#include "view/text_view.h"

namespace {
const char kUsage[] = "usage: versewell --search WORD [--from LESSON[:TOPLINE]] [--again N]\n"
                      "                 [--backward | --all] [--exact]\n"
                      "                 [--width W --height H --font FACE --size S --base "
                      "97|224|1488] [--book FILE]\n";

// The words the Search dialog takes from its keyboard and box: Hebrew letters, spaces, '?' and
// '*', with the Hebrew marks the box turns into punctuation (maqaf, sof pasuq, geresh,
// gershayim) and ' and " as the book stores those two; points and cantillation are taken and
// dropped, as the box drops them, and under forgiving matching the presentation forms are
// taken as their letters. 1 to 33 characters once they are dropped.
bool searchable(const std::u16string& word, bool forgiving) {
    size_t kept = 0;
    for (char16_t c : word) {
        char32_t typed[2];
        int n = typedCharacters(c, LetterBaseUnicode, forgiving, typed);
        for (int i = 0; i < n; ++i) {
            char32_t t = typed[i];
            bool punctuation = t == U'-' || t == U':' || t == U'\'' || t == U'"';
            if (!((t >= 0x05D0 && t <= 0x05EA) || t == U' ' || t == U'?' || t == U'*' ||
                  punctuation))
                return false;
        }
        kept += size_t(n);
    }
    return kept > 0 && kept <= size_t(kMaxPatternLength);
}

const char kWordRule[] =
    "the word must be 1 to 33 Hebrew letters, spaces, '?' and '*' (points are dropped)";

// One hit as a line: lesson, top line, highlight start and end, and (with context) the line
// of text around it.
void printHit(const TextView* view, const char16_t* context) {
    std::printf("%u\t%u\t%u\t%u", appState.Lesson, view->topLine, view->highlightStart,
                view->highlightEnd);
    if (context) std::printf("\t%s", unitsToUtf8(context).c_str());
    std::printf("\n");
}

// --all: every hit of the book, each shown as Search Again shows it. 0, 1 when there is none
// ("Not Found!" on standard error), 2 when memory ran out.
int listAllHits() {
    SearchHit* hits = nullptr;
    int count = FindAllHits(&hits);
    if (count < 0) {
        std::fprintf(stderr, "versewell: out of memory\n");
        return 2;
    }
    if (count == 0) {
        std::fprintf(stderr, "Not Found!\n");
        return 1;
    }
    int status = 0;
    char16_t context[4 * kContextBytes + 64];
    for (int i = 0; i < count && status == 0; ++i) {
        if (!ShowSearchHit(nullptr, hits[i]) || !appState.view ||
            hitContext(appState.view->text, hits[i], context, int(std::size(context))) < 0) {
            std::fprintf(stderr, "versewell: lesson %u cannot be shown\n", hits[i].lesson);
            status = 2;
            break;
        }
        printHit(appState.view, context);
    }
    plainFree(hits);
    return status;
}
} // namespace

bool parseSearchCommand(int argc, char** argv, SearchCommand& c, std::string& error) {
    c = SearchCommand{};
    c.view.lesson = 1;
    bool haveWord = false, hadFrom = false;
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
            hadFrom = true;
            ++i;
        } else if (a == "--again") {
            if (!parseNumber(value, 1, 100000, c.again)) {
                error = "--again needs a count from 1 to 100000";
                return false;
            }
            ++i;
        } else if (a == "--exact") {
            c.exact = true;
        } else if (a == "--backward") {
            c.backward = true;
        } else if (a == "--all") {
            c.all = true;
        } else if (!haveWord && a.rfind("--", 0) != 0) {
            if (!utf8ToUnitsStrict(a.c_str(), c.word)) {
                error = kWordRule;
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
    // The word is checked once every option is known: --exact changes what it may hold.
    if (!searchable(c.word, !c.exact)) {
        error = kWordRule;
        return false;
    }
    if (c.all && (c.backward || c.again != 1 || hadFrom)) {
        error = "--all lists the whole book: it takes no --from, --again or --backward";
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
    appState.ExactLetters = c.exact ? 1 : 0;
    char16_t display[kMaxPatternLength + 1];
    if (boxTextToDisplayOrder(c.word.c_str(), display, kMaxPatternLength + 1) < 0) {
        std::fprintf(stderr, "versewell: out of memory\n");
        return 2;
    }
    ConvertPattern(display);
    int status = 0;
    if (c.all) {
        status = listAllHits();
    } else {
        for (int n = 0; n < c.again && status == 0; ++n) {
            if (c.backward ? SearchPrevious(nullptr) : SearchAgain(nullptr)) {
                printHit(appState.view, nullptr);
            } else {
                status = 1; // "Not Found!" has gone to standard error
            }
        }
    }
    // A search stopped by memory running out has released the view already.
    headless.view = appState.view;
    appState.view = nullptr;
    closeHeadlessView(&headless);
    return status;
}
