// A search that finds nothing, over the whole embedded book (the reader's Search Again: every
// lesson expanded afresh and walked record by record), side by side with expanding every lesson
// and scanning it with memmem, the least such a search could cost; the same miss with Exact
// letters, the peer of the forgiving one; and Find All of a common word against expanding every
// lesson and finding each occurrence with memmem.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench/ratio_reporter.h"
#include "content/book_constants.h"
#include "content/resource.h"
#include "dialogs/search.h"
#include "platform/memory.h"
#include "platform/message_box.h"
#include "platform/recording/recording_dc.h"
#include "platform/resources.h"
#include "state/state.h"
#include "tools/bookc/hebrew_text.h"
#include "view/text_view.h"

namespace {
// A word the book does not hold whose first letter (the pattern's last byte, where every
// comparison starts) is among the book's most frequent.
const char kMissingWord[] = "ויאמרזז";
// A word the book holds hundreds of times.
const char kCommonWord[] = "משה";
constexpr int kCommonHitsAtLeast = 200;

std::string storedWord(const char* word) {
    std::u32string written;
    std::string stored;
    TextError error;
    decodeUtf8(word, written, nullptr);
    HebrewToStored(written, stored, error);
    return stored;
}

void usePattern(const std::string& stored, uint32_t exact) {
    std::memcpy(appState.searchPattern, stored.c_str(), stored.size() + 1);
    appState.ExactLetters = exact;
}

struct Setup {
    DcHandle dc = nullptr;
    TextView* view = nullptr;
    size_t bookBytes = 0;
    std::string pattern; // its stored form
};

Setup& setup() {
    static Setup s = [] {
        Setup s;
        resetAppState();
        appState.fontSpec.FontSize = 16;
        appState.fontSpec.FontAsciiBase = 1488;
        scriptMessageBoxes(true); // "Not Found!" recorded, not printed
        s.dc = createRecordingDc();
        Rect area{0, 0, 480, 640};
        s.view = TextView_Create(s.dc, &area, &appState.fontSpec, 100);
        appState.Lesson = 1;
        TextView_SetText(s.view, LoadBookResource(1, nullptr), 0);
        appState.view = s.view;
        s.pattern = storedWord(kMissingWord);
        usePattern(s.pattern, 0);
        for (int n = 1; n <= kLessonCount; ++n) {
            ResourceHandle r = findResource(kRawDataResource, uint16_t(1000 + n));
            if (r) s.bookBytes += size_t(loadResource(r)[8] << 8 | loadResource(r)[9]);
        }
        return s;
    }();
    return s;
}

void BM_SearchMiss(benchmark::State& state) {
    Setup& s = setup();
    usePattern(s.pattern, uint32_t(state.range(0)));
    int found = 0;
    for (auto _ : state) {
        found += SearchAgain(nullptr);
        takeShownMessages();
    }
    if (found) state.SkipWithError("the word was found");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.bookBytes));
}
// Argument 0: forgiving matching (the default); 1: Exact letters.
BENCHMARK(BM_SearchMiss)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FindAll(benchmark::State& state) {
    Setup& s = setup();
    usePattern(storedWord(kCommonWord), uint32_t(state.range(0)));
    int count = 0;
    for (auto _ : state) {
        SearchHit* hits = nullptr;
        count = FindAllHits(&hits);
        plainFree(hits);
    }
    if (count < kCommonHitsAtLeast) state.SkipWithError("the word is not common enough");
    state.counters["hits"] = count;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.bookBytes));
    usePattern(s.pattern, 0);
}
BENCHMARK(BM_FindAll)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Every lesson expanded and every occurrence of the common word's bytes found with memmem.
void BM_ExpandAndMemmemAll(benchmark::State& state) {
    Setup& s = setup();
    std::string word = storedWord(kCommonWord);
    int count = 0;
    for (auto _ : state) {
        count = 0;
        for (int n = 1; n <= kLessonCount; ++n) {
            ResourceHandle r = findResource(kRawDataResource, uint16_t(1000 + n));
            size_t plain = size_t(loadResource(r)[8] << 8 | loadResource(r)[9]);
            uint8_t* text = LoadBookResource(n, nullptr);
            for (const uint8_t* at = text; at;) {
                size_t left = plain - size_t(at - text);
                at = static_cast<const uint8_t*>(memmem(at, left, word.data(), word.size()));
                if (at) {
                    ++count;
                    at += word.size();
                }
            }
            plainFree(text);
        }
    }
    if (count < kCommonHitsAtLeast) state.SkipWithError("the word is not common enough");
    state.counters["hits"] = count;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.bookBytes));
}
BENCHMARK(BM_ExpandAndMemmemAll)->Unit(benchmark::kMicrosecond);

// Every lesson expanded and scanned once with memmem for the same bytes.
void BM_ExpandAndMemmem(benchmark::State& state) {
    Setup& s = setup();
    int found = 0;
    for (auto _ : state) {
        for (int n = 1; n <= kLessonCount; ++n) {
            ResourceHandle r = findResource(kRawDataResource, uint16_t(1000 + n));
            size_t plain = size_t(loadResource(r)[8] << 8 | loadResource(r)[9]);
            uint8_t* text = LoadBookResource(n, nullptr);
            found += memmem(text, plain, s.pattern.data(), s.pattern.size()) != nullptr;
            plainFree(text);
        }
    }
    if (found) state.SkipWithError("the word was found");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(s.bookBytes));
}
BENCHMARK(BM_ExpandAndMemmem)->Unit(benchmark::kMicrosecond);

// The expansion alone, to tell the scanning apart from it.
void BM_ExpandOnly(benchmark::State& state) {
    for (auto _ : state) {
        for (int n = 1; n <= kLessonCount; ++n) {
            uint8_t* text = LoadBookResource(n, nullptr);
            benchmark::DoNotOptimize(text);
            plainFree(text);
        }
    }
}
BENCHMARK(BM_ExpandOnly)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double search = reporter.nanos("BM_SearchMiss/0"), peer = reporter.nanos("BM_ExpandAndMemmem");
    double exactMiss = reporter.nanos("BM_SearchMiss/1");
    double all = reporter.nanos("BM_FindAll/0"), allExact = reporter.nanos("BM_FindAll/1");
    double allPeer = reporter.nanos("BM_ExpandAndMemmemAll");
    double expand = reporter.nanos("BM_ExpandOnly");
    std::printf("\nbook: %zu lesson bytes expanded\n", setup().bookBytes);
    if (search > 0 && peer > 0) {
        std::printf("search that misses: %.1f us, expand + memmem %.1f us: %.2fx the limit "
                    "(goal at most 1.5)\n",
                    search / 1000, peer / 1000, search / peer);
        std::printf("figure search-miss %.2f\n", search / peer);
    }
    if (search > 0 && exactMiss > 0) {
        std::printf("forgiving miss %.1f us, exact miss %.1f us: %.2fx (goal at most 1.2)\n",
                    search / 1000, exactMiss / 1000, search / exactMiss);
        std::printf("figure search-fold-miss %.2f\n", search / exactMiss);
    }
    if (all > 0 && allPeer > 0) {
        std::printf("find all of a common word: %.1f us (exact %.1f us), expand + memmem for "
                    "every occurrence %.1f us: %.2fx (goal at most 1.5)\n",
                    all / 1000, allExact / 1000, allPeer / 1000, all / allPeer);
        std::printf("figure search-all %.2f\n", all / allPeer);
    }
    if (search > expand && peer > expand && expand > 0) {
        std::printf("of which scanning: search %.1f us, memmem %.1f us (expansion %.1f us)\n",
                    (search - expand) / 1000, (peer - expand) / 1000, expand / 1000);
    } else if (expand > 0) {
        // The scans are smaller than what the expansion's time varies by from one run to the next.
        std::printf("expansion alone %.1f us: the scans are too small to tell apart from it in "
                    "this run\n",
                    expand / 1000);
    }
    TextView_Destroy(setup().view);
    deleteDc(setup().dc);
    return 0;
}
