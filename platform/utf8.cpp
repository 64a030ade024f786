#include "platform/utf8.h"

namespace {
// The sequence at bytes[i]: true with its code point in *c when well-formed. *length is what it
// takes either way: the lead byte and the continuation bytes after it, at most as many as the
// lead asks for.
bool decodeSequence(const std::string& bytes, size_t i, char32_t* c, size_t* length) {
    static const char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    int extra = b < 0x80             ? 0
                : (b & 0xE0) == 0xC0 ? 1
                : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3
                                     : -1;
    *length = 1;
    if (extra < 0) return false;
    char32_t value = extra == 0 ? b : b & (0x3F >> extra);
    int got = 0;
    for (size_t at = i + 1; got < extra && at < bytes.size(); ++got, ++at) {
        unsigned char t = static_cast<unsigned char>(bytes[at]);
        if ((t & 0xC0) != 0x80) break;
        value = value << 6 | (t & 0x3F);
    }
    *length += size_t(got);
    *c = value;
    return got == extra && value >= kSmallest[extra] && value <= 0x10FFFF &&
           !(value >= 0xD800 && value < 0xE000);
}

void appendUnits(char32_t c, std::u16string& out) {
    if (c >= 0x10000) {
        out += char16_t(0xD800 + ((c - 0x10000) >> 10));
        out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += char16_t(c);
    }
}
} // namespace

bool decodeUtf8(const std::string& bytes, std::u32string& out, size_t* badOffset) {
    out.clear();
    for (size_t i = 0, length = 0; i < bytes.size(); i += length) {
        char32_t c = 0;
        if (!decodeSequence(bytes, i, &c, &length)) {
            if (badOffset) *badOffset = i;
            return false;
        }
        out.push_back(c);
    }
    return true;
}

std::string encodeUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool utf8ToUnitsStrict(const std::string& bytes, std::u16string& out) {
    out.clear();
    std::u32string points;
    if (!decodeUtf8(bytes, points, nullptr)) return false;
    for (char32_t c : points)
        appendUnits(c, out);
    return true;
}

std::u16string utf8ToUnits(const std::string& bytes) {
    std::u16string out;
    for (size_t i = 0, length = 0; i < bytes.size(); i += length) {
        char32_t c = 0;
        if (!decodeSequence(bytes, i, &c, &length)) c = 0xFFFD;
        appendUnits(c, out);
    }
    return out;
}

std::string repairUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0, length = 0; i < bytes.size(); i += length) {
        char32_t c = 0;
        if (decodeSequence(bytes, i, &c, &length)) {
            out.append(bytes, i, length);
        } else {
            out += "\xEF\xBF\xBD";
        }
    }
    return out;
}

std::string unitsToUtf8(const char16_t* units) {
    std::u32string points;
    for (size_t i = 0; units[i]; ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        points.push_back(c);
    }
    return encodeUtf8(points);
}
