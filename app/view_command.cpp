#include "app/view_command.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/state.h"
#include "content/resource.h"
#include "platform/draw.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "view/letters.h"
#include "view/text_view.h"
#include "view/title_banner.h"

namespace {
const char kUsage[] =
    "usage: versewell --render LESSON [options] -o FILE.png\n"
    "       versewell --layout LESSON [options]\n"
    "options: --top N  --width W --height H  --font FACE  --size S  --base 97|224|1488\n"
    "         --reverse  --highlight START:END  --banner  --book FILE\n";

bool number(const char* text, long low, long high, int& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (*end != 0 || v < low || v > high) return false;
    out = int(v);
    return true;
}

std::u16string utf16(const char* text) {
    std::u16string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
        char32_t c = *p++;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        c &= extra == 3 ? 0x07 : extra == 2 ? 0x0F : extra == 1 ? 0x1F : 0x7F;
        for (; extra > 0 && (*p & 0xC0) == 0x80; --extra)
            c = c << 6 | (*p++ & 0x3F);
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "versewell: %s\n", message.c_str());
    return 2;
}
} // namespace

bool ParseViewCommand(int argc, char** argv, ViewCommand& c, std::string& error) {
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
        auto needs = [&](const char* what) {
            error = a + " needs " + what;
            return false;
        };
        if (a == "--top") {
            if (!number(value, 0, 65535, c.top)) return needs("a position from 0 to 65535");
            ++i;
        } else if (a == "--width") {
            if (!number(value, 1, 10000, c.width)) return needs("a width from 1 to 10000");
            ++i;
        } else if (a == "--height") {
            if (!number(value, 1, 10000, c.height)) return needs("a height from 1 to 10000");
            ++i;
        } else if (a == "--font") {
            if (!value || !*value || std::strlen(value) > 93) return needs("a font family name");
            c.face = utf16(value);
            if (c.face.size() > 31) return needs("a family name of at most 31 characters");
            ++i;
        } else if (a == "--size") {
            if (!number(value, 1, 500, c.size)) return needs("a size from 1 to 500");
            ++i;
        } else if (a == "--base") {
            if (!number(value, 0, 2000, c.base) ||
                (c.base != 97 && c.base != 224 && c.base != 1488)) {
                return needs("97, 224 or 1488");
            }
            ++i;
        } else if (a == "--reverse") {
            c.reverse = true;
        } else if (a == "--banner") {
            c.banner = true;
        } else if (a == "--highlight") {
            const char* colon = value ? std::strchr(value, ':') : nullptr;
            if (!colon || !number(std::string(value, colon).c_str(), 0, 65535, c.highlightStart) ||
                !number(colon + 1, 0, 65535, c.highlightEnd) || c.highlightEnd < c.highlightStart) {
                return needs("START:END, offsets with START <= END");
            }
            ++i;
        } else if (a == "--book") {
            if (!value) return needs("a file");
            c.book = value;
            ++i;
        } else if (a == "-o" && c.render) {
            if (!value) return needs("a file");
            c.output = value;
            ++i;
        } else if (!haveLesson && !a.empty() && a[0] != '-') {
            if (!number(a.c_str(), 1, 65535, c.lesson)) {
                error = "lesson must be a number from 1 to 65535, not '" + a + "'";
                return false;
            }
            haveLesson = true;
        } else {
            error = "unknown argument '" + a + "'";
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

int RunViewCommand(int argc, char** argv) {
    ViewCommand c;
    std::string error;
    if (!ParseViewCommand(argc, argv, c, error)) {
        std::fprintf(stderr, "versewell: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (!c.book.empty() && useBookBundleFile(c.book.c_str(), error) != 0) return fail(error);
    startHeadlessGraphics();

    appState = AppState{};
    FontSpec& chosen = appState.fontSpec;
    if (c.face.empty()) {
        const char16_t preferred[] = u"David CLM";
        if (fontFamilyInstalled(preferred)) {
            std::memcpy(chosen.FontName, preferred, sizeof preferred);
        } else if (!firstHebrewFamily(chosen.FontName)) {
            return fail("no installed font has Hebrew letters");
        }
    } else {
        if (!fontFamilyInstalled(c.face.c_str())) return fail("font family not installed");
        std::copy(c.face.begin(), c.face.end(), chosen.FontName);
    }
    chosen.FontSize = c.size;
    chosen.FontAsciiBase = c.base;
    if (c.reverse) appState.Flags |= FlagReverse;

    int loadError = 0;
    uint8_t* text = LoadBookResource(c.lesson, &loadError);
    if (!text)
        return fail("the book has no lesson " + std::to_string(c.lesson) + " (load error " +
                    std::to_string(loadError) + ")");
    DcHandle dc = createImageDc(c.width, c.height);
    if (!dc) {
        plainFree(text);
        return fail("cannot make a " + std::to_string(c.width) + " x " + std::to_string(c.height) +
                    " image");
    }
    Rect area{0, 0, c.width, c.height};
    TextView* view = TextView_Create(dc, &area, &chosen, 100);
    int result = view ? TextView_SetText(view, text, 0) : -2;
    if (result != 0) {
        plainFree(text);
        TextView_Destroy(view);
        deleteDc(dc);
        return fail(result == -4 ? "lesson " + std::to_string(c.lesson) + " is malformed"
                                 : "out of memory");
    }
    int status = 0;
    if (!c.render) {
        for (int i = 0; i < view->lineCount; ++i) {
            const LineRecord& l = view->lines[i];
            std::printf("%u\t%u\t%u\t%u\t%u\t%u\t%u\t%02X\n", l.start, l.length, l.x, l.labelWidth,
                        l.width, l.height, l.linkNumber, l.style);
        }
        std::printf("totalLines=%u maxTopLine=%u\n", view->totalLines, view->maxTopLine);
    } else {
        view->topLine = uint16_t(c.top);
        view->highlightStart = uint16_t(c.highlightStart);
        view->highlightEnd = uint16_t(c.highlightEnd);
        TextView_Paint(view, 1);
        if (c.banner) DrawTitleBanner(view);
        if (saveDcImage(dc, c.output.c_str()) != 0) status = fail("cannot write " + c.output);
    }
    TextView_Destroy(view);
    deleteDc(dc);
    return status;
}
