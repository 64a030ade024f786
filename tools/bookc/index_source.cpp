#include "tools/bookc/index_source.h"

#include <cstdint>
#include <cstdio>

#include "content/book_constants.h"
#include "content/index_records.h"
#include "tools/bookc/hebrew_text.h"
#include "tools/bookc/record_walk.h"
#include "tools/bookc/source_lines.h"

namespace {
constexpr uint16_t kSectionKindMask = SectionHeading | SectionEntry;
constexpr long kMaxLevel = 255;
constexpr size_t kIndexEndZeros = 5; // the index ends with five zero bytes

// One index line, read.
struct IndexRecord {
    uint16_t value = 0;
    uint8_t style = 0;
    int level = -1; // -1 until level=N
    std::string title;
};

// The words before the options: entry N, heading ID or record VALUE.
bool parseValue(const std::string& file, const std::vector<Word>& words, uint16_t& sectionValue,
                SourceError& error) {
    long value = 0;
    const Word& kind = words[0];
    const Word& arg = words[1];
    if (kind.text == "entry") {
        if (!ParseSourceNumber(arg.text, 1, kLessonCount, value))
            return SourceFail(error, file, arg.pos, "lesson number must be 1 to 53");
        sectionValue = uint16_t(SectionEntry | value);
    } else if (kind.text == "heading") {
        if (!ParseSourceNumber(arg.text, 0, SectionNumberMask, value))
            return SourceFail(error, file, arg.pos, "heading identifier must be 0 to 0x3FFF");
        sectionValue = uint16_t(SectionHeading | value);
    } else if (kind.text == "record") {
        if (!ParseSourceNumber(arg.text, 0, UINT16_MAX, value))
            return SourceFail(error, file, arg.pos, "value must be 0 to 0xFFFF");
        sectionValue = uint16_t(value);
    } else {
        return SourceFail(error, file, kind.pos, "unknown record kind '" + kind.text + "'");
    }
    return true;
}

// The options after the value: shown, open, key=N, level=N; a level and a style are needed.
bool parseOptions(const std::string& file, const std::vector<Word>& words, IndexRecord& record,
                  SourceError& error) {
    long value = 0;
    for (size_t w = 2; w < words.size(); ++w) {
        const std::string& t = words[w].text;
        if (t == "shown") {
            record.style |= SectionShown;
        } else if (t == "open") {
            record.style |= SectionOpen;
        } else if (t.rfind("key=", 0) == 0) {
            if (!ParseSourceNumber(t.substr(4), 0, SectionKeyMask, value))
                return SourceFail(error, file, words[w].pos, "key must be 0 to 0x1F");
            record.style |= uint8_t(value);
        } else if (t.rfind("level=", 0) == 0) {
            if (!ParseSourceNumber(t.substr(6), 1, kMaxLevel, value))
                return SourceFail(error, file, words[w].pos, "level must be 1 to 255");
            record.level = int(value);
        } else {
            return SourceFail(error, file, words[w].pos, "unknown option '" + t + "'");
        }
    }
    if (record.level < 0) return SourceFail(error, file, words[0].pos, "a record needs level=N");
    if (record.style == 0) {
        return SourceFail(error, file, words[0].pos,
                          "style 0 is the end marker: give shown, open or key");
    }
    return true;
}

// The title after the colon, without the blanks around it, in the letter code.
bool parseTitle(const std::string& file, int lineNo, const std::u32string& line, size_t colon,
                std::string& title, SourceError& error) {
    size_t start = colon + 1;
    while (start < line.size() && line[start] == U' ')
        ++start;
    size_t end = line.size();
    while (end > start && (line[end - 1] == U' ' || line[end - 1] == U'\t'))
        --end;
    TextError bad;
    if (!HebrewToStored(line.substr(start, end - start), title, bad))
        return SourceFail(error, file, {lineNo, int(start + bad.index) + 1}, bad.message);
    return true;
}

// One record line: "KIND VALUE OPTIONS... : TITLE".
bool parseRecord(const std::string& file, int lineNo, const std::u32string& line,
                 IndexRecord& record, SourceError& error) {
    size_t colon = line.find(U':');
    if (colon == std::u32string::npos)
        return SourceFail(error, file, {lineNo, 1}, "a record needs ': title'");
    std::vector<Word> words = SplitWords(line.substr(0, colon), lineNo, 1);
    if (words.size() < 2) {
        return SourceFail(error, file, {lineNo, 1},
                          "expected 'entry N', 'heading ID' or 'record VALUE'");
    }
    return parseValue(file, words, record.value, error) &&
           parseOptions(file, words, record, error) &&
           parseTitle(file, lineNo, line, colon, record.title, error);
}

void appendRecord(const IndexRecord& record, std::string& out) {
    out += char(record.value & 0xFF); // little-endian
    out += char(record.value >> 8);
    out += char(record.style);
    out += char(record.level);
    out += record.title;
    out += '\0';
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
        if (!DecodeSourceLine(file, lineNo, lines[n], line, error)) return false;
        if (line.find_first_not_of(U" \t") == std::u32string::npos || line[0] == U'#') continue;
        IndexRecord record;
        if (!parseRecord(file, lineNo, line, record, error)) return false;
        appendRecord(record, out);
        ++records;
    }
    if (records == 0) return SourceFail(error, file, {1, 1}, "the index has no records");
    out.append(kIndexEndZeros, '\0');
    return true;
}

namespace {
// The words before the level: entry N, heading 0xID or, for any other value, record 0xVALUE.
std::string valueWords(uint16_t v) {
    char buf[32];
    unsigned number = v & SectionNumberMask;
    if ((v & kSectionKindMask) == SectionEntry && number != 0 && number <= kLessonCount)
        return "entry " + std::to_string(number);
    if ((v & kSectionKindMask) == SectionHeading)
        std::snprintf(buf, sizeof buf, "heading 0x%04X", number);
    else
        std::snprintf(buf, sizeof buf, "record 0x%04X", v);
    return buf;
}
} // namespace

std::string DecompileIndex(const std::string& records) {
    std::string out;
    WalkRecords(records, nextSectionRecord, [&](const SectionRecord& r, const std::string& padded) {
        char buf[32];
        out += valueWords(r.sectionValue);
        out += " level=" + std::to_string(r.level);
        if (r.sectionStyle & SectionShown) out += " shown";
        if (r.sectionStyle & SectionOpen) out += " open";
        std::snprintf(buf, sizeof buf, " key=0x%02X", r.sectionStyle & SectionKeyMask);
        out += buf;
        bool exact = false;
        std::u32string title =
            StoredToHebrew(std::string(padded, r.titleOffset, r.titleLength), &exact);
        out += " : " + encodeUtf8(title);
        if (!exact) out += "   # does not read back exactly";
        out += "\n";
    });
    return out;
}
