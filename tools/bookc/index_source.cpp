#include "tools/bookc/index_source.h"

#include <cstdio>
#include <cstdlib>

#include "content/book_constants.h"
#include "content/index_records.h"
#include "content/resource.h"
#include "tools/bookc/hebrew_text.h"
#include "tools/bookc/source_lines.h"

namespace {
bool number(const std::string& word, long low, long high, long& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    long v = std::strtol(word.c_str(), &end, hex ? 16 : 10);
    if (*end != 0 || v < low || v > high) return false;
    value = v;
    return true;
}
} // namespace

bool CompileIndex(const std::string& file, const std::string& source, std::string& out,
                  SourceError& error) {
    out.clear();
    std::vector<std::string> lines = SplitLines(source);
    int records = 0;
    for (size_t n = 0; n < lines.size(); ++n) {
        int lineNo = int(n) + 1;
        std::u32string line;
        size_t bad = 0;
        if (!DecodeUtf8(lines[n], line, &bad)) {
            std::u32string before;
            DecodeUtf8(lines[n].substr(0, bad), before, nullptr);
            error = {file, lineNo, int(before.size()) + 1, "malformed UTF-8"};
            return false;
        }
        if (line.find_first_not_of(U" \t") == std::u32string::npos || line[0] == U'#') continue;
        size_t colon = line.find(U':');
        if (colon == std::u32string::npos) {
            error = {file, lineNo, 1, "a record needs ': title'"};
            return false;
        }
        std::vector<Word> words = SplitWords(line.substr(0, colon), lineNo, 1);
        auto fail = [&](SourcePos at, const std::string& message) {
            error = {file, at.line, at.column, message};
            return false;
        };
        if (words.size() < 2)
            return fail({lineNo, 1}, "expected 'entry N', 'heading ID' or 'record VALUE'");
        long value = 0;
        uint16_t sectionValue = 0;
        if (words[0].text == "entry") {
            if (!number(words[1].text, 1, kLessonCount, value))
                return fail(words[1].pos, "lesson number must be 1 to 53");
            sectionValue = uint16_t(SectionEntry | value);
        } else if (words[0].text == "heading") {
            if (!number(words[1].text, 0, SectionNumberMask, value))
                return fail(words[1].pos, "heading identifier must be 0 to 0x3FFF");
            sectionValue = uint16_t(SectionHeading | value);
        } else if (words[0].text == "record") {
            if (!number(words[1].text, 0, 0xFFFF, value))
                return fail(words[1].pos, "value must be 0 to 0xFFFF");
            sectionValue = uint16_t(value);
        } else {
            return fail(words[0].pos, "unknown record kind '" + words[0].text + "'");
        }
        uint8_t style = 0;
        int level = -1;
        for (size_t w = 2; w < words.size(); ++w) {
            const std::string& t = words[w].text;
            if (t == "shown") {
                style |= SectionShown;
            } else if (t == "open") {
                style |= SectionOpen;
            } else if (t.rfind("key=", 0) == 0) {
                if (!number(t.substr(4), 0, SectionKeyMask, value))
                    return fail(words[w].pos, "key must be 0 to 0x1F");
                style |= uint8_t(value);
            } else if (t.rfind("level=", 0) == 0) {
                if (!number(t.substr(6), 1, 255, value))
                    return fail(words[w].pos, "level must be 1 to 255");
                level = int(value);
            } else {
                return fail(words[w].pos, "unknown option '" + t + "'");
            }
        }
        if (level < 0) return fail(words[0].pos, "a record needs level=N");
        if (style == 0)
            return fail(words[0].pos, "style 0 is the end marker: give shown, open or key");
        size_t titleStart = colon + 1;
        while (titleStart < line.size() && line[titleStart] == U' ')
            ++titleStart;
        size_t titleEnd = line.size();
        while (titleEnd > titleStart && (line[titleEnd - 1] == U' ' || line[titleEnd - 1] == U'\t'))
            --titleEnd;
        std::string title;
        TextError bad2;
        if (!HebrewToStored(line.substr(titleStart, titleEnd - titleStart), title, bad2)) {
            return fail({lineNo, int(titleStart + bad2.index) + 1}, bad2.message);
        }
        out += char(sectionValue & 0xFF);
        out += char(sectionValue >> 8);
        out += char(style);
        out += char(level);
        out += title;
        out += '\0';
        ++records;
    }
    if (records == 0) {
        error = {file, 1, 1, "the index has no records"};
        return false;
    }
    out.append(5, '\0');
    return true;
}

std::string DecompileIndex(const std::string& records) {
    std::string padded = records;
    padded.append(kExpandPadding, '\0');
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(padded.data());
    std::string out;
    uint32_t pos = 0;
    SectionRecord r;
    char buf[32];
    while (pos < records.size() && NextSectionRecord(bytes, &pos, &r)) {
        uint16_t v = r.sectionValue;
        if ((v & 0xC000) == SectionEntry && (v & SectionNumberMask) != 0 &&
            (v & SectionNumberMask) <= kLessonCount) {
            out += "entry " + std::to_string(v & SectionNumberMask);
        } else if ((v & 0xC000) == SectionHeading) {
            std::snprintf(buf, sizeof buf, "heading 0x%04X", v & SectionNumberMask);
            out += buf;
        } else {
            std::snprintf(buf, sizeof buf, "record 0x%04X", v);
            out += buf;
        }
        out += " level=" + std::to_string(r.level);
        if (r.sectionStyle & SectionShown) out += " shown";
        if (r.sectionStyle & SectionOpen) out += " open";
        std::snprintf(buf, sizeof buf, " key=0x%02X", r.sectionStyle & SectionKeyMask);
        out += buf;
        bool exact = false;
        std::u32string title =
            StoredToHebrew(std::string(padded, r.titleOffset, r.titleLength), &exact);
        out += " : " + EncodeUtf8(title);
        if (!exact) out += "   # does not read back exactly";
        out += "\n";
    }
    return out;
}
