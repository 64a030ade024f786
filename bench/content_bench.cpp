// Expansion of the whole embedded book against memcpy of the same bytes (the physical limit of
// producing them), and the book compiler's packer against a plain greedy one.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/greedy_pack.h"
#include "bench/ratio_reporter.h"
#include "content/book_constants.h"
#include "content/resource.h"
#include "platform/memory.h"
#include "platform/resources.h"
#include "tools/bookc/palmdoc_pack.h"

namespace {
// Every embedded resource: its descriptor and its expanded bytes.
struct Book {
    std::vector<CompressedDescriptor> descriptors;
    std::vector<std::string> plain;
    size_t plainBytes = 0, packedBytes = 0;
};

const Book& book() {
    static Book b = [] {
        Book book;
        for (int n : kBookNumbers) {
            ResourceHandle r = findResource(kRawDataResource, uint16_t(1000 + n));
            if (r) {
                const uint8_t* bytes = loadResource(r);
                CompressedDescriptor d{bytes + 10, uint16_t(bytes[6] << 8 | bytes[7]),
                                       uint16_t(bytes[8] << 8 | bytes[9])};
                uint8_t* out = UnCompress(&d, nullptr);
                book.plain.emplace_back(reinterpret_cast<char*>(out), d.plainLength);
                plainFree(out);
                book.descriptors.push_back(d);
                book.plainBytes += d.plainLength;
                book.packedBytes += d.sourceLength;
            }
        }
        return book;
    }();
    return b;
}

void BM_ExpandBook(benchmark::State& state) {
    const Book& b = book();
    for (auto _ : state) {
        for (const CompressedDescriptor& d : b.descriptors) {
            uint8_t* out = UnCompress(&d, nullptr);
            benchmark::DoNotOptimize(out);
            plainFree(out);
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(b.plainBytes));
}
BENCHMARK(BM_ExpandBook);

// The same output bytes, allocated and copied: what expansion could at best cost.
void BM_MemcpyBook(benchmark::State& state) {
    const Book& b = book();
    for (auto _ : state) {
        for (const std::string& p : b.plain) {
            uint8_t* out = static_cast<uint8_t*>(plainAlloc(p.size() + kExpandPadding));
            std::memcpy(out, p.data(), p.size());
            benchmark::DoNotOptimize(out);
            plainFree(out);
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(b.plainBytes));
}
BENCHMARK(BM_MemcpyBook);

template <std::vector<uint8_t> (*Pack)(const uint8_t*, size_t)>
void BM_Pack(benchmark::State& state) {
    const Book& b = book();
    size_t packed = 0;
    for (auto _ : state) {
        packed = 0;
        for (const std::string& p : b.plain)
            packed += Pack(reinterpret_cast<const uint8_t*>(p.data()), p.size()).size();
    }
    state.counters["packed_bytes"] = double(packed);
    state.counters["plain_bytes"] = double(b.plainBytes);
}
BENCHMARK(BM_Pack<PackPalmDoc>)->Name("BM_PackOptimal")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pack<PackPalmDocGreedy>)->Name("BM_PackGreedy")->Unit(benchmark::kMillisecond);

size_t packedSize(std::vector<uint8_t> (*pack)(const uint8_t*, size_t)) {
    size_t total = 0;
    for (const std::string& p : book().plain)
        total += pack(reinterpret_cast<const uint8_t*>(p.data()), p.size()).size();
    return total;
}
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const Book& b = book();
    std::printf("\nbook: %zu resources, %zu bytes expanded from %zu packed\n", b.descriptors.size(),
                b.plainBytes, b.packedBytes);
    double expand = reporter.nanos("BM_ExpandBook"), copy = reporter.nanos("BM_MemcpyBook");
    if (expand > 0 && copy > 0) {
        std::printf("expansion: %.1f us for the whole book, memcpy %.1f us: %.2fx memcpy's time\n",
                    expand / 1000, copy / 1000, expand / copy);
    }
    size_t optimal = packedSize(PackPalmDoc), greedy = packedSize(PackPalmDocGreedy);
    std::printf("packer: optimal %zu bytes (%.1f%% of plain), greedy %zu bytes (%.1f%%): "
                "optimal/greedy = %.3f\n",
                optimal, 100.0 * double(optimal) / double(b.plainBytes), greedy,
                100.0 * double(greedy) / double(b.plainBytes), double(optimal) / double(greedy));
    double po = reporter.nanos("BM_PackOptimal"), pg = reporter.nanos("BM_PackGreedy");
    if (po > 0 && pg > 0) std::printf("packer time: optimal/greedy = %.2f\n", po / pg);
    return 0;
}
