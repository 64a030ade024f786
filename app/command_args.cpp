#include "app/command_args.h"

#include <cstdio>
#include <cstdlib>

bool ParseNumber(const char* text, long low, long high, int& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (*end != 0 || v < low || v > high) return false;
    out = int(v);
    return true;
}

int CommandFailure(const std::string& message) {
    std::fprintf(stderr, "versewell: %s\n", message.c_str());
    return 2;
}

bool Utf8Argument(const char* text, std::u16string& out) {
    static const char32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
    out.clear();
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
        unsigned char b = *p++;
        int extra = b < 0x80             ? 0
                    : (b & 0xE0) == 0xC0 ? 1
                    : (b & 0xF0) == 0xE0 ? 2
                    : (b & 0xF8) == 0xF0 ? 3
                                         : -1;
        if (extra < 0) return false;
        char32_t c = extra == 0   ? b
                     : extra == 1 ? (b & 0x1F)
                     : extra == 2 ? (b & 0x0F)
                                  : (b & 0x07);
        for (int k = 0; k < extra; ++k, ++p) {
            if ((*p & 0xC0) != 0x80) return false;
            c = c << 6 | (*p & 0x3F);
        }
        if (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return true;
}

std::u16string Utf8ToUnits(const std::string& bytes) {
    static const char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    std::u16string out;
    size_t i = 0, n = bytes.size();
    while (i < n) {
        unsigned char b = static_cast<unsigned char>(bytes[i++]);
        int extra = b < 0x80    ? 0
                    : b >= 0xF8 ? -1
                    : b >= 0xF0 ? 3
                    : b >= 0xE0 ? 2
                    : b >= 0xC0 ? 1
                                : -1;
        char32_t c = extra <= 0 ? b : b & (0x3F >> extra);
        int got = 0;
        for (; got < extra && i < n && (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80; ++got)
            c = c << 6 | (static_cast<unsigned char>(bytes[i++]) & 0x3F);
        if (extra < 0 || got < extra || c < kSmallest[extra] || c > 0x10FFFF ||
            (c >= 0xD800 && c < 0xE000)) {
            c = 0xFFFD;
        }
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

std::string UnitsToUtf8(const char16_t* units) {
    std::string out;
    for (size_t i = 0; units[i]; ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}
