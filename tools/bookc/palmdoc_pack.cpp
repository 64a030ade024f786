#include "tools/bookc/palmdoc_pack.h"

#include <climits>

namespace {
constexpr size_t kWindow = 2047;
constexpr size_t kMinMatch = 3, kMaxMatch = 10;
constexpr size_t kMaxLiteralRun = 8;

bool isPlainByte(uint8_t b) {
    return b == 0 || (b >= 0x09 && b < 0x80);
}
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
} // namespace

std::vector<uint8_t> PackPalmDoc(const uint8_t* data, size_t size) {
    std::vector<uint8_t> matchLength;
    std::vector<uint16_t> matchDistance;
    findMatches(data, size, matchLength, matchDistance);

    // cost[i]: fewest packed bytes for data[i..]; step[i] and kind[i]: the first token.
    enum Kind : uint8_t { Plain, Pair, Match, Literal };
    std::vector<uint32_t> cost(size + 1, 0);
    std::vector<uint8_t> step(size, 0), kind(size, Plain);
    for (size_t i = size; i-- > 0;) {
        uint32_t best = UINT32_MAX;
        auto consider = [&](uint32_t c, size_t n, Kind k) {
            if (c + cost[i + n] < best) {
                best = c + cost[i + n];
                step[i] = uint8_t(n);
                kind[i] = k;
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

    std::vector<uint8_t> out;
    out.reserve(cost.empty() ? 0 : cost[0]);
    for (size_t i = 0; i < size; i += step[i]) {
        switch (kind[i]) {
        case Plain:
            out.push_back(data[i]);
            break;
        case Pair:
            out.push_back(uint8_t(data[i + 1] ^ 0x80));
            break;
        case Match: {
            unsigned v = unsigned(matchDistance[i]) << 3 | unsigned(step[i] - kMinMatch);
            out.push_back(uint8_t(0x80 | (v >> 8)));
            out.push_back(uint8_t(v & 0xFF));
            break;
        }
        case Literal:
            out.push_back(step[i]);
            out.insert(out.end(), data + i, data + i + step[i]);
            break;
        }
    }
    return out;
}
