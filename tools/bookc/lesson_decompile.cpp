#include <cstdio>
#include <optional>

#include "tools/bookc/hebrew_text.h"
#include "tools/bookc/lesson_format.h"
#include "tools/bookc/lesson_source.h"
#include "tools/bookc/record_walk.h"

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
            if (c < ' ' || c > '~') return std::nullopt;
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
    return encodeUtf8(text);
}

// The header options that give `style`, each after a space; the defaults are left out.
std::string styleWords(uint8_t style, bool control) {
    std::string w;
    bool hebrew = style & StyleHebrew;
    if (!hebrew) w += " latin";
    int align = style & StyleAlignMask;
    if (align != (hebrew ? int(StyleAlignRight) : int(kAlignLeft)) &&
        !((style & kStyleLookBits) == kAlignLeft2 && !control)) {
        w += align == StyleAlignRight    ? " right"
             : align == StyleAlignCenter ? " center"
             : align == kAlignLeft2      ? " left2"
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

std::string rawBlock(const LessonRecord& r, const std::string& padded) {
    std::string text(padded, r.textOffset, r.textLength);
    std::string all = std::string(1, char(r.style)) + char(r.layout) +
                      (r.kind == RecordKind::Nop && r.layout == 0 ? "" : text);
    return "[raw] " + hexBytes(all);
}

// The header of a text record's block, ending in a space.
std::string textHeader(uint8_t style, uint8_t layout, bool title, bool subtitle, bool cont) {
    int h = labelCode(layout);
    std::string margin = marginOf(layout) != ((title || subtitle) ? 0 : kDefaultMargin)
                             ? " margin=" + std::to_string(marginOf(layout))
                             : "";
    if (title || subtitle) {
        return std::string(title ? "[title" : "[subtitle") + (style & StyleHebrew ? "" : " latin") +
               margin + "] ";
    }
    if (cont) {
        std::string block = "[cont";
        if (h != 1) block += ' ' + std::to_string(h); // label code 1 is the default
        return block + styleWords(style, false) + margin + "] ";
    }
    if (h != 0) return "[item " + std::to_string(h) + styleWords(style, false) + margin + "] ";
    return "[p" + styleWords(style, false) + margin + "] ";
}

// A text record, record `index` of the lesson; `afterTitle` says it follows the title, and
// becomes whether it is the title.
std::string textBlock(const LessonRecord& r, const std::string& padded, int index,
                      bool& afterTitle) {
    std::string text(padded, r.textOffset, r.textLength);
    int h = labelCode(r.layout);
    bool title =
        index == 0 && (r.style == TitleHebrewStyle || r.style == TitleLatinStyle) && h == 0;
    bool subtitle = (index == 0 || (index == 1 && afterTitle)) &&
                    (r.style == SubtitleHebrewStyle || r.style == SubtitleLatinStyle) && h == 0;
    bool cont = h != 0 && index > 0 && !text.empty() && text[0] == ' ';
    afterTitle = title;
    std::optional<std::string> words =
        readable(cont ? text.substr(1) : text, r.style & StyleHebrew);
    // A style with no look bits has no block form: the blocks never make it.
    if (!words || (h != 0 && !cont && words->empty()) || (r.style & kStyleLookBits) == 0)
        return rawBlock(r, padded);
    return textHeader(r.style, r.layout, title, subtitle, cont) + *words;
}

std::string ruleBlock(const LessonRecord& r) {
    std::string block = r.layout <= kRuleMaxPixels
                            ? "[rule " + std::to_string(r.layout)
                            : "[rule " + std::to_string((r.layout - kRulePercentBase) * 2) + "%";
    return block + styleWords(r.style, true) + "]";
}

// A link as [link N] or [return], or as [raw] when bookc would write its bytes otherwise.
std::string linkBlock(const LessonRecord& r, const std::string& padded) {
    std::optional<std::string> caption =
        readable(std::string(padded, r.captionOffset, r.captionLength), r.style & StyleHebrew);
    bool oneByte = r.linkNumber < kLinkTwoBytes;
    bool canonical = r.layout == kLinkLayout && oneByte == (r.captionOffset == r.textOffset + 1);
    if (!caption || caption->empty() || !canonical) return rawBlock(r, padded);
    return (r.linkNumber == kReturnLink ? std::string("[return")
                                        : "[link " + std::to_string(r.linkNumber)) +
           styleWords(r.style, true) + "] " + *caption;
}

std::string blockOf(const LessonRecord& r, const std::string& padded, int index, bool& afterTitle) {
    if (r.kind == RecordKind::Text) return textBlock(r, padded, index, afterTitle);
    afterTitle = false;
    if (r.kind == RecordKind::Rule) return ruleBlock(r);
    if (r.kind == RecordKind::Link) return linkBlock(r, padded);
    if (r.layout == 0) return "[nop" + styleWords(r.style, true) + "]";
    return rawBlock(r, padded); // a link whose number is 0
}
} // namespace

std::string DecompileLesson(const std::string& records) {
    std::string out;
    int index = 0;
    bool afterTitle = false;
    WalkRecords(records, nextLessonRecord, [&](const LessonRecord& r, const std::string& padded) {
        std::string block = blockOf(r, padded, index, afterTitle);
        if (block.back() == ' ') block.pop_back();
        out += block;
        out += "\n\n";
        ++index;
    });
    return out;
}
