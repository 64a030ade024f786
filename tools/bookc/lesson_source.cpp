#include "tools/bookc/lesson_source.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "content/lesson_records.h"
#include "content/resource.h"
#include "tools/bookc/hebrew_text.h"
#include "tools/bookc/source_lines.h"

namespace {
enum class Kind { Title, Subtitle, Para, Item, Cont, Rule, Link, Return, Nop, Raw };

struct Options {
    bool hebrew = true;
    int align = -1;   // style bits 0x60, -1 = the script's default
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

bool fail(SourceError& error, const std::string& file, SourcePos pos, const std::string& message) {
    error = {file, pos.line, pos.column, message};
    return false;
}

bool parseNumber(const std::string& word, long low, long high, long& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(
        word.c_str(), &end,
        word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X') ? 16 : 10);
    if (*end != 0 || v < low || v > high) return false;
    value = v;
    return true;
}

// Parses the words inside [ ]: the kind, its number, the options.
bool parseHeader(const std::string& file, const Block& block, Header& h, SourceError& error) {
    const std::vector<Word>& words = block.header;
    static const struct {
        const char* name;
        Kind kind;
    } kinds[] = {{"title", Kind::Title}, {"subtitle", Kind::Subtitle}, {"p", Kind::Para},
                 {"item", Kind::Item},   {"cont", Kind::Cont},         {"rule", Kind::Rule},
                 {"link", Kind::Link},   {"return", Kind::Return},     {"nop", Kind::Nop},
                 {"raw", Kind::Raw}};
    if (words.empty()) return fail(error, file, block.pos, "empty header");
    bool known = false;
    for (const auto& k : kinds) {
        if (words[0].text == k.name) {
            h.kind = k.kind;
            known = true;
        }
    }
    if (!known)
        return fail(error, file, words[0].pos, "unknown block kind '" + words[0].text + "'");
    size_t next = 1;
    long value = 0;
    auto numberArg = [&](const char* what, long low, long high, bool optional) {
        if (next < words.size() && !words[next].text.empty() &&
            std::isdigit(static_cast<unsigned char>(words[next].text[0]))) {
            std::string w = words[next].text;
            if (h.kind == Kind::Rule && w.back() == '%') {
                h.percent = true;
                w.pop_back();
                low = 2;
                high = 190;
            }
            if (!parseNumber(w, low, high, value) || (h.percent && value % 2 != 0)) {
                return fail(error, file, words[next].pos,
                            std::string(what) + " must be " +
                                (h.percent ? "an even percentage from 2 to 190"
                                           : "a number from " + std::to_string(low) + " to " +
                                                 std::to_string(high)));
            }
            h.number = int(value);
            ++next;
            return true;
        }
        if (optional) return true;
        return fail(error, file, words[0].pos,
                    std::string("'") + words[0].text + "' needs " + what);
    };
    switch (h.kind) {
    case Kind::Item:
        if (!numberArg("a label code", 1, 3, false)) return false;
        break;
    case Kind::Cont:
        h.number = 1;
        if (!numberArg("a label code", 1, 3, true)) return false;
        break;
    case Kind::Rule:
        if (!numberArg("a length", 1, 160, false)) return false;
        break;
    case Kind::Link:
        // 16383 is the return link, written [return].
        if (!numberArg("a link number", 1, 16382, false)) return false;
        break;
    default:
        break;
    }
    bool control = h.kind == Kind::Rule || h.kind == Kind::Link || h.kind == Kind::Return ||
                   h.kind == Kind::Nop;
    bool titleLike = h.kind == Kind::Title || h.kind == Kind::Subtitle;
    Options& o = h.options;
    for (; next < words.size(); ++next) {
        const std::string& w = words[next].text;
        SourcePos at = words[next].pos;
        auto notHere = [&]() {
            return fail(error, file, at, "option '" + w + "' does not apply to this block");
        };
        if (h.kind == Kind::Raw) return notHere();
        if (w == "he" || w == "latin") {
            o.hebrew = w == "he";
        } else if (w == "right" || w == "left" || w == "center" || w == "left2") {
            if (titleLike) return notHere();
            o.align = w == "right" ? 0x20 : w == "left" ? 0x00 : w == "center" ? 0x40 : 0x60;
        } else if (w == "small" || w == "large" || w == "mark") {
            if (titleLike || control) return notHere();
            o.bits |= w == "small" ? StyleSmall : w == "large" ? StyleLarge : StyleKeyBit;
        } else if (w == "bold" || w == "after") {
            if (titleLike) return notHere();
            o.bits |= w == "bold" ? StyleBold : StyleEmptyAfter;
        } else if (w.rfind("margin=", 0) == 0) {
            if (control) return notHere();
            if (!parseNumber(w.substr(7), 0, 63, value))
                return fail(error, file, at, "margin must be 0 to 63");
            o.margin = int(value);
        } else if (w.rfind("style=", 0) == 0 || w.rfind("layout=", 0) == 0) {
            bool isStyle = w[0] == 's';
            if (!parseNumber(w.substr(isStyle ? 6 : 7), isStyle ? 1 : 0, 255, value)) {
                return fail(error, file, at,
                            isStyle ? "style must be 1 to 255" : "layout must be 0 to 255");
            }
            (isStyle ? o.style : o.layout) = int(value);
        } else {
            return fail(error, file, at, "unknown option '" + w + "'");
        }
    }
    return true;
}

bool convertText(const std::string& file, const Block& block, bool hebrew, std::string& stored,
                 SourceError& error) {
    TextError bad;
    bool ok =
        hebrew ? HebrewToStored(block.text, stored, bad) : LatinToStored(block.text, stored, bad);
    if (!ok) return fail(error, file, block.where[bad.index], bad.message);
    return true;
}

bool parseHex(const std::string& file, const Block& block, std::string& bytes, SourceError& error) {
    bytes.clear();
    int pending = -1;
    for (size_t i = 0; i < block.text.size(); ++i) {
        char32_t c = block.text[i];
        if (c == ' ') continue;
        int digit = (c >= '0' && c <= '9')   ? int(c - '0')
                    : (c >= 'a' && c <= 'f') ? int(c - 'a' + 10)
                    : (c >= 'A' && c <= 'F') ? int(c - 'A' + 10)
                                             : -1;
        if (digit < 0)
            return fail(error, file, block.where[i], "raw records are hexadecimal bytes");
        if (pending < 0) {
            pending = digit;
        } else {
            bytes += char(pending << 4 | digit);
            pending = -1;
        }
    }
    if (pending >= 0) return fail(error, file, block.pos, "odd number of hexadecimal digits");
    if (bytes.size() < 2)
        return fail(error, file, block.pos, "a raw record needs a style and a layout byte");
    if (bytes[0] == 0) return fail(error, file, block.pos, "style byte 0 would end the lesson");
    if (bytes.find('\0', 2) != std::string::npos)
        return fail(error, file, block.pos, "a 0 byte inside the text");
    return true;
}
} // namespace

bool CompileLesson(const std::string& file, const std::string& source, CompiledLesson& out,
                   SourceError& error) {
    out = {};
    std::vector<Block> blocks;
    if (!SplitBlocks(file, source, blocks, error)) return false;
    if (blocks.empty()) return fail(error, file, {1, 1}, "a lesson needs at least one record");
    bool afterTitle = false;
    for (size_t b = 0; b < blocks.size(); ++b) {
        const Block& block = blocks[b];
        Header h;
        if (block.hasHeader && !parseHeader(file, block, h, error)) return false;
        const Options& o = h.options;
        uint8_t style = 0, layout = 0;
        std::string text;
        switch (h.kind) {
        case Kind::Title:
        case Kind::Subtitle:
            if (h.kind == Kind::Title && b != 0)
                return fail(error, file, block.pos, "the title must be the first block");
            if (h.kind == Kind::Subtitle && b != 0 && !(b == 1 && afterTitle)) {
                return fail(error, file, block.pos,
                            "the subtitle must be the first block or follow the title");
            }
            style = h.kind == Kind::Title ? (o.hebrew ? TitleHebrewStyle : TitleLatinStyle)
                                          : (o.hebrew ? SubtitleHebrewStyle : SubtitleLatinStyle);
            layout = uint8_t(o.margin < 0 ? 0 : o.margin);
            if (!convertText(file, block, o.hebrew, text, error)) return false;
            break;
        case Kind::Para:
        case Kind::Item:
        case Kind::Cont:
            style = uint8_t((o.hebrew ? StyleHebrew : 0) |
                            (o.align >= 0 ? o.align
                             : o.hebrew   ? StyleAlignRight
                                          : 0) |
                            o.bits);
            // A plain left-aligned Latin record would have style byte 0, which ends a lesson (and
            // 0x80, whose lines would end the line table): the second left code draws the same.
            if ((style & 0x7F) == 0) style |= StyleAlignMask;
            if ((style & 7) == 7 && o.style < 0) {
                return fail(error, file, block.pos,
                            "small, large and mark together would make a control record");
            }
            layout =
                uint8_t((o.margin < 0 ? 4 : o.margin) | (h.kind == Kind::Para ? 0 : h.number << 6));
            if (!convertText(file, block, o.hebrew, text, error)) return false;
            if (h.kind == Kind::Item && text.find_first_not_of(' ') == std::string::npos) {
                return fail(error, file, block.pos, "an item needs a label word");
            }
            if (h.kind == Kind::Cont) {
                if (b == 0)
                    return fail(error, file, block.pos, "a continuation needs an item before it");
                text.insert(text.begin(), ' ');
            }
            break;
        case Kind::Rule:
        case Kind::Nop:
        case Kind::Link:
        case Kind::Return:
            style = uint8_t(StyleControl | (o.hebrew ? StyleHebrew : 0) |
                            (o.align >= 0 ? o.align
                             : o.hebrew   ? StyleAlignRight
                                          : 0) |
                            o.bits);
            if (h.kind == Kind::Rule || h.kind == Kind::Nop) {
                if (!block.text.empty())
                    return fail(error, file, block.where[0], "this block takes no text");
                layout =
                    h.kind == Kind::Nop ? 0 : uint8_t(h.percent ? 160 + h.number / 2 : h.number);
            } else {
                uint16_t number = h.kind == Kind::Return ? kReturnLink : uint16_t(h.number);
                if (block.text.empty())
                    return fail(error, file, block.pos, "a link needs a caption");
                std::string caption;
                if (!convertText(file, block, o.hebrew, caption, error)) return false;
                layout = 1;
                text += char(number & 0x7F);
                if (number >= 0x80) text += char(0x80 | (number >> 7));
                text += caption;
                out.links.push_back(number);
            }
            break;
        case Kind::Raw: {
            std::string bytes;
            if (!parseHex(file, block, bytes, error)) return false;
            style = uint8_t(bytes[0]);
            layout = uint8_t(bytes[1]);
            text = bytes.substr(2);
            break;
        }
        }
        if (o.style >= 0) style = uint8_t(o.style);
        if (o.layout >= 0) layout = uint8_t(o.layout);
        if (isControlStyle(style) && layout == 0 && !text.empty()) {
            return fail(error, file, block.pos,
                        "a control record with layout 0 is three bytes long: it takes no text");
        }
        if (b == 0 && text.empty() && !isControlStyle(style)) {
            return fail(error, file, block.pos,
                        "the first record must not be an empty text record (the reader refuses "
                        "such a lesson)");
        }
        // Whatever block made it, a first record with a title's style is the title.
        afterTitle = b == 0 && (style == TitleHebrewStyle || style == TitleLatinStyle);
        out.records += char(style);
        out.records += char(layout);
        out.records += text;
        out.records += '\0';
        if (out.records.size() > 65535)
            return fail(error, file, block.pos, "the lesson grows past 65,535 bytes");
    }
    return true;
}

namespace {
std::string hexBytes(const std::string& bytes) {
    std::string s;
    char buf[4];
    for (unsigned char b : bytes) {
        std::snprintf(buf, sizeof buf, "%s%02X", s.empty() ? "" : " ", b);
        s += buf;
    }
    return s;
}

// The text of a record as it would be written, or nothing when it does not read back exactly.
std::optional<std::string> readable(const std::string& stored, bool hebrew) {
    if (!hebrew) {
        for (unsigned char c : stored) {
            if (c < 0x20 || c > 0x7E) return std::nullopt;
        }
        if (!stored.empty() && (stored.front() == ' ' || stored.back() == ' ')) return std::nullopt;
        if (stored.find("  ") != std::string::npos || (!stored.empty() && stored[0] == '['))
            return std::nullopt;
        return stored;
    }
    bool exact = false;
    std::u32string text = StoredToHebrew(stored, &exact);
    if (!exact ||
        (!text.empty() && (text.front() == U' ' || text.back() == U' ' || text[0] == U'[')))
        return std::nullopt;
    if (text.find(U"  ") != std::u32string::npos) return std::nullopt;
    return EncodeUtf8(text);
}

std::string styleWords(uint8_t style, bool control) {
    std::string w;
    bool hebrew = style & StyleHebrew;
    if (!hebrew) w += " latin";
    int align = style & StyleAlignMask;
    if (align != (hebrew ? StyleAlignRight : 0) &&
        !((style & 0x7F) == StyleAlignMask && !control)) {
        w += align == 0x20   ? " right"
             : align == 0x40 ? " center"
             : align == 0x60 ? " left2"
                             : " left";
    }
    if (!control) {
        if (style & StyleSmall) w += " small";
        if (style & StyleLarge) w += " large";
        if (style & StyleKeyBit) w += " mark";
    }
    if (style & StyleBold) w += " bold";
    if (style & StyleEmptyAfter) w += " after";
    return w;
}
} // namespace

std::string DecompileLesson(const std::string& records) {
    std::string padded = records;
    padded.append(kExpandPadding, '\0');
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(padded.data());
    std::string out;
    uint32_t pos = 0;
    LessonRecord r;
    int index = 0;
    bool afterTitle = false;
    while (pos < records.size() && NextLessonRecord(bytes, &pos, &r)) {
        std::string text(padded, r.textOffset, r.textLength);
        bool hebrew = r.style & StyleHebrew;
        std::string block;
        auto raw = [&]() {
            std::string all = std::string(1, char(r.style)) + char(r.layout) +
                              (r.kind == RecordKind::Nop && r.layout == 0 ? "" : text);
            return "[raw] " + hexBytes(all);
        };
        if (r.kind == RecordKind::Text) {
            bool title = index == 0 &&
                         (r.style == TitleHebrewStyle || r.style == TitleLatinStyle) &&
                         labelCode(r.layout) == 0;
            bool subtitle = (index == 0 || (index == 1 && afterTitle)) &&
                            (r.style == SubtitleHebrewStyle || r.style == SubtitleLatinStyle) &&
                            labelCode(r.layout) == 0;
            int h = labelCode(r.layout);
            bool cont = h != 0 && index > 0 && !text.empty() && text[0] == ' ';
            std::optional<std::string> words = readable(cont ? text.substr(1) : text, hebrew);
            // Style 0x80 has no block form: the blocks never make it.
            if (!words || (h != 0 && !cont && words->empty()) || (r.style & 0x7F) == 0) {
                block = raw();
            } else {
                std::string margin = marginOf(r.layout) != ((title || subtitle) ? 0 : 4)
                                         ? " margin=" + std::to_string(marginOf(r.layout))
                                         : "";
                if (title || subtitle) {
                    block = std::string(title ? "[title" : "[subtitle") + (hebrew ? "" : " latin") +
                            margin + "] ";
                } else if (cont) {
                    block = "[cont" + (h == 1 ? std::string() : " " + std::to_string(h)) +
                            styleWords(r.style, false) + margin + "] ";
                } else if (h != 0) {
                    block =
                        "[item " + std::to_string(h) + styleWords(r.style, false) + margin + "] ";
                } else {
                    block = "[p" + styleWords(r.style, false) + margin + "] ";
                }
                block += *words;
            }
            afterTitle = title;
        } else if (r.kind == RecordKind::Rule) {
            block = r.layout <= 160 ? "[rule " + std::to_string(r.layout)
                                    : "[rule " + std::to_string((r.layout - 160) * 2) + "%";
            block += styleWords(r.style, true) + "]";
        } else if (r.kind == RecordKind::Link) {
            std::optional<std::string> caption =
                readable(std::string(padded, r.captionOffset, r.captionLength), hebrew);
            bool canonical =
                r.layout == 1 && (r.linkNumber < 0x80) == (r.captionOffset == r.textOffset + 1);
            if (!caption || caption->empty() || !canonical) {
                block = raw();
            } else {
                block = (r.linkNumber == kReturnLink ? std::string("[return")
                                                     : "[link " + std::to_string(r.linkNumber)) +
                        styleWords(r.style, true) + "] " + *caption;
            }
        } else if (r.layout == 0) {
            block = "[nop" + styleWords(r.style, true) + "]";
        } else {
            block = raw(); // a link whose number is 0
        }
        if (r.kind != RecordKind::Text) afterTitle = false;
        if (block.back() == ' ') block.pop_back();
        out += block;
        out += "\n\n";
        ++index;
    }
    return out;
}
