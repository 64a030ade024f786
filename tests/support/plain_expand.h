// A plain expander, one byte at a time, to hold the reader's own against: the packed bytes
// `packed` to exactly `plainLength` bytes, or false when they do not make them (a token cut
// short, a back-reference at distance 0 or before the start, too few tokens).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

inline bool PlainExpand(const std::string& packed, size_t plainLength, std::string& out) {
    out.clear();
    size_t i = 0;
    while (out.size() < plainLength && i < packed.size()) {
        uint8_t c = uint8_t(packed[i++]);
        if (c >= 1 && c <= 8) {
            for (unsigned k = 0; k < c && out.size() < plainLength; ++k) {
                if (i >= packed.size()) return false;
                out += packed[i++];
            }
        } else if (c < 0x80) {
            out += char(c);
        } else if (c < 0xC0) {
            if (i >= packed.size()) return false;
            unsigned v = unsigned(c) << 8 | uint8_t(packed[i++]);
            size_t distance = (v >> 3) & 0x7FF;
            if (distance == 0 || distance > out.size()) return false;
            for (unsigned k = 0; k < (v & 7) + 3 && out.size() < plainLength; ++k)
                out += out[out.size() - distance];
        } else {
            out += ' ';
            if (out.size() < plainLength) out += char(c ^ 0x80);
        }
    }
    return out.size() == plainLength;
}
