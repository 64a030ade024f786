// Forgiving search patterns ('?' and '*' included) against the book's real lessons, from
// arbitrary starts. Each hit is checked against a plain matcher: inside one record, at or below
// the start, matching the pattern as a whole with each final form taken as its medial form in
// Hebrew records (byte for byte elsewhere); for a pattern without '*' it must be the first
// place the plain matcher finds, walking the records in order and each from the start down.
// Input: lesson, start offset (two bytes), then at most 33 pattern bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "content/lesson_records.h"
#include "content/resource.h"
#include "dialogs/search.h"
#include "fuzz/glob_match.h"
#include "platform/memory.h"
#include "state/state.h"

namespace {
void check(bool ok) {
    if (!ok) __builtin_trap();
}

uint8_t* lessons[54];
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4 || size > 3 + size_t(kMaxPatternLength)) return 0;
    static bool ready = [] {
        resetAppState();
        for (int n = 1; n <= 53; ++n)
            lessons[n] = LoadBookResource(n, nullptr);
        return true;
    }();
    check(ready);
    const uint8_t* text = lessons[1 + data[0] % 53];
    if (!text) return 0;
    appState.ExactLetters = 0;
    auto start = uint16_t(data[1] | data[2] << 8);
    int m = int(size - 3);
    std::memset(appState.searchPattern, 0, sizeof appState.searchPattern);
    // Bytes from 0x80 on stand for letters, finals often, so that most patterns meet the text.
    for (int i = 0; i < m; ++i) {
        uint8_t b = data[3 + i];
        appState.searchPattern[i] = char(b >= 0xC0   ? "kltmnouvwx"[b % 10]
                                         : b >= 0x80 ? 0x61 + b % 27
                                                     : b);
    }
    m = int(std::strlen(appState.searchPattern));
    if (m == 0) return 0;
    bool star = std::memchr(appState.searchPattern, '*', size_t(m)) != nullptr;

    int length = 0;
    uint16_t hit = SearchInText(text, start, &length);
    check(length >= 0);
    // The plain matcher's first hit (patterns without '*'): records in order, each from the
    // start (or its top) down, the first end position whose span matches.
    int expected = 0, expectedLength = 0;
    uint32_t pos = 0;
    LessonRecord r;
    while (!star && !expected && nextLessonRecord(text, &pos, &r)) {
        int end = int(r.textOffset + r.textLength);
        if (end < start) continue;
        bool fold = (r.style & StyleHebrew) != 0;
        int from = start >= r.textOffset ? start : end - 1;
        for (int p = from; p - m + 1 >= int(r.textOffset); --p) {
            if (p >= end) continue;
            // The pattern's last byte is compared as it is ('?' there is a literal '?').
            if (plainLetter(text[p], fold) ==
                    plainLetter(uint8_t(appState.searchPattern[m - 1]), fold) &&
                globMatches(appState.searchPattern, m, text + p - m + 1, m, fold)) {
                expected = p;
                expectedLength = m;
                break;
            }
        }
    }
    if (!star) {
        check(hit == expected);
        check(!hit || length == expectedLength);
    }
    if (!hit) return 0;
    pos = 0;
    bool inside = false;
    while (nextLessonRecord(text, &pos, &r)) {
        if (hit >= r.textOffset && hit < r.textOffset + r.textLength) {
            bool fold = (r.style & StyleHebrew) != 0;
            inside = hit - length + 1 >= int(r.textOffset) &&
                     plainLetter(text[hit], fold) ==
                         plainLetter(uint8_t(appState.searchPattern[m - 1]), fold) &&
                     globMatches(appState.searchPattern, m, text + hit - length + 1, length, fold);
            if (start >= r.textOffset && start <= r.textOffset + r.textLength)
                inside = inside && hit <= start;
            break;
        }
    }
    check(inside);
    return 0;
}
