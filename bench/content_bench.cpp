// Expansion of the whole embedded book against memcpy of the same bytes (the physical limit of
// producing them) and against Debian's txt2pdbdoc decoding the same text, and the book
// compiler's packer against a plain greedy one and against txt2pdbdoc's packer.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "bench/doc_peer.h"
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
// Seconds of CPU time (as txt2pdbdoc's user time is) that expanding every resource of the book
// `times` times over takes.
double expandSeconds(int times) {
    const Book& b = book();
    auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
    };
    double start = cpu();
    for (int i = 0; i < times; ++i) {
        for (const CompressedDescriptor& d : b.descriptors) {
            uint8_t* out = UnCompress(&d, nullptr);
            benchmark::DoNotOptimize(out);
            plainFree(out);
        }
    }
    return cpu() - start;
}

// txt2pdbdoc on the same text: its packer on each resource, and its decoder on the whole book
// many times over, less the same for one copy (its start-up and file reading), in turns with
// the expander on as many copies; the fastest turn of each is compared.
bool peerFigures(size_t optimal) {
    const Book& b = book();
    DocPeer peer = DocPeerCreate();
    size_t peerPacked = 0;
    bool ok = !peer.folder.empty();
    for (size_t i = 0; ok && i < b.plain.size(); ++i) {
        std::string name = std::to_string(i);
        size_t n = DocPeerPack(peer, name.insert(0, 1, 'r'), b.plain[i]);
        ok = n > 0;
        peerPacked += n;
    }
    constexpr int kCopies = 100, kTurns = 7;
    std::string one, many;
    for (const std::string& p : b.plain)
        one += p;
    for (int i = 0; i < kCopies; ++i)
        many += one;
    ok = ok && DocPeerPack(peer, "one", one) && DocPeerPack(peer, "many", many) &&
         DocPeerDecodesTo(peer, "one", one) && DocPeerDecodesTo(peer, "many", many);
    double oneSeconds = 1e9, manySeconds = 1e9, ours = 1e9;
    for (int turn = 0; ok && turn < kTurns; ++turn) {
        double o = DocPeerDecodeSeconds(peer, "one"), m = DocPeerDecodeSeconds(peer, "many");
        ok = o >= 0 && m >= 0;
        oneSeconds = std::min(oneSeconds, o);
        manySeconds = std::min(manySeconds, m);
        ours = std::min(ours, expandSeconds(kCopies - 1));
    }
    DocPeerRemove(peer);
    if (!ok || manySeconds <= oneSeconds) {
        std::printf("txt2pdbdoc did not run (scripts/install-deps installs it)\n");
        return false;
    }
    double bytes = double(kCopies - 1) * double(one.size());
    double peerNanosPerByte = (manySeconds - oneSeconds) * 1e9 / bytes;
    double ourNanosPerByte = ours * 1e9 / bytes;
    std::printf("txt2pdbdoc packer: %zu bytes of packed text for the same resources: "
                "optimal/txt2pdbdoc = %.3f\n",
                peerPacked, double(optimal) / double(peerPacked));
    std::printf("txt2pdbdoc -d: %.1f ms of user time for %d copies of the book, %.1f ms for one; "
                "the expander %.1f ms for %d copies: %.2f ns per output byte against %.2f: "
                "expander/txt2pdbdoc = %.2f\n",
                manySeconds * 1e3, kCopies, oneSeconds * 1e3, ours * 1e3, kCopies - 1,
                ourNanosPerByte, peerNanosPerByte, ourNanosPerByte / peerNanosPerByte);
    std::printf("figure expand %.2f\n", ourNanosPerByte / peerNanosPerByte);
    std::printf("figure pack %.3f\n", double(optimal) / double(peerPacked));
    return true;
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
    // Like for like: the same whole-lesson streams, packed by a plain greedy packer.
    std::printf("figure pack-greedy %.3f\n", double(optimal) / double(greedy));
    double po = reporter.nanos("BM_PackOptimal"), pg = reporter.nanos("BM_PackGreedy");
    if (po > 0 && pg > 0) std::printf("packer time: optimal/greedy = %.2f\n", po / pg);
    return peerFigures(optimal) ? 0 : 1;
}
