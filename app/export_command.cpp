#include "app/export_command.h"
#include "app/command_args.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "content/book_constants.h"
#include "content/resource.h"
#include "dialogs/clipboard_export.h"
#include "dialogs/rich_text.h"
#include "platform/book_bundle.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "platform/utf8.h"
#include "state/state.h"

namespace {
const char kUsage[] =
    "usage: versewell --export LESSON (--rtf|--text) [--base 97|224|1488] [--reverse]\n"
    "                 [--append-to FILE] [--book FILE] -o FILE\n";

// Writes all of `bytes` to descriptor `fd`; false with errno set when it cannot.
bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        done += size_t(n);
    }
    return true;
}

// Puts `bytes` at `path`. A regular file (or a link to one, which stays a link) is replaced
// whole: the document is written beside it under another name and renamed into place once
// complete, so that a full disk leaves the old file as it was. What is not a regular file (a
// terminal, a pipe, /dev/stdout) is written into as it is. Returns 0, or 1 with `error` set.
int writeOutput(const std::string& path, const std::string& bytes, std::string& error) {
    auto fail = [&error](const std::string& why) {
        error = why;
        return 1;
    };
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) return fail(std::strerror(errno));
        target = resolved;
        std::free(resolved);
    }
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return fail("is a folder");
    if (exists && !S_ISREG(st.st_mode)) {
        int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) return fail(std::strerror(errno));
        bool written = writeAll(fd, bytes);
        int saved = errno;
        if (::close(fd) != 0 && written) return fail(std::strerror(errno));
        return written ? 0 : fail(std::strerror(saved));
    }
    std::string part = target + ".part" + std::to_string(::getpid());
    int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return fail(std::strerror(errno));
    // The new file keeps the permissions of the one it replaces.
    bool written = (!exists || ::fchmod(fd, st.st_mode & 07777) == 0) && writeAll(fd, bytes) &&
                   ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        saved = errno;
    }
    if (written && ::rename(part.c_str(), target.c_str()) != 0) {
        written = false;
        saved = errno;
    }
    if (!written) {
        ::unlink(part.c_str());
        return fail(std::strerror(saved));
    }
    return 0;
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
        // The clipboard's text ends at its first 0 unit; Append puts the lesson behind it. The
        // previous text stays in UTF-8 (each malformed sequence as U+FFFD, as the clipboard would
        // hold it), so that the memory taken is a small multiple of the file's size.
        document = repairUtf8(previous.substr(0, std::strlen(previous.c_str())));
        document += unitsToUtf8(text);
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
    if (!c.appendTo.empty() &&
        readBookFile(c.appendTo.c_str(), kBookFileMaxBytes, previous, error) != 0)
        return commandFailure("cannot read " + c.appendTo + ": " + error);

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

    if (writeOutput(c.output, document, error) != 0)
        return commandFailure("cannot write " + c.output + ": " + error);
    return 0;
}
