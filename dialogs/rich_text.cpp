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
// What cannot follow an escape directly: a digit (it would lengthen the number) or a space
// (a reader takes it as the escape's end).
bool endsEscape(char16_t next) {
    return isDigit(next) || next == u' ';
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
            count += i > 0 && text[i - 1] == u' ' ? 3 : 1;
            ++i;
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
            if (endsEscape(text[i + 1])) count += 1;
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
            // Spaces in a row are kept apart by an empty group: a word processor takes a run of
            // spaces in one piece of text for spacing of its own and widens it.
            if (i > 0 && text[i - 1] == u' ') out = append(out, "{}");
            *out++ = ' ';
            ++i;
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
            // A digit right after the number would become part of it, and a reader takes a
            // space there as the end of the escape and drops it: one space ends the escape
            // before either, and the text's own spaces follow it.
            if (endsEscape(text[i + 1])) *out++ = ' ';
        }
        ++i;
    }
    out = append(out, kRtfParagraph);
    *out = 0;
    return body;
}

namespace {
// Where a previous document's content ends, for appending to it. A document starts with
// "{\rtf" (after blanks); its content runs up to the brace that closes its first group, or,
// when that brace never comes (a document cut short), to its end, and *open says how many
// groups are open there besides the document's own. False when it is no Rich Text document.
bool documentContent(const char* previous, size_t length, size_t* kept, size_t* open) {
    size_t start = 0;
    while (start < length && isBlank(previous[start]))
        ++start;
    if (length - start < 5 || std::memcmp(previous + start, "{\\rtf", 5) != 0) return false;
    size_t depth = 0;
    for (size_t i = start; i < length; ++i) {
        char c = previous[i];
        if (c == '\\') {
            // An escaped brace or backslash is text. An escape that the data cuts short (a
            // backslash, or \' without its two hex digits) is dropped: a backslash would take
            // the brace that closes the document as text.
            if (i + 1 == length || (previous[i + 1] == '\'' && length - i < 4)) {
                *kept = i;
                *open = depth - 1;
                return true;
            }
            ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            *kept = i;
            *open = 0;
            return true;
        }
    }
    *kept = length;
    *open = depth - 1;
    return true;
}
} // namespace

char* richTextDocument(const char* previous, size_t previousLength, const char16_t* text,
                       size_t* bytes) {
    size_t kept = 0, open = 0;
    bool appending = previous && documentContent(previous, previousLength, &kept, &open);

    char* body = textToRtfBody(text);
    if (!body) return nullptr;
    size_t d = std::strlen(body);
    size_t size = appending ? kept + open + d + std::strlen(kRtfSeparator) +
                                  std::strlen(kRtfAppendedState) + sizeof kRtfClosing
                            : d + 186;
    auto* block = static_cast<char*>(plainAlloc(size));
    if (!block) {
        plainFree(body);
        return nullptr;
    }
    char* out = block;
    if (appending) {
        std::memcpy(out, previous, kept);
        out += kept;
        for (size_t i = 0; i < open; ++i)
            *out++ = '}';
        out = append(out, kRtfSeparator);
        out = append(out, kRtfAppendedState);
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
