#include "tools/bookc/palmdoc_pack.h"

#include <climits>

namespace {
constexpr size_t kWindow = 2047;
constexpr size_t kMinMatch = 3, kMaxMatch = 10;
constexpr size_t kMaxLiteralRun = 8;
constexpr uint8_t kMatchFlag = 0x80;    // a back-reference's first byte: 0x80 .. 0xBF
constexpr unsigned kLengthBits = 3;     // of a back-reference, below the distance
constexpr uint8_t kSpacePairXor = 0x80; // a space and the byte c ^ 0x80, in 0xC0 .. 0xFF

// Bytes that stand for themselves: 0x00 and 0x09 .. 0x7F (0x01 .. 0x08 are literal runs).
bool isPlainByte(uint8_t b) {
    return b == 0 || (b > kMaxLiteralRun && b < 0x80);
}
// A space and a byte 0x40 .. 0x7F pack into one byte.
bool isSpacePair(const uint8_t* p, size_t left) {
    return left >= 2 && p[0] == ' ' && p[1] >= 0x40 && p[1] < 0x80;
}

// Longest match (length, distance) at each position, through hash chains on three bytes.
void findMatches(const uint8_t* data, size_t size, std::vector<uint8_t>& length,
                 std::vector<uint16_t>& distance) {
    constexpr size_t kHashSize = 1 << 14;
    std::vector<int32_t> head(kHashSize, -1), prev(size, -1);
    auto hash = [&](size_t i) {
        return ((unsigned(data[i]) << 10) ^ (unsigned(data[i + 1]) << 5) ^ data[i + 2]) &
               (kHashSize - 1);
    };
    length.assign(size, 0);
    distance.assign(size, 0);
    for (size_t i = 0; i + kMinMatch <= size; ++i) {
        size_t h = hash(i);
        size_t limit = size - i < kMaxMatch ? size - i : kMaxMatch;
        size_t best = 0, bestDistance = 0;
        for (int32_t j = head[h]; j >= 0 && i - size_t(j) <= kWindow; j = prev[size_t(j)]) {
            size_t n = 0;
            while (n < limit && data[size_t(j) + n] == data[i + n])
                ++n;
            if (n > best) {
                best = n;
                bestDistance = i - size_t(j);
                if (n == limit) break;
            }
        }
        if (best >= kMinMatch) {
            length[i] = uint8_t(best);
            distance[i] = uint16_t(bestDistance);
        }
        prev[i] = head[h];
        head[h] = int32_t(i);
    }
}

// The token that starts each position on the cheapest packing of data[i..]: its kind and the
// bytes it covers.
enum Kind : uint8_t { Plain, Pair, Match, Literal };
struct Tokens {
    std::vector<uint8_t> step, kind;
    uint32_t packedSize = 0;
};

Tokens cheapestTokens(const uint8_t* data, size_t size, const std::vector<uint8_t>& matchLength) {
    // cost[i]: fewest packed bytes for data[i..].
    std::vector<uint32_t> cost(size + 1, 0);
    Tokens t{std::vector<uint8_t>(size, 0), std::vector<uint8_t>(size, Plain)};
    for (size_t i = size; i-- > 0;) {
        uint32_t best = UINT32_MAX;
        auto consider = [&](uint32_t c, size_t n, Kind k) {
            if (c + cost[i + n] < best) {
                best = c + cost[i + n];
                t.step[i] = uint8_t(n);
                t.kind[i] = k;
            }
        };
        if (isPlainByte(data[i])) consider(1, 1, Plain);
        if (isSpacePair(data + i, size - i)) consider(1, 2, Pair);
        for (size_t n = kMinMatch; n <= matchLength[i]; ++n)
            consider(2, n, Match);
        for (size_t n = 1; n <= kMaxLiteralRun && n <= size - i; ++n)
            consider(uint32_t(1 + n), n, Literal);
        cost[i] = best;
    }
    t.packedSize = cost[0];
    return t;
}
} // namespace

std::vector<uint8_t> PackPalmDoc(const uint8_t* data, size_t size) {
    std::vector<uint8_t> matchLength;
    std::vector<uint16_t> matchDistance;
    findMatches(data, size, matchLength, matchDistance);
    Tokens t = cheapestTokens(data, size, matchLength);
    std::vector<uint8_t> out;
    out.reserve(t.packedSize);
    for (size_t i = 0; i < size; i += t.step[i]) {
        switch (t.kind[i]) {
        case Plain:
            out.push_back(data[i]);
            break;
        case Pair:
            out.push_back(uint8_t(data[i + 1] ^ kSpacePairXor));
            break;
        case Match: {
            unsigned v =
                unsigned(matchDistance[i]) << kLengthBits | unsigned(t.step[i] - kMinMatch);
            out.push_back(uint8_t(kMatchFlag | (v >> 8)));
            out.push_back(uint8_t(v & 0xFF));
            break;
        }
        case Literal:
            out.push_back(t.step[i]);
            out.insert(out.end(), data + i, data + i + t.step[i]);
            break;
        }
    }
    return out;
}
