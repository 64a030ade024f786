#include "tools/bookc/hebrew_text.h"

#include <cstdio>

#include "platform/bidi.h"

namespace {
constexpr char32_t kAlef = 0x05D0, kTav = 0x05EA;
constexpr char32_t kMaqaf = 0x05BE, kSofPasuq = 0x05C3, kGeresh = 0x05F3, kGershayim = 0x05F4;
constexpr char32_t kFirstPoint = 0x0591, kLastPoint = 0x05C7; // points and cantillation
// The letter code: alef .. tav as 0x61 .. 0x7B, and '{' (whose byte a letter takes) as 0x7E.
constexpr uint8_t kLetterCodeAlef = 0x61, kLetterCodeTav = kLetterCodeAlef + (kTav - kAlef);
constexpr uint8_t kLetterCodeBrace = 0x7E;

bool isLatinLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string codePoint(char32_t c) {
    char hex[16];
    snprintf(hex, sizeof hex, "U+%04X", unsigned(c));
    return hex;
}

// A Hebrew record's characters as the letter code carries them, still in reading order:
// points dropped, maqaf, sof pasuq, geresh and gershayim as ASCII. Fails at the first character
// that cannot be stored.
bool toStoredCharacters(const std::u32string& text, std::u32string& logical, TextError& error) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c == kMaqaf) {
            logical += U'-';
        } else if (c == kSofPasuq) {
            logical += U':';
        } else if (c >= kFirstPoint && c <= kLastPoint) {
            continue;
        } else if (c == kGeresh) {
            logical += U'\'';
        } else if (c == kGershayim) {
            logical += U'"';
        } else if ((c >= kAlef && c <= kTav) || (c >= ' ' && c < '~' && !isLatinLetter(c))) {
            // ASCII but letters and '~', whose byte holds '{'.
            logical += c;
        } else {
            std::string what = isLatinLetter(c) ? "a Latin letter inside a Hebrew record"
                                                : "a character the letter code cannot carry";
            error = {i, what + " (" + codePoint(c) + ")"};
            return false;
        }
    }
    return true;
}
} // namespace

bool DecodeUtf8(const std::string& bytes, std::u32string& out, size_t* badOffset) {
    static const char32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
    out.clear();
    size_t i = 0, n = bytes.size();
    while (i < n) {
        unsigned char b = bytes[i];
        int extra = b < 0x80             ? 0
                    : (b & 0xE0) == 0xC0 ? 1
                    : (b & 0xF0) == 0xE0 ? 2
                    : (b & 0xF8) == 0xF0 ? 3
                                         : -1;
        bool ok = extra >= 0 && n - i > size_t(extra);
        char32_t c = 0;
        if (ok) {
            c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
            for (int k = 1; k <= extra && ok; ++k) {
                unsigned char t = bytes[i + size_t(k)];
                ok = (t & 0xC0) == 0x80;
                c = c << 6 | (t & 0x3F);
            }
            ok = ok && c >= minimum[extra] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        }
        if (!ok) {
            if (badOffset) *badOffset = i;
            return false;
        }
        out.push_back(c);
        i += size_t(extra) + 1;
    }
    return true;
}

std::string EncodeUtf8(const std::u32string& text) {
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

bool HebrewToStored(const std::u32string& text, std::string& stored, TextError& error) {
    std::u32string logical;
    if (!toStoredCharacters(text, logical, error)) return false;
    std::u32string visual(logical.size(), U'\0');
    if (bidiDisplayOrder(logical.data(), logical.size(), visual.data()) != 0) {
        error = {0, "out of memory"};
        return false;
    }
    stored.clear();
    for (char32_t c : visual) {
        if (c >= kAlef && c <= kTav) {
            stored += char(kLetterCodeAlef + (c - kAlef));
        } else if (c == U'{') {
            stored += char(kLetterCodeBrace);
        } else {
            stored += char(c);
        }
    }
    return true;
}

bool LatinToStored(const std::u32string& text, std::string& stored, TextError& error) {
    stored.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < ' ' || c > '~') {
            error = {i,
                     std::string(c >= kAlef && c <= kTav ? "a Hebrew letter inside a Latin record"
                                                         : "a character outside printable ASCII") +
                         " (" + codePoint(c) + ")"};
            return false;
        }
        stored += char(c);
    }
    return true;
}

std::u32string StoredToHebrew(const std::string& stored, bool* exact) {
    std::u32string visual;
    for (unsigned char b : stored) {
        if (b >= kLetterCodeAlef && b <= kLetterCodeTav) {
            visual += char32_t(kAlef + (b - kLetterCodeAlef));
        } else if (b == kLetterCodeBrace) {
            visual += U'{';
        } else {
            visual += char32_t(b);
        }
    }
    std::u32string logical(visual.size(), U'\0');
    bool ok = bidiReadingOrder(visual.data(), visual.size(), logical.data()) == 0;
    if (exact) {
        std::string again;
        TextError unused;
        *exact = ok && HebrewToStored(logical, again, unused) && again == stored;
    }
    return logical;
}
