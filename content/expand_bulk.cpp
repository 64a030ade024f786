// Expansion in bulk. Most of the book's tokens are plain bytes, which stand for themselves, so
// the source is read in windows: bit masks find where each token starts (a back-reference's
// control byte takes the next byte with it, whatever that is), runs of plain bytes are copied
// sixteen at a time, and each other token is expanded without branching on its kind.
#include "content/expand_bulk.h"

#include <cstddef>
#include <cstring>

#include "content/expanded_buffer.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr size_t kWindow = 64;   // source bytes whose token starts are found at once
constexpr size_t kTokens = 56;   // tokens starting before this offset are expanded per window
constexpr size_t kMaxToken = 10; // longest output of one token
constexpr size_t kReadAhead = 9; // a literal run's control byte and its 8-byte copy

static_assert(kExpandPadding + kMaxToken >= 16, "16-byte stores stay inside the buffer");

void copy8(uint8_t* to, const uint8_t* from) {
    uint64_t v;
    std::memcpy(&v, from, 8);
    std::memcpy(to, &v, 8);
}

void copy16(uint8_t* to, const uint8_t* from) {
#if defined(__SSE2__)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
#else
    copy8(to, from);
    copy8(to + 8, from + 8);
#endif
}

// Bit i set for byte i of a window: bit 7 of the byte, bit 6, and a literal run's count.
struct Masks {
    uint64_t high, bit6, literal;
};

Masks masksOf(const uint8_t* p) {
    Masks m{0, 0, 0};
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), nine = _mm_set1_epi8(9);
    for (int k = 0; k < 4; ++k) {
        __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        __m128i count = _mm_and_si128(_mm_cmpgt_epi8(x, zero), _mm_cmpgt_epi8(nine, x));
        m.high |= uint64_t(uint16_t(_mm_movemask_epi8(x))) << (16 * k);
        m.bit6 |= uint64_t(uint16_t(_mm_movemask_epi8(_mm_add_epi8(x, x)))) << (16 * k);
        m.literal |= uint64_t(uint16_t(_mm_movemask_epi8(count))) << (16 * k);
    }
#else
    for (size_t i = 0; i < kWindow; ++i) {
        m.high |= uint64_t(p[i] >> 7) << i;
        m.bit6 |= uint64_t((p[i] >> 6) & 1) << i;
        m.literal |= uint64_t(p[i] >= 1 && p[i] <= 8) << i;
    }
#endif
    return m;
}

// The bytes taken by a back-reference's control byte before them, given the control bytes a
// token could start with (a run of them pairs up from its first): every other byte is a token
// start, as long as no literal run comes first.
uint64_t operandsOf(uint64_t controls) {
    const uint64_t even = 0x5555555555555555ULL;
    uint64_t follows = controls << 1;
    uint64_t oddStarts = controls & ~even & ~follows;
    uint64_t sum;
    __builtin_add_overflow(oddStarts, controls, &sum);
    return (even ^ (sum << 1)) & follows;
}

// What each space pair (0xC0 to 0xFF) stands for, 16 bytes apiece so that it is copied as a
// back-reference is: a space and the byte with bit 7 cleared.
struct SpacePairs {
    uint8_t entry[64][16];
};
constexpr SpacePairs kSpacePairs = [] {
    SpacePairs t{};
    for (int k = 0; k < 64; ++k) {
        t.entry[k][0] = ' ';
        t.entry[k][1] = uint8_t(0x40 + k);
    }
    return t;
}();

// A back-reference at distance 1 to 7, byte by byte (its copy overlaps what it writes).
uint8_t* copyNear(uint8_t* out, size_t distance, size_t n) {
    const uint8_t* from = out - distance;
    for (size_t i = 0; i < n; ++i)
        out[i] = from[i];
    return out + n;
}

// Kept out of line: inlined into the loop around it, its values no longer fit the registers.
[[gnu::noinline]] bool expandWindows(uint8_t* buffer, uint8_t*& out, uint8_t* outEnd,
                                     const uint8_t*& src, const uint8_t* srcEnd) {
    uint8_t* o = out;
    const uint8_t* s = src;
    // distance - 8 >= o - nearest: a distance below 8, or one that reaches before the buffer.
    const uint8_t* const nearest = buffer + 7;
    // Room for a window's tokens, and at least 8 bytes written, so that one comparison below
    // tells a distance of 8 or more inside the output from every other.
    while (size_t(srcEnd - s) >= kWindow + kReadAhead &&
           size_t(outEnd - o) >= kTokens * kMaxToken + 16 && o - buffer >= 8) {
        Masks m = masksOf(s);
        uint64_t controls = m.high & ~m.bit6;
        uint64_t starts = ~operandsOf(controls);
        uint64_t special = starts & (m.high | m.literal) & ((uint64_t(1) << kTokens) - 1);
        const uint8_t* base = s;
        const uint8_t* plain = s; // the next byte not yet expanded
        const uint8_t* const last = s + kTokens;
        bool literal = false;
        while (special) {
            const uint8_t* t = base + __builtin_ctzll(special);
            special &= special - 1;
            // The plain bytes before the token: 16 of them whether there are any or not (no
            // branch on a count that is as often 0 as not).
            size_t run = size_t(t - plain);
            copy16(o, plain);
            if (run > 16) [[unlikely]] {
                for (size_t k = 16; k < run; k += 16)
                    copy16(o + k, plain + k);
            }
            o += run;
            unsigned c = t[0];
            if (c < 0x80) [[unlikely]] {
                copy8(o, t + 1);
                o += c;
                plain = t + 1 + c;
                literal = true; // the starts after it are not known
                break;
            }
            unsigned v = c << 8 | t[1];
            size_t distance = (v >> 3) & 0x7FF;
            bool isRef = c < 0xC0;
            if (isRef & (distance - 8 >= size_t(o - nearest))) [[unlikely]] {
                if (distance == 0 || distance > size_t(o - buffer)) {
                    out = o;
                    src = t;
                    return false;
                }
                o = copyNear(o, distance, (v & 7) + 3);
                plain = t + 2;
                continue;
            }
            // A back-reference copies from the output, a space pair from its table entry, each
            // 16 bytes; the source is picked by a mask (a branch on the kind would often be
            // mispredicted). Each 8-byte step reads only bytes written before it (a
            // back-reference's distance is 8 or more).
            uintptr_t ref = uintptr_t(0) - isRef;
            const uint8_t* from =
                reinterpret_cast<const uint8_t*>(((uintptr_t(o) - distance) & ref) |
                                                 (uintptr_t(kSpacePairs.entry[c & 0x3F]) & ~ref));
            size_t n = (((v & 7) + 1) & ref) + 2;
            copy8(o, from);
            copy8(o + 8, from + 8);
            o += n;
            plain = t + 1 + isRef;
        }
        if (!literal && plain < last) {
            // Only plain bytes are left before the window's end.
            size_t run = size_t(last - plain);
            copy16(o, plain);
            for (size_t k = 16; k < run; k += 16)
                copy16(o + k, plain + k);
            o += run;
            plain = last;
        }
        s = plain;
    }
    out = o;
    src = s;
    return true;
}
} // namespace

bool expandBulk(uint8_t* buffer, uint8_t*& out, uint8_t* outEnd, const uint8_t*& src,
                const uint8_t* srcEnd) {
    uint8_t* o = out;
    const uint8_t* s = src;
    // One token at a time: the first bytes, and wherever the windows cannot go on.
    while (size_t(outEnd - o) >= kMaxToken && size_t(srcEnd - s) > kReadAhead) {
        if (o - buffer >= 8 && size_t(srcEnd - s) >= kWindow + kReadAhead &&
            size_t(outEnd - o) >= kTokens * kMaxToken + 16) {
            out = o;
            src = s;
            if (!expandWindows(buffer, out, outEnd, src, srcEnd)) return false;
            o = out;
            s = src;
            if (!(size_t(outEnd - o) >= kMaxToken && size_t(srcEnd - s) > kReadAhead)) break;
        }
        unsigned c = *s++;
        if (c >= 0xC0) {
            o[0] = ' ';
            o[1] = uint8_t(c ^ 0x80);
            o += 2;
        } else if (c >= 0x80) {
            unsigned v = c << 8 | *s++;
            size_t distance = (v >> 3) & 0x7FF;
            size_t n = (v & 7) + 3;
            if (distance - 1 >= size_t(o - buffer)) {
                out = o;
                src = s - 2;
                return false;
            }
            if (distance >= 8) {
                // Two 8-byte steps, each reading only bytes written before it.
                copy8(o, o - distance);
                copy8(o + 8, o + 8 - distance);
                o += n;
            } else {
                o = copyNear(o, distance, n);
            }
        } else if (c - 1 < 8) {
            copy8(o, s);
            o += c;
            s += c;
        } else {
            *o++ = uint8_t(c);
        }
    }
    out = o;
    src = s;
    return true;
}
