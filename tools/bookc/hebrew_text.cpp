#include "tools/bookc/hebrew_text.h"

#include <fribidi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr char32_t kAlef = 0x05D0, kTav = 0x05EA;
constexpr char32_t kMaqaf = 0x05BE, kSofPasuq = 0x05C3, kGeresh = 0x05F3, kGershayim = 0x05F4;

char32_t mirror(char32_t c) {
    FriBidiChar m;
    return fribidi_get_mirror_char(c, &m) ? char32_t(m) : c;
}

// FriBidi's one-line display order of a right-to-left paragraph, with its embedding levels.
std::u32string visualOrder(const std::u32string& logical, std::vector<FriBidiLevel>* levels) {
    if (logical.empty()) return logical;
    std::vector<FriBidiChar> in(logical.begin(), logical.end()), out(logical.size());
    std::vector<FriBidiLevel> lv(logical.size());
    FriBidiParType base = FRIBIDI_PAR_RTL;
    fribidi_log2vis(in.data(), FriBidiStrIndex(in.size()), &base, out.data(), nullptr, nullptr,
                    lv.data());
    if (levels) *levels = lv;
    return std::u32string(out.begin(), out.end());
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
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c == kMaqaf) {
            logical += U'-';
        } else if (c == kSofPasuq) {
            logical += U':';
        } else if (c >= 0x0591 && c <= 0x05C7) {
            continue; // points and cantillation
        } else if (c == kGeresh) {
            logical += U'\'';
        } else if (c == kGershayim) {
            logical += U'"';
        } else if (c >= kAlef && c <= kTav) {
            logical += c;
        } else if (c >= 0x20 && c < 0x7F && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') &&
                   c != '~') {
            logical += c;
        } else {
            std::string what = (c < 0x80 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
                                   ? "a Latin letter inside a Hebrew record"
                                   : "a character the letter code cannot carry";
            char hex[16];
            snprintf(hex, sizeof hex, "U+%04X", unsigned(c));
            error = {i, what + " (" + hex + ")"};
            return false;
        }
    }
    std::u32string visual = visualOrder(logical, nullptr);
    stored.clear();
    for (char32_t c : visual) {
        if (c >= kAlef && c <= kTav) {
            stored += char(0x61 + (c - kAlef));
        } else if (c == U'{') {
            stored += char(0x7E);
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
        if (c < 0x20 || c > 0x7E) {
            char hex[16];
            snprintf(hex, sizeof hex, "U+%04X", unsigned(c));
            error = {i,
                     std::string(c >= kAlef && c <= kTav ? "a Hebrew letter inside a Latin record"
                                                         : "a character outside printable ASCII") +
                         " (" + hex + ")"};
            return false;
        }
        stored += char(c);
    }
    return true;
}

std::u32string StoredToHebrew(const std::string& stored, bool* exact) {
    std::u32string visual;
    for (unsigned char b : stored) {
        if (b >= 0x61 && b <= 0x7B) {
            visual += char32_t(kAlef + (b - 0x61));
        } else if (b == 0x7E) {
            visual += U'{';
        } else {
            visual += char32_t(b);
        }
    }
    // Reading order is the display order reversed, brackets mirrored back, except inside the
    // left-to-right runs (numbers), which read as they are shown.
    std::u32string logical(visual.rbegin(), visual.rend());
    for (char32_t& c : logical)
        c = mirror(c);
    std::vector<FriBidiLevel> levels;
    visualOrder(logical, &levels);
    for (size_t i = 0; i < logical.size();) {
        if (levels[i] % 2 == 0) {
            size_t j = i;
            while (j < logical.size() && levels[j] % 2 == 0)
                ++j;
            std::reverse(logical.begin() + long(i), logical.begin() + long(j));
            for (size_t k = i; k < j; ++k)
                logical[k] = mirror(logical[k]);
            i = j;
        } else {
            ++i;
        }
    }
    if (exact) {
        std::string again;
        TextError unused;
        *exact = HebrewToStored(logical, again, unused) && again == stored;
    }
    return logical;
}
