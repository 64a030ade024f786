#include "app/view_command.h"
#include "app/command_args.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "content/book_constants.h"
#include "content/resource.h"
#include "platform/draw.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "state/state.h"
#include "view/letters.h"
#include "view/text_view.h"
#include "view/title_banner.h"

namespace {
const char kUsage[] =
    "usage: versewell --render LESSON [options] -o FILE.png\n"
    "       versewell --layout LESSON [options]\n"
    "options: --top N  --width W --height H  --font FACE  --size S  --base 97|224|1488\n"
    "         --reverse  --highlight START:END  --banner  --book FILE\n"
    "         --colours light|dark|sepia (--render only)\n";
} // namespace

int parseViewOption(int argc, char** argv, int* i, unsigned allowed, ViewCommand& c,
                    std::string& error) {
    std::string a = argv[*i];
    const char* value = *i + 1 < argc ? argv[*i + 1] : nullptr;
    auto needs = [&](const char* what) {
        error = a + " needs " + what;
        return -1;
    };
    auto is = [&](const char* name, unsigned option) { return a == name && (allowed & option); };
    if (is("--top", ViewOptionTop)) {
        if (!parseNumber(value, 0, 65535, c.top)) return needs("a position from 0 to 65535");
    } else if (is("--width", ViewOptionArea)) {
        if (!parseNumber(value, 1, 10000, c.width)) return needs("a width from 1 to 10000");
    } else if (is("--height", ViewOptionArea)) {
        if (!parseNumber(value, 1, 10000, c.height)) return needs("a height from 1 to 10000");
    } else if (is("--font", ViewOptionFont)) {
        if (!value || !*value || std::strlen(value) > 93 || !utf8ToUnitsStrict(value, c.face))
            return needs("a font family name");
        if (c.face.size() > 31) return needs("a family name of at most 31 characters");
    } else if (is("--size", ViewOptionFont)) {
        if (!parseNumber(value, 1, 500, c.size)) return needs("a size from 1 to 500");
    } else if (is("--base", ViewOptionFont)) {
        if (!parseNumber(value, 0, 2000, c.base) ||
            (c.base != 97 && c.base != 224 && c.base != 1488))
            return needs("97, 224 or 1488");
    } else if (is("--reverse", ViewOptionReverse)) {
        c.reverse = true;
        return 1;
    } else if (is("--banner", ViewOptionBanner)) {
        c.banner = true;
        return 1;
    } else if (is("--highlight", ViewOptionHighlight)) {
        const char* colon = value ? std::strchr(value, ':') : nullptr;
        if (!colon || !parseNumber(std::string(value, colon).c_str(), 0, 65535, c.highlightStart) ||
            !parseNumber(colon + 1, 0, 65535, c.highlightEnd) ||
            c.highlightEnd < c.highlightStart) {
            return needs("START:END, offsets with START <= END");
        }
    } else if (is("--book", ViewOptionBook)) {
        if (!value) return needs("a file");
        c.book = value;
    } else {
        return 0;
    }
    ++*i;
    return 1;
}

bool parseViewCommand(int argc, char** argv, ViewCommand& c, std::string& error) {
    c = ViewCommand{};
    if (argc < 1) {
        error = "no mode";
        return false;
    }
    c.render = std::strcmp(argv[0], "--render") == 0;
    bool haveLesson = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        int taken = parseViewOption(argc, argv, &i, ViewOptionsAll, c, error);
        if (taken < 0) return false;
        if (taken > 0) continue;
        if (a == "-o" && c.render) {
            if (!value) {
                error = "-o needs a file";
                return false;
            }
            c.output = value;
            ++i;
        } else if (a == "--colours" && c.render) {
            std::string v = value ? value : "";
            if (v == "light") {
                c.colours = ColourScheme::Light;
            } else if (v == "dark") {
                c.colours = ColourScheme::Dark;
            } else if (v == "sepia") {
                c.colours = ColourScheme::Sepia;
            } else {
                error = "--colours needs light, dark or sepia";
                return false;
            }
            ++i;
        } else if (!takeLessonArgument(a, haveLesson, c.lesson, error)) {
            return false;
        }
    }
    if (!haveLesson) {
        error = "which lesson?";
        return false;
    }
    if (c.render && c.output.empty()) {
        error = "--render needs -o FILE.png";
        return false;
    }
    return true;
}

int openHeadlessView(const ViewCommand& c, HeadlessView* out) {
    *out = {nullptr, nullptr};
    std::string error;
    if (!c.book.empty() && useBookBundleFile(c.book.c_str(), error) != 0)
        return commandFailure(error);
    startHeadlessGraphics();

    resetAppState();
    FontSpec& chosen = appState.fontSpec;
    if (c.face.empty()) {
        const char16_t preferred[] = u"David CLM";
        if (fontFamilyInstalled(preferred)) {
            std::memcpy(chosen.FontName, preferred, sizeof preferred);
        } else if (!firstHebrewFamily(chosen.FontName)) {
            return commandFailure("no installed font has Hebrew letters");
        }
    } else {
        if (!fontFamilyInstalled(c.face.c_str()))
            return commandFailure("font family not installed");
        std::copy(c.face.begin(), c.face.end(), chosen.FontName);
    }
    chosen.FontSize = c.size;
    chosen.FontAsciiBase = c.base;
    if (c.reverse) appState.Flags |= FlagReverse;
    appState.colourScheme = c.colours;

    uint8_t* text = loadLessonText(c.lesson, error);
    if (!text) return commandFailure(error);
    DcHandle dc = createImageDc(c.width, c.height);
    if (!dc) {
        plainFree(text);
        return commandFailure("cannot make a " + std::to_string(c.width) + " x " +
                              std::to_string(c.height) + " image");
    }
    Rect area{0, 0, c.width, c.height};
    TextView* view = TextView_Create(dc, &area, &chosen, 100);
    int result = view ? TextView_SetText(view, text, 0) : ViewOutOfMemory;
    if (result != 0) {
        plainFree(text);
        TextView_Destroy(view);
        deleteDc(dc);
        return commandFailure(result == ViewMalformed
                                  ? "lesson " + std::to_string(c.lesson) + " is malformed"
                                  : "out of memory");
    }
    *out = {dc, view};
    return 0;
}

void closeHeadlessView(HeadlessView* headless) {
    TextView_Destroy(headless->view);
    deleteDc(headless->dc);
    *headless = {nullptr, nullptr};
}

namespace {
// --layout: each line record, then the totals.
void printLayout(const TextView* view) {
    for (int i = 0; i < view->lineCount; ++i) {
        const LineRecord& l = view->lines[i];
        std::printf("%u\t%u\t%u\t%u\t%u\t%u\t%u\t%02X\n", l.start, l.length, l.x, l.labelWidth,
                    l.width, l.height, l.linkNumber, l.style);
    }
    std::printf("totalLines=%u maxTopLine=%u\n", view->totalLines, view->maxTopLine);
}

// --render: the page from the asked line, with its highlight and banner, saved as a PNG.
// Returns 0, or 2 when the file cannot be written.
int renderPage(const ViewCommand& c, const HeadlessView& headless) {
    TextView* view = headless.view;
    view->topLine = uint16_t(c.top);
    view->highlightStart = uint16_t(c.highlightStart);
    view->highlightEnd = uint16_t(c.highlightEnd);
    TextView_Paint(view, 1);
    if (c.banner) DrawTitleBanner(view);
    if (saveDcImage(headless.dc, c.output.c_str()) != 0)
        return commandFailure("cannot write " + c.output);
    return 0;
}
} // namespace

int runViewCommand(int argc, char** argv) {
    ViewCommand c;
    std::string error;
    if (!parseViewCommand(argc, argv, c, error)) return usageFailure(error, kUsage);
    HeadlessView headless;
    if (openHeadlessView(c, &headless) != 0) return 2;
    int status = 0;
    if (c.render) {
        status = renderPage(c, headless);
    } else {
        printLayout(headless.view);
    }
    closeHeadlessView(&headless);
    return status;
}
