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
