// The text that a Rich Text reader takes from a document, read by the format's rules, for tests
// that check what a word processor would show: groups, destinations that hold no text (font and
// colour tables, "\*" groups), control words and the one space that ends them, control symbols,
// \uN with the fallback characters that \ucN declares (kept per group), \'hh, \par and \line as
// line ends. Enough for the documents Copy makes and those word processors write. Like
// LibreOffice, it widens spaces that stand in a row in one piece of text (it puts a six-per-em
// space, U+2006, before each one after the first), so such a run does not read back as written.
#pragma once
#include <cctype>
#include <string>
#include <vector>

// The document's text in *text (each unit of \uN as itself, a \'hh byte as the code point of the
// same number). Returns false with *error set when the document is not well formed: it does not
// start with "{\rtf", its braces do not balance, or something other than blanks follows its end.
inline bool ReadRtfText(const std::string& rtf, std::u16string* text, std::string* error) {
    struct Group {
        int fallback; // characters after \uN that stand in for it
        bool hidden;  // a destination whose text is not shown
    };
    static const char* const kHidden[] = {"fonttbl",   "colortbl",  "stylesheet",        "info",
                                          "pict",      "listtable", "listoverridetable", "rsidtbl",
                                          "generator", "xmlnstbl"};
    auto fail = [error](const std::string& why) {
        *error = why;
        return false;
    };
    text->clear();
    size_t i = 0;
    while (i < rtf.size() && std::isspace(static_cast<unsigned char>(rtf[i])))
        ++i;
    if (rtf.compare(i, 5, "{\\rtf") != 0) return fail("no {\\rtf at the start");
    std::vector<Group> groups;
    int skip = 0; // fallback characters still to skip
    bool ended = false;
    bool afterSpace = false; // the last thing read was a space of the text itself
    auto put = [&](char16_t unit) {
        if (skip > 0) {
            --skip;
        } else if (!groups.back().hidden) {
            *text += unit;
        }
    };
    while (i < rtf.size()) {
        char c = rtf[i];
        if (ended) {
            if (!std::isspace(static_cast<unsigned char>(c)) && c != 0)
                return fail("text after the document's end at byte " + std::to_string(i));
            ++i;
            continue;
        }
        bool spaceBefore = afterSpace;
        afterSpace = false;
        if (c == '{') {
            groups.push_back(groups.empty() ? Group{1, false} : groups.back());
            skip = 0;
            ++i;
        } else if (c == '}') {
            if (groups.empty()) return fail("a closing brace too many");
            groups.pop_back();
            skip = 0;
            ended = groups.empty();
            ++i;
        } else if (groups.empty()) {
            return fail("text outside the document");
        } else if (c == '\r' || c == '\n') {
            ++i;
        } else if (c != '\\') {
            if (c == ' ' && spaceBefore && skip == 0) put(u'\u2006');
            put(char16_t(static_cast<unsigned char>(c)));
            afterSpace = c == ' ';
            ++i;
        } else if (i + 1 >= rtf.size()) {
            return fail("a backslash at the end");
        } else if (std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
            size_t at = i + 1;
            while (at < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[at])))
                ++at;
            std::string word = rtf.substr(i + 1, at - i - 1);
            size_t digits = at;
            if (digits < rtf.size() && rtf[digits] == '-') ++digits;
            while (digits < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[digits])))
                ++digits;
            bool hasNumber = digits > at && rtf[digits - 1] != '-';
            long number = hasNumber ? std::stol(rtf.substr(at, digits - at)) : 0;
            at = hasNumber ? digits : at;
            if (at < rtf.size() && rtf[at] == ' ') ++at; // the delimiter is not text
            i = at;
            if (skip > 0) {
                --skip; // a control word stands in for one fallback character
            } else if (word == "u" && hasNumber) {
                put(char16_t(number < 0 ? number + 65536 : number));
                skip = groups.back().fallback;
            } else if (word == "uc" && hasNumber) {
                groups.back().fallback = int(number);
            } else if (word == "par" || word == "line") {
                skip = 0;
                put(u'\n');
            } else if (word == "tab") {
                put(u'\t');
            } else {
                for (const char* hidden : kHidden) {
                    if (word == hidden) groups.back().hidden = true;
                }
            }
        } else {
            char symbol = rtf[i + 1];
            i += 2;
            if (symbol == '\'') {
                if (i + 2 > rtf.size() || !std::isxdigit(static_cast<unsigned char>(rtf[i])) ||
                    !std::isxdigit(static_cast<unsigned char>(rtf[i + 1])))
                    return fail("a bad \\' escape at byte " + std::to_string(i));
                put(char16_t(std::stoi(rtf.substr(i, 2), nullptr, 16)));
                i += 2;
            } else if (skip > 0) {
                --skip;
            } else if (symbol == '*') {
                groups.back().hidden = true;
            } else if (symbol == '\r' || symbol == '\n') {
                put(u'\n');
            } else if (symbol == '~') {
                put(u'\u00A0');
            } else if (symbol == '\\' || symbol == '{' || symbol == '}') {
                put(char16_t(symbol));
            }
        }
    }
    if (!groups.empty()) return fail(std::to_string(groups.size()) + " groups left open");
    return true;
}

// The lines of `text` that are not empty, for comparing what a reader shows with the text
// export line for line (a paragraph break in the document is an empty line between two).
inline std::vector<std::u16string> FilledLines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    std::u16string line;
    for (char16_t u : text + u'\n') {
        if (u == u'\n' || u == u'\r') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else {
            line += u;
        }
    }
    return lines;
}
