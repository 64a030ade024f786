#include "app/export_command.h"
#include "app/command_args.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "content/book_constants.h"
#include "content/resource.h"
#include "dialogs/clipboard_export.h"
#include "dialogs/rich_text.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "state/state.h"

namespace {
const char kUsage[] =
    "usage: versewell --export LESSON (--rtf|--text) [--base 97|224|1488] [--reverse]\n"
    "                 [--append-to FILE] [--book FILE] -o FILE\n";

bool readWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The document, as the clipboard would hold it after Copy or Append onto `previous`.
bool makeDocument(const ExportCommand& c, const char16_t* text, const std::string& previous,
                  std::string& document) {
    size_t bytes = 0;
    if (c.rtf) {
        // The clipboard's Rich Text ends at its first 0 byte.
        size_t e = std::strlen(previous.c_str());
        char* block = richTextDocument(previous.c_str(), e, text, &bytes);
        if (!block) return false;
        document = block;
        plainFree(block);
    } else {
        std::u16string before = utf8ToUnits(previous);
        size_t e = std::char_traits<char16_t>::length(before.c_str()) * sizeof(char16_t);
        char16_t* block = unicodeDocument(before.c_str(), e, text, &bytes);
        if (!block) return false;
        document = unitsToUtf8(block);
        plainFree(block);
    }
    return true;
}
} // namespace

bool parseExportCommand(int argc, char** argv, ExportCommand& c, std::string& error) {
    c = ExportCommand{};
    bool haveLesson = false, haveKind = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needs = [&](const char* what) {
            error = a + " needs " + what;
            return false;
        };
        if (a == "--rtf" || a == "--text") {
            if (haveKind) {
                error = "--rtf and --text: one of the two";
                return false;
            }
            c.rtf = a == "--rtf";
            haveKind = true;
        } else if (a == "--base") {
            if (!parseNumber(value, 0, 2000, c.base) ||
                (c.base != 97 && c.base != 224 && c.base != 1488)) {
                return needs("97, 224 or 1488");
            }
            ++i;
        } else if (a == "--reverse") {
            c.reverse = true;
        } else if (a == "--append-to" || a == "--book" || a == "-o") {
            if (!value) return needs("a file");
            (a == "--append-to" ? c.appendTo : a == "--book" ? c.book : c.output) = value;
            ++i;
        } else if (!takeLessonArgument(a, haveLesson, c.lesson, error)) {
            return false;
        }
    }
    if (!haveLesson) {
        error = "which lesson?";
    } else if (!haveKind) {
        error = "--export needs --rtf or --text";
    } else if (c.output.empty()) {
        error = "--export needs -o FILE";
    }
    return error.empty();
}

int runExportCommand(int argc, char** argv) {
    ExportCommand c;
    std::string error;
    if (!parseExportCommand(argc, argv, c, error)) return usageFailure(error, kUsage);
    if (!c.book.empty() && useBookBundleFile(c.book.c_str(), error) != 0)
        return commandFailure(error);
    std::string previous;
    if (!c.appendTo.empty() && !readWholeFile(c.appendTo, previous))
        return commandFailure("cannot read " + c.appendTo);

    resetAppState();
    appState.fontSpec.FontAsciiBase = c.base;
    if (c.reverse) appState.Flags |= FlagReverse;
    uint8_t* lesson = loadLessonText(c.lesson, error);
    if (!lesson) return commandFailure(error);
    char16_t* text = exportLessonText(lesson);
    plainFree(lesson);
    if (!text) return commandFailure("out of memory");
    std::string document;
    bool made = makeDocument(c, text, previous, document);
    plainFree(text);
    if (!made) return commandFailure("out of memory");

    std::ofstream out(c.output, std::ios::binary | std::ios::trunc);
    out.write(document.data(), std::streamsize(document.size()));
    out.close();
    if (!out) return commandFailure("cannot write " + c.output);
    return 0;
}
