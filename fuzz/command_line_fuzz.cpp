// Arbitrary command lines for every headless mode's parser and for the reader's "/today"
// check. Whatever a parser accepts must be within what the mode can serve: a lesson of the
// book, a known letter base, an area and a size in their ranges, a search word of at most 33
// units. Input: the arguments, separated by 0 bytes (at most 32 of them).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/app_main.h"
#include "app/export_command.h"
#include "app/search_command.h"
#include "app/view_command.h"
#include "app/week_command.h"
#include "content/book_constants.h"

namespace {
void check(bool ok) {
    if (!ok) __builtin_trap();
}

void checkView(const ViewCommand& c) {
    check(c.lesson >= 1 && c.lesson <= kLessonCount);
    check(c.base == 97 || c.base == 224 || c.base == 1488);
    check(c.width >= 1 && c.width <= 10000 && c.height >= 1 && c.height <= 10000);
    check(c.size >= 1 && c.size <= 500);
    check(c.face.size() <= 31);
    check(c.highlightStart <= c.highlightEnd);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    std::vector<std::string> words(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            if (words.size() == 32) break;
            words.emplace_back();
        } else {
            words.back() += char(data[i]);
        }
    }
    for (const char* mode : {"--render", "--layout", "--search", "--export"}) {
        std::vector<char*> argv{const_cast<char*>(mode)};
        for (std::string& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        int argc = int(argv.size()) - 1;
        std::string error;
        if (mode[2] == 'r' || mode[2] == 'l') {
            ViewCommand c;
            if (parseViewCommand(argc, argv.data(), c, error)) {
                checkView(c);
                check(!c.render || !c.output.empty());
            } else {
                check(!error.empty());
            }
        } else if (mode[2] == 's') {
            SearchCommand c;
            if (parseSearchCommand(argc, argv.data(), c, error)) {
                check(c.view.lesson >= 1 && c.view.lesson <= kLessonCount);
                check(!c.word.empty() && c.word.size() <= 33);
                check(c.again >= 1 && c.again <= 100000);
            } else {
                check(!error.empty());
            }
        } else {
            ExportCommand c;
            if (parseExportCommand(argc, argv.data(), c, error)) {
                check(c.lesson >= 1 && c.lesson <= kLessonCount);
                check(c.base == 97 || c.base == 224 || c.base == 1488);
                check(!c.output.empty());
            } else {
                check(!error.empty());
            }
        }
    }
    std::vector<const char*> weekArgs;
    for (const std::string& w : words)
        weekArgs.push_back(w.c_str());
    WeekRequest request{};
    std::string error;
    if (parseWeekArguments(int(weekArgs.size()), weekArgs.data(), &request, &error) == 0) {
        check(request.days >= 1);
    } else {
        check(!error.empty());
    }
    std::u16string units;
    for (unsigned char c : words[0])
        units += char16_t(c);
    bool today = isTodayCommandLine(units.c_str());
    check(!today || units.size() == 6);
    return 0;
}
