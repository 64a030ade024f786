#include "bench/greedy_pack.h"

std::vector<uint8_t> PackPalmDocGreedy(const uint8_t* data, size_t size) {
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < size) {
        size_t best = 0, distance = 0;
        for (size_t d = 1; d <= 2047 && d <= i; ++d) {
            size_t n = 0;
            while (n < 10 && i + n < size && data[i + n - d] == data[i + n])
                ++n;
            if (n > best) {
                best = n;
                distance = d;
            }
        }
        if (best >= 3) {
            unsigned v = unsigned(distance) << 3 | unsigned(best - 3);
            out.push_back(uint8_t(0x80 | (v >> 8)));
            out.push_back(uint8_t(v));
            i += best;
        } else if (data[i] == ' ' && i + 1 < size && data[i + 1] >= 0x40 && data[i + 1] < 0x80) {
            out.push_back(uint8_t(data[i + 1] ^ 0x80));
            i += 2;
        } else if (data[i] == 0 || (data[i] >= 0x09 && data[i] < 0x80)) {
            out.push_back(data[i++]);
        } else {
            size_t n = 0;
            while (n < 8 && i + n < size &&
                   !(data[i + n] == 0 || (data[i + n] >= 0x09 && data[i + n] < 0x80)))
                ++n;
            out.push_back(uint8_t(n));
            out.insert(out.end(), data + i, data + i + n);
            i += n;
        }
    }
    return out;
}
