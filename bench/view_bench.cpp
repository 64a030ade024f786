// Laying out the book's largest lesson at 480 pixels, and painting a full page, side by side
// with Qt's own paragraph layout (QTextLayout) of the same records in the reader's style fonts,
// margins and label columns (tools/qt_peer). The two must break the lesson into about as many
// lines: a peer that lays out fewer or shorter lines would flatter the figures, so the bench
// fails when the counts differ by more than a few lines.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "content/lesson_records.h"
#include "content/resource.h"
#include "platform/draw.h"
#include "platform/gui.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "state/state.h"
#include "tools/qt_peer/qt_peer.h"
#include "view/text_view.h"

namespace {
constexpr int kWidth = 480, kHeight = 640, kSize = 18;

struct Setup {
    int lesson = 0;
    size_t bytes = 0;
    uint8_t* text = nullptr;
    DcHandle dc = nullptr;
    TextView* view = nullptr;
    QtPeer* peer = nullptr;
};

Setup& setup() {
    static Setup s = [] {
        Setup s;
        startHeadlessGraphics();
        resetAppState();
        const char16_t david[] = u"David CLM";
        if (fontFamilyInstalled(david)) {
            std::memcpy(appState.fontSpec.FontName, david, sizeof david);
        } else {
            firstHebrewFamily(appState.fontSpec.FontName);
        }
        appState.fontSpec.FontSize = kSize;
        appState.fontSpec.FontAsciiBase = 1488;
        for (int n = 1; n <= 53; ++n) {
            ResourceHandle r = findResource(kRawDataResource, uint16_t(1000 + n));
            size_t plain = r ? size_t(loadResource(r)[8] << 8 | loadResource(r)[9]) : 0;
            if (plain > s.bytes) {
                s.bytes = plain;
                s.lesson = n;
            }
        }
        s.text = LoadBookResource(s.lesson, nullptr);
        s.dc = createImageDc(kWidth, kHeight);
        Rect area{0, 0, kWidth, kHeight};
        s.view = TextView_Create(s.dc, &area, &appState.fontSpec, 100);
        TextView_SetText(s.view, s.text, 0);
        // The same lesson laid out by QTextLayout in the reader's styles, margins and labels.
        s.peer = QtPeerCreate(s.text, appState.fontSpec.FontName, kSize,
                              appState.fontSpec.FontAsciiBase);
        return s;
    }();
    return s;
}

void BM_ViewLayout(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state)
        benchmark::DoNotOptimize(TextView_SetText(s.view, s.view->text, 0));
    state.counters["lines"] = s.view->lineCount;
}
BENCHMARK(BM_ViewLayout)->Unit(benchmark::kMicrosecond);

void BM_QtLayout(benchmark::State& state) {
    Setup& s = setup();
    int lines = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(lines = QtPeerLayout(s.peer, kWidth));
    state.counters["lines"] = lines;
}
BENCHMARK(BM_QtLayout)->Unit(benchmark::kMicrosecond);

void BM_ViewPaint(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state)
        benchmark::DoNotOptimize(TextView_Paint(s.view, 1));
    state.counters["lines"] = s.view->linesPainted;
}
BENCHMARK(BM_ViewPaint)->Unit(benchmark::kMicrosecond);

void BM_QtPaint(benchmark::State& state) {
    Setup& s = setup();
    QtPeerLayout(s.peer, kWidth);
    int lines = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(lines = QtPeerPaint(s.peer, kWidth, kHeight));
    state.counters["lines"] = lines;
}
BENCHMARK(BM_QtPaint)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    Setup& s = setup();
    const int ours = s.view->lineCount, qtLines = QtPeerLayout(s.peer, kWidth);
    std::printf("\nlesson %d, %zu bytes at %d px: %d lines laid out by the view, %d by "
                "QTextLayout\n",
                s.lesson, s.bytes, kWidth, ours, qtLines);
    // A few lines apart at most: 0.5% of the lesson's lines, at least 2. The lesson's margins
    // and labels move only a few lines of it, so a wider allowance (2%) would let a peer that
    // lays everything out at full width pass.
    const int apart = ours > qtLines ? ours - qtLines : qtLines - ours;
    if (ours == 0 || (apart > 2 && apart * 200 > ours)) {
        std::printf("the two layouts differ by %d lines, more than 0.5%%: the peer does not lay "
                    "out the same lines\n",
                    apart);
        return 1;
    }
    double view = reporter.nanos("BM_ViewLayout"), qt = reporter.nanos("BM_QtLayout");
    if (view > 0 && qt > 0) {
        std::printf("layout: view %.0f us, QTextLayout %.0f us: view/Qt = %.3f\n", view / 1000,
                    qt / 1000, view / qt);
        std::printf("figure layout %.3f\n", view / qt);
    }
    double paint = reporter.nanos("BM_ViewPaint"), qtPaint = reporter.nanos("BM_QtPaint");
    if (paint > 0 && qtPaint > 0) {
        std::printf("full-page paint: view %.0f us, Qt %.0f us: view/Qt = %.2f\n", paint / 1000,
                    qtPaint / 1000, paint / qtPaint);
        std::printf("figure paint %.2f\n", paint / qtPaint);
    }
    return 0;
}
