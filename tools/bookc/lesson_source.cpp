#include "tools/bookc/lesson_source.h"

#include <cctype>
#include <cstring>

#include "tools/bookc/hebrew_text.h"
#include "tools/bookc/lesson_format.h"
#include "tools/bookc/source_lines.h"

namespace {
enum class Kind { Title, Subtitle, Para, Item, Cont, Rule, Link, Return, Nop, Raw };

struct Options {
    bool hebrew = true;
    int align = -1;   // StyleAlignMask bits, -1 = the script's default
    uint8_t bits = 0; // small, large, bold, mark, after
    int margin = -1;
    int style = -1, layout = -1;
};

struct Header {
    Kind kind = Kind::Para;
    int number = 0; // item/cont label code, rule length, link number
    bool percent = false;
    Options options;
};

// One record as it is made: its style and layout bytes and its text, without the terminator.
struct Record {
    uint8_t style = 0;
    uint8_t layout = 0;
    std::string text;
};

const struct {
    const char* name;
    Kind kind;
} kKinds[] = {{"title", Kind::Title}, {"subtitle", Kind::Subtitle}, {"p", Kind::Para},
              {"item", Kind::Item},   {"cont", Kind::Cont},         {"rule", Kind::Rule},
              {"link", Kind::Link},   {"return", Kind::Return},     {"nop", Kind::Nop},
              {"raw", Kind::Raw}};

// The number after the kind, for the kinds that take one.
const struct {
    Kind kind;
    const char* what;
    long low, high;
    bool optional;
} kNumberArgs[] = {{Kind::Item, "a label code", 1, kMaxLabelCode, false},
                   {Kind::Cont, "a label code", 1, kMaxLabelCode, true},
                   {Kind::Rule, "a length", 1, kRuleMaxPixels, false},
                   {Kind::Link, "a link number", 1, kMaxLinkNumber, false}};

// The options that are one word: what they set and the blocks they apply to.
enum class Field { Script, Align, Bits };
const struct {
    const char* name;
    Field field;
    uint8_t value;
    bool titles, controls; // applies to title and subtitle, to rules and links
} kWordOptions[] = {
    {"he", Field::Script, 1, true, true},
    {"latin", Field::Script, 0, true, true},
    {"right", Field::Align, StyleAlignRight, false, true},
    {"left", Field::Align, kAlignLeft, false, true},
    {"center", Field::Align, StyleAlignCenter, false, true},
    {"left2", Field::Align, kAlignLeft2, false, true},
    {"small", Field::Bits, StyleSmall, false, false},
    {"large", Field::Bits, StyleLarge, false, false},
    {"mark", Field::Bits, StyleKeyBit, false, false},
    {"bold", Field::Bits, StyleBold, false, true},
    {"after", Field::Bits, StyleEmptyAfter, false, true},
};

// The options NAME=N.
const struct {
    const char* prefix;
    long low, high;
    bool controls;
    int Options::*field;
    const char* range; // the error when N is out of range
} kValueOptions[] = {
    {"margin=", 0, kMaxMargin, false, &Options::margin, "margin must be 0 to 63"},
    {"style=", 1, UINT8_MAX, true, &Options::style, "style must be 1 to 255"},
    {"layout=", 0, UINT8_MAX, true, &Options::layout, "layout must be 0 to 255"},
};

bool isControlKind(Kind kind) {
    return kind == Kind::Rule || kind == Kind::Link || kind == Kind::Return || kind == Kind::Nop;
}

bool isTitleKind(Kind kind) {
    return kind == Kind::Title || kind == Kind::Subtitle;
}

bool parseKind(const std::string& file, const Block& block, Header& h, SourceError& error) {
    const std::vector<Word>& words = block.header;
    if (words.empty()) return SourceFail(error, file, block.pos, "empty header");
    for (const auto& k : kKinds) {
        if (words[0].text == k.name) {
            h.kind = k.kind;
            return true;
        }
    }
    return SourceFail(error, file, words[0].pos, "unknown block kind '" + words[0].text + "'");
}

// The number after the kind when the kind takes one; `next` moves past it. A rule's number may
// be an even percentage ("50%").
bool parseNumberArg(const std::string& file, const std::vector<Word>& words, size_t& next,
                    Header& h, SourceError& error) {
    if (h.kind == Kind::Cont) h.number = 1; // the label code when none is given
    for (const auto& arg : kNumberArgs) {
        if (arg.kind != h.kind) continue;
        if (next >= words.size() || words[next].text.empty() ||
            !std::isdigit(static_cast<unsigned char>(words[next].text[0]))) {
            if (arg.optional) return true;
            return SourceFail(error, file, words[0].pos,
                              "'" + words[0].text + "' needs " + arg.what);
        }
        std::string w = words[next].text;
        long low = arg.low, high = arg.high, value = 0;
        if (h.kind == Kind::Rule && w.back() == '%') {
            h.percent = true;
            w.pop_back();
            low = kRuleMinPercent;
            high = kRuleMaxPercent;
        }
        if (!ParseSourceNumber(w, low, high, value) || (h.percent && value % 2 != 0)) {
            return SourceFail(error, file, words[next].pos,
                              std::string(arg.what) + " must be " +
                                  (h.percent ? "an even percentage from 2 to 190"
                                             : "a number from " + std::to_string(low) + " to " +
                                                   std::to_string(high)));
        }
        h.number = int(value);
        ++next;
    }
    return true;
}

// One option word after the kind and its number.
bool applyOption(const std::string& file, const Word& word, Header& h, SourceError& error) {
    const std::string& w = word.text;
    const bool titleLike = isTitleKind(h.kind), control = isControlKind(h.kind);
    const std::string notHere = "option '" + w + "' does not apply to this block";
    Options& o = h.options;
    if (h.kind == Kind::Raw) return SourceFail(error, file, word.pos, notHere);
    for (const auto& option : kWordOptions) {
        if (w != option.name) continue;
        if ((titleLike && !option.titles) || (control && !option.controls))
            return SourceFail(error, file, word.pos, notHere);
        if (option.field == Field::Script) o.hebrew = option.value != 0;
        if (option.field == Field::Align) o.align = option.value;
        if (option.field == Field::Bits) o.bits |= option.value;
        return true;
    }
    for (const auto& option : kValueOptions) {
        if (w.rfind(option.prefix, 0) != 0) continue;
        if (control && !option.controls) return SourceFail(error, file, word.pos, notHere);
        long value = 0;
        if (!ParseSourceNumber(w.substr(std::strlen(option.prefix)), option.low, option.high,
                               value))
            return SourceFail(error, file, word.pos, option.range);
        o.*option.field = int(value);
        return true;
    }
    return SourceFail(error, file, word.pos, "unknown option '" + w + "'");
}

// Parses the words inside [ ]: the kind, its number, the options.
bool parseHeader(const std::string& file, const Block& block, Header& h, SourceError& error) {
    if (!parseKind(file, block, h, error)) return false;
    size_t next = 1;
    if (!parseNumberArg(file, block.header, next, h, error)) return false;
    for (; next < block.header.size(); ++next) {
        if (!applyOption(file, block.header[next], h, error)) return false;
    }
    return true;
}

bool convertText(const std::string& file, const Block& block, bool hebrew, std::string& stored,
                 SourceError& error) {
    TextError bad;
    bool ok =
        hebrew ? HebrewToStored(block.text, stored, bad) : LatinToStored(block.text, stored, bad);
    if (!ok) return SourceFail(error, file, block.where[bad.index], bad.message);
    return true;
}

int hexDigit(char32_t c) {
    if (c >= '0' && c <= '9') return int(c - '0');
    if (c >= 'a' && c <= 'f') return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return int(c - 'A' + 10);
    return -1;
}

// The bytes of a [raw] block: hexadecimal pairs, spaces between them allowed.
bool parseHex(const std::string& file, const Block& block, std::string& bytes, SourceError& error) {
    bytes.clear();
    int pending = -1;
    for (size_t i = 0; i < block.text.size(); ++i) {
        if (block.text[i] == ' ') continue;
        int digit = hexDigit(block.text[i]);
        if (digit < 0)
            return SourceFail(error, file, block.where[i], "raw records are hexadecimal bytes");
        if (pending < 0) {
            pending = digit;
        } else {
            bytes += char(pending << 4 | digit);
            pending = -1;
        }
    }
    if (pending >= 0) return SourceFail(error, file, block.pos, "odd number of hexadecimal digits");
    if (bytes.size() < 2)
        return SourceFail(error, file, block.pos, "a raw record needs a style and a layout byte");
    if (bytes[0] == 0)
        return SourceFail(error, file, block.pos, "style byte 0 would end the lesson");
    if (bytes.find('\0', 2) != std::string::npos)
        return SourceFail(error, file, block.pos, "a 0 byte inside the text");
    return true;
}

// The script, alignment and bit options as style bits.
uint8_t styleOf(const Options& o) {
    int align = o.align >= 0 ? o.align : o.hebrew ? int(StyleAlignRight) : int(kAlignLeft);
    return uint8_t((o.hebrew ? StyleHebrew : 0) | align | o.bits);
}

// [title] and [subtitle]: fixed styles, first in the lesson (a subtitle may follow the title).
bool titleRecord(const std::string& file, const Block& block, const Header& h, size_t index,
                 bool afterTitle, Record& r, SourceError& error) {
    const Options& o = h.options;
    if (h.kind == Kind::Title && index != 0)
        return SourceFail(error, file, block.pos, "the title must be the first block");
    if (h.kind == Kind::Subtitle && index != 0 && !(index == 1 && afterTitle)) {
        return SourceFail(error, file, block.pos,
                          "the subtitle must be the first block or follow the title");
    }
    r.style = h.kind == Kind::Title ? (o.hebrew ? TitleHebrewStyle : TitleLatinStyle)
                                    : (o.hebrew ? SubtitleHebrewStyle : SubtitleLatinStyle);
    r.layout = uint8_t(o.margin < 0 ? 0 : o.margin);
    return convertText(file, block, o.hebrew, r.text, error);
}

// [p], [item N] and [cont N]: text records, items and continuations with a label code.
bool textRecord(const std::string& file, const Block& block, const Header& h, size_t index,
                Record& r, SourceError& error) {
    const Options& o = h.options;
    r.style = styleOf(o);
    // A plain left-aligned Latin record would have style byte 0, which ends a lesson (and
    // 0x80, whose lines would end the line table): the second left code draws the same.
    if ((r.style & kStyleLookBits) == 0) r.style |= kAlignLeft2;
    if (isControlStyle(r.style) && o.style < 0) {
        return SourceFail(error, file, block.pos,
                          "small, large and mark together would make a control record");
    }
    int label = h.kind == Kind::Para ? 0 : h.number << kLabelShift;
    r.layout = uint8_t((o.margin < 0 ? kDefaultMargin : o.margin) | label);
    if (!convertText(file, block, o.hebrew, r.text, error)) return false;
    if (h.kind == Kind::Item && r.text.find_first_not_of(' ') == std::string::npos)
        return SourceFail(error, file, block.pos, "an item needs a label word");
    if (h.kind == Kind::Cont) {
        if (index == 0)
            return SourceFail(error, file, block.pos, "a continuation needs an item before it");
        r.text.insert(r.text.begin(), ' ');
    }
    return true;
}

// [link N] and [return]: the number in one or two bytes, then the caption.
bool linkRecord(const std::string& file, const Block& block, const Header& h, Record& r,
                std::vector<uint16_t>& links, SourceError& error) {
    uint16_t number = h.kind == Kind::Return ? kReturnLink : uint16_t(h.number);
    if (block.text.empty()) return SourceFail(error, file, block.pos, "a link needs a caption");
    std::string caption;
    if (!convertText(file, block, h.options.hebrew, caption, error)) return false;
    r.layout = kLinkLayout;
    r.text += char(number & kLinkLowMask);
    if (number >= kLinkTwoBytes) r.text += char(kLinkSecondByte | (number >> kLinkNumberBits));
    r.text += caption;
    links.push_back(number);
    return true;
}

// [rule], [nop], [link] and [return]: control records.
bool controlRecord(const std::string& file, const Block& block, const Header& h, Record& r,
                   std::vector<uint16_t>& links, SourceError& error) {
    r.style = uint8_t(StyleControl | styleOf(h.options));
    if (h.kind == Kind::Link || h.kind == Kind::Return)
        return linkRecord(file, block, h, r, links, error);
    if (!block.text.empty())
        return SourceFail(error, file, block.where[0], "this block takes no text");
    if (h.kind == Kind::Rule)
        r.layout = uint8_t(h.percent ? kRulePercentBase + h.number / 2 : h.number);
    return true;
}

bool rawRecord(const std::string& file, const Block& block, Record& r, SourceError& error) {
    std::string bytes;
    if (!parseHex(file, block, bytes, error)) return false;
    r.style = uint8_t(bytes[0]);
    r.layout = uint8_t(bytes[1]);
    r.text = bytes.substr(2);
    return true;
}

// The record block `index` of the lesson makes, before the style and layout overrides.
bool makeRecord(const std::string& file, const Block& block, const Header& h, size_t index,
                bool afterTitle, Record& r, std::vector<uint16_t>& links, SourceError& error) {
    switch (h.kind) {
    case Kind::Title:
    case Kind::Subtitle:
        return titleRecord(file, block, h, index, afterTitle, r, error);
    case Kind::Para:
    case Kind::Item:
    case Kind::Cont:
        return textRecord(file, block, h, index, r, error);
    case Kind::Rule:
    case Kind::Nop:
    case Kind::Link:
    case Kind::Return:
        return controlRecord(file, block, h, r, links, error);
    case Kind::Raw:
        return rawRecord(file, block, r, error);
    }
    return false;
}

// Applies style= and layout=, then refuses records the reader would read otherwise.
bool finishRecord(const std::string& file, const Block& block, const Options& o, size_t index,
                  Record& r, SourceError& error) {
    if (o.style >= 0) r.style = uint8_t(o.style);
    if (o.layout >= 0) r.layout = uint8_t(o.layout);
    if (isControlStyle(r.style) && r.layout == 0 && !r.text.empty()) {
        return SourceFail(error, file, block.pos,
                          "a control record with layout 0 is three bytes long: it takes no text");
    }
    if (index == 0 && r.text.empty() && !isControlStyle(r.style)) {
        return SourceFail(error, file, block.pos,
                          "the first record must not be an empty text record (the reader "
                          "refuses such a lesson)");
    }
    return true;
}
} // namespace

bool CompileLesson(const std::string& file, const std::string& source, CompiledLesson& out,
                   SourceError& error) {
    out = {};
    std::vector<Block> blocks;
    if (!SplitBlocks(file, source, blocks, error)) return false;
    if (blocks.empty())
        return SourceFail(error, file, {1, 1}, "a lesson needs at least one record");
    bool afterTitle = false;
    for (size_t b = 0; b < blocks.size(); ++b) {
        const Block& block = blocks[b];
        Header h;
        Record r;
        if (block.hasHeader && !parseHeader(file, block, h, error)) return false;
        if (!makeRecord(file, block, h, b, afterTitle, r, out.links, error) ||
            !finishRecord(file, block, h.options, b, r, error))
            return false;
        // Whatever block made it, a first record with a title's style is the title.
        afterTitle = b == 0 && (r.style == TitleHebrewStyle || r.style == TitleLatinStyle);
        out.records += char(r.style);
        out.records += char(r.layout);
        out.records += r.text;
        out.records += '\0';
        if (out.records.size() > kMaxLessonBytes)
            return SourceFail(error, file, block.pos, "the lesson grows past 65,535 bytes");
    }
    return true;
}
