// The fuzz targets' plain reference matcher for search patterns: '?' is any byte, '*' any run;
// with `fold`, each letter-code final form matches its medial form.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The letter-code finals, each followed by its medial form.
inline uint8_t plainLetter(uint8_t b, bool fold) {
    if (fold && (b == 0x6B || b == 0x6E || b == 0x70 || b == 0x74 || b == 0x76)) return b + 1;
    return b;
}

// Whether `span` (n bytes) matches the pattern (m bytes) as a whole.
inline bool globMatches(const char* pattern, int m, const uint8_t* span, int n, bool fold) {
    std::vector<char> row(size_t(n) + 1, 0), next(size_t(n) + 1, 0);
    row[0] = 1;
    for (int i = 0; i < m; ++i) {
        auto p = uint8_t(pattern[i]);
        std::fill(next.begin(), next.end(), 0);
        for (int j = 0; j <= n; ++j) {
            if (!row[size_t(j)]) continue;
            if (p == '*') {
                for (int k = j; k <= n; ++k)
                    next[size_t(k)] = 1;
                break;
            }
            if (j < n && (p == '?' || plainLetter(p, fold) == plainLetter(span[j], fold)))
                next[size_t(j) + 1] = 1;
        }
        row.swap(next);
    }
    return row[size_t(n)] != 0;
}
