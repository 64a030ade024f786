#include "dialogs/rich_text.h"

#include <cstdio>
#include <cstring>

#include "platform/memory.h"
#include "state/state.h"

const HebrewDecomposition hebrewDecompositions[28] = {
    {0xFB2A, {0x05E9, 0x05C1, 0}},      {0xFB2B, {0x05E9, 0x05C2, 0}},
    {0xFB2C, {0x05E9, 0x05BC, 0x05C1}}, {0xFB2D, {0x05E9, 0x05BC, 0x05C2}},
    {0xFB30, {0x05D0, 0x05BC, 0}},      {0xFB31, {0x05D1, 0x05BC, 0}},
    {0xFB32, {0x05D2, 0x05BC, 0}},      {0xFB33, {0x05D3, 0x05BC, 0}},
    {0xFB34, {0x05D4, 0x05BC, 0}},      {0xFB35, {0x05D5, 0x05BC, 0}},
    {0xFB36, {0x05D6, 0x05BC, 0}},      {0xFB38, {0x05D8, 0x05BC, 0}},
    {0xFB39, {0x05D9, 0x05BC, 0}},      {0xFB3A, {0x05DA, 0x05BC, 0}},
    {0xFB3B, {0x05DB, 0x05BC, 0}},      {0xFB3C, {0x05DC, 0x05BC, 0}},
    {0xFB3E, {0x05DE, 0x05BC, 0}},      {0xFB40, {0x05E0, 0x05BC, 0}},
    {0xFB41, {0x05E1, 0x05BC, 0}},      {0xFB43, {0x05E3, 0x05BC, 0}},
    {0xFB44, {0x05E4, 0x05BC, 0}},      {0xFB46, {0x05E6, 0x05BC, 0}},
    {0xFB47, {0x05E7, 0x05BC, 0}},      {0xFB48, {0x05E8, 0x05BC, 0}},
    {0xFB49, {0x05E9, 0x05BC, 0}},      {0xFB4A, {0x05EA, 0x05BC, 0}},
    {0xFB4B, {0x05D5, 0x05B9, 0}},      {0, {0, 0, 0}},
};

namespace {
const HebrewDecomposition* decompositionOf(char16_t unit) {
    if (unit < 1515) return nullptr;
    for (const HebrewDecomposition* d = hebrewDecompositions; d->code; ++d) {
        if (d->code == unit) return d;
    }
    return nullptr;
}

bool isDigit(char16_t unit) {
    return unit >= u'0' && unit <= u'9';
}
bool isBlank(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}
bool isLineEnd(char16_t unit) {
    return unit == 13 || unit == 10;
}
// Characters that mean something to a Rich Text reader and are written with a backslash.
bool needsBackslash(char16_t unit) {
    return unit == u'\\' || unit == u'{' || unit == u'}';
}

char* append(char* out, const char* piece) {
    size_t n = std::strlen(piece);
    std::memcpy(out, piece, n);
    return out + n;
}
} // namespace

size_t measureRtfBody(const char16_t* text) {
    size_t count = 13;
    for (size_t i = 0; text[i];) {
        char16_t u = text[i];
        if (u == u' ') {
            size_t k = 0;
            while (text[i + k] == u' ')
                ++k;
            count += k + 1;
            i += k;
            continue;
        }
        if (isLineEnd(u)) {
            while (isLineEnd(text[i]))
                ++i;
            count += 12;
            continue;
        }
        if (u >= 33 && u <= 126) {
            count += needsBackslash(u) ? 2 : 1;
        } else {
            if (const HebrewDecomposition* d = decompositionOf(u)) {
                for (char16_t part : d->units)
                    count += part ? 6 : 0;
            } else {
                count += u < 1000 ? 5 : u < 10000 ? 6 : 7;
            }
            if (isDigit(text[i + 1])) count += 1;
        }
        ++i;
    }
    return count + 1;
}

char* textToRtfBody(const char16_t* text) {
    auto* body = static_cast<char*>(checkedAlloc(measureRtfBody(text)));
    if (!body) return nullptr;
    char* out = body;
    for (size_t i = 0; text[i];) {
        char16_t u = text[i];
        if (u == u' ') {
            *out++ = ' '; // the first space of a run twice
            while (text[i] == u' ') {
                *out++ = ' ';
                ++i;
            }
            continue;
        }
        if (isLineEnd(u)) {
            while (isLineEnd(text[i]))
                ++i;
            out = append(out, kRtfParagraph);
            continue;
        }
        if (u >= 33 && u <= 126) {
            if (needsBackslash(u)) *out++ = '\\';
            *out++ = char(u);
        } else {
            char escape[16];
            if (const HebrewDecomposition* d = decompositionOf(u)) {
                for (char16_t part : d->units) {
                    if (!part) break;
                    std::snprintf(escape, sizeof escape, "\\u%u", unsigned(part));
                    out = append(out, escape);
                }
            } else {
                std::snprintf(escape, sizeof escape, "\\u%u", unsigned(u));
                out = append(out, escape);
            }
            // A digit right after the number would become part of it; the space ends the
            // escape and readers drop it.
            if (isDigit(text[i + 1])) *out++ = ' ';
        }
        ++i;
    }
    out = append(out, kRtfParagraph);
    *out = 0;
    return body;
}

char* richTextDocument(const char* previous, size_t previousLength, const char16_t* text,
                       size_t* bytes) {
    size_t e = previous ? previousLength : 0;
    // The previous document without its trailing blanks and its one closing brace.
    while (e > 0 && isBlank(previous[e - 1]))
        --e;
    size_t kept = e > 0 && previous[e - 1] == '}' ? e - 1 : e;
    bool appending = false;
    for (size_t i = 0; i < kept && !appending; ++i)
        appending = !isBlank(previous[i]);

    char* body = textToRtfBody(text);
    if (!body) return nullptr;
    size_t d = std::strlen(body);
    size_t size = appending ? d + previousLength + 58 : d + 186;
    auto* block = static_cast<char*>(plainAlloc(size));
    if (!block) {
        plainFree(body);
        return nullptr;
    }
    char* out = block;
    if (appending) {
        std::memcpy(out, previous, kept);
        out = append(out + kept, kRtfSeparator);
    } else {
        out = append(out, kRtfHeader);
    }
    std::memcpy(out, body, d);
    out = append(out + d, kRtfClosing);
    *out = 0;
    plainFree(body);
    // The bytes filled, not the block's size: the clipboard gets no byte past the ending 0.
    if (bytes) *bytes = size_t(out - block) + 1;
    return block;
}
