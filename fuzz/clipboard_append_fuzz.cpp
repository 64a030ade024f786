// Arbitrary clipboard contents for Append: the Rich Text document and the Unicode text that the
// clipboard held before, with a lesson's text appended. The new document must hold the
// previous one's opening up to its last closing brace (or start afresh), end in one closing
// brace and a 0, and report its own size; the Unicode text must be the previous units followed
// by the lesson's. Input: one byte choosing the part of the lesson text, then the clipboard's
// bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "dialogs/clipboard_export.h"
#include "dialogs/rich_text.h"
#include "platform/memory.h"

namespace {
void check(bool ok) {
    if (!ok) __builtin_trap();
}

const char16_t kText[] =
    u"\u05D1\u05E8\u05D0\u05E9\u05D9\u05EA {x} \\ 12 \r\n\u05E9\u05DE\u05D5\u05EA"
    u"\uFB2A \U0001F600 end";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 65536) return 0;
    std::u16string text(kText + data[0] % 8);
    const char* previous = reinterpret_cast<const char*>(data + 1);
    size_t length = size - 1;

    size_t bytes = 0;
    char* document = richTextDocument(previous, length, text.c_str(), &bytes);
    check(document != nullptr);
    check(bytes >= 2 && document[bytes - 1] == 0);
    std::string made(document, bytes - 1);
    size_t end = made.find_last_not_of(" \t\r\n");
    check(end != std::string::npos && made[end] == '}');
    // The previous document's own bytes come first, unless it held nothing to append to.
    std::string kept(previous, length);
    size_t last = kept.find_last_not_of(" \t\r\n");
    kept.erase(last == std::string::npos ? 0 : last + 1);
    if (!kept.empty() && kept.back() == '}') kept.pop_back();
    if (kept.find_first_not_of(" \t\r\n") != std::string::npos) {
        check(made.compare(0, std::min(kept.size(), size_t(4)), kept, 0, 4) == 0);
    } else {
        check(made.compare(0, 5, "{\\rtf") == 0);
    }
    plainFree(document);

    // The clipboard's Unicode text: whole units only.
    size_t units = length / 2 * 2;
    std::u16string before(units / 2, u'\0');
    std::memcpy(before.data(), previous, units);
    char16_t* joined = unicodeDocument(before.c_str(), units, text.c_str(), &bytes);
    check(joined != nullptr);
    check(bytes % 2 == 0 && bytes >= (text.size() + 1) * 2);
    std::u16string got(joined, bytes / 2 - 1);
    check(got.size() >= text.size() &&
          got.compare(got.size() - text.size(), text.size(), text) == 0);
    check(joined[bytes / 2 - 1] == 0);
    plainFree(joined);
    return 0;
}
