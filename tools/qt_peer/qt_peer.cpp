#include "tools/qt_peer/qt_peer.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

#include <map>
#include <memory>
#include <vector>

#include "content/lesson_records.h"

namespace {
// One record as the reader lays it out: a paragraph (text record or link caption), a rule, or
// a record that only moves the margin.
struct Item {
    enum Kind { Margin, Paragraph, Rule } kind;
    uint8_t layout;    // the record's layout byte
    bool continuation; // goes on from the running indent, without a label
    int label;         // label code (0: none)
    int labelWidth;    // the label column's width in the paragraph's font
    int align;         // StyleAlignMask bits
    bool emptyAfter;   // an empty line follows the record
    bool link;         // a link caption: from the area's left edge
    QColor colour;     // the style's text colour
    int fontHeight;    // the font's line height, which a rule after it takes too
    std::unique_ptr<QTextLayout> text;
    int ruleLength = 0; // laid out: a rule's length
    int x = 0;          // laid out: a rule's left edge
};

// The reader's style fonts: large type 5/4 of the chosen size, small 6/8 of it, bold or not,
// without kerning (the reader measures without it).
QFont styleFont(const QString& face, int size, int key) {
    QFont font(face);
    int height = key & StyleLarge ? size * 5 / 4 : key & StyleSmall ? size * 6 / 8 : size;
    font.setPixelSize(height);
    font.setWeight(key & StyleBold ? QFont::Bold : QFont::Normal);
    font.setKerning(false);
    return font;
}

QColor styleColour(int key) {
    if ((key & (StyleLarge | StyleBold)) == (StyleLarge | StyleBold)) return Qt::blue;
    return key & StyleSmall ? Qt::darkBlue : Qt::black;
}

// A Hebrew record's byte as the reader converts it: the 27 letter forms to the font's letter
// base, 0x7E to '{'; any other record's bytes pass.
char16_t letter(uint8_t b, bool hebrew, int base) {
    if (!hebrew) return b;
    if (b >= 0x61 && b <= 0x7B) return char16_t(base + b - 0x61);
    return b == 0x7E ? u'{' : b;
}
} // namespace

struct QtPeer {
    std::vector<Item> items;
    int height = 0;
    QImage image;
};

QtPeer* QtPeerCreate(const uint8_t* lesson, const std::u16string& face, int pixelSize,
                     int letterBase) {
    auto* peer = new QtPeer;
    const QString family = QString::fromStdU16String(face);
    std::map<int, QFont> fonts;
    auto fontOf = [&](int key) -> const QFont& {
        auto found = fonts.find(key);
        if (found == fonts.end())
            found = fonts.emplace(key, styleFont(family, pixelSize, key)).first;
        return found->second;
    };
    int fontKey = 0x01; // the body style the reader starts from
    bool anyLine = false;
    uint32_t pos = 0;
    LessonRecord r;
    while (nextLessonRecord(lesson, &pos, &r)) {
        Item item{};
        item.layout = r.layout;
        item.continuation =
            labelCode(r.layout) != 0 && r.textLength > 0 && lesson[r.textOffset] == ' ' && anyLine;
        item.label = item.continuation ? 0 : labelCode(r.layout);
        item.emptyAfter = r.style & StyleEmptyAfter;
        item.kind = r.kind == RecordKind::Rule  ? Item::Rule
                    : r.kind == RecordKind::Nop ? Item::Margin
                                                : Item::Paragraph;
        if (item.kind == Item::Rule) {
            item.align = r.style & StyleAlignMask;
            item.fontHeight = QFontMetrics(fontOf(fontKey)).height();
            anyLine = true;
        }
        if (item.kind != Item::Paragraph) {
            peer->items.push_back(std::move(item));
            continue;
        }
        item.link = r.kind == RecordKind::Link;
        uint32_t offset = item.link ? r.captionOffset : r.textOffset;
        int n = int(item.link ? r.captionLength : r.textLength);
        int style = r.style;
        if (item.link) {
            item.label = 0;
            style = (r.style & ~(StyleLarge | StyleKeyBit)) | StyleSmall;
            fontKey = (r.style & StyleHebrew) | StyleSmall;
        } else {
            fontKey = r.style & 0x1F;
        }
        const QFont& font = fontOf(fontKey);
        QFontMetrics metrics(font);
        item.fontHeight = metrics.height();
        item.colour = styleColour(fontKey);
        item.align = style & StyleAlignMask;
        item.labelWidth = item.label ? (item.label + 1) * metrics.maxWidth() / 2 : 0;
        // Reading order (a Hebrew record is stored in display order), without the leading
        // spaces and, when labelled, the label word and the spaces after it.
        bool hebrew = r.style & StyleHebrew;
        std::u16string units;
        for (int i = 0; i < n; ++i)
            units += letter(lesson[hebrew ? offset + n - 1 - i : offset + i], hebrew, letterBase);
        size_t start = units.find_first_not_of(u' ');
        if (start == std::u16string::npos) {
            if (!item.label) {
                peer->items.push_back(std::move(item));
                peer->items.back().kind = Item::Margin;
                continue;
            }
            start = units.size();
        }
        if (item.label) {
            start = units.find(u' ', start);
            start =
                start == std::u16string::npos ? units.size() : units.find_first_not_of(u' ', start);
            if (start == std::u16string::npos) start = units.size();
        }
        anyLine = true;
        item.text =
            std::make_unique<QTextLayout>(QString::fromStdU16String(units.substr(start)), font);
        QTextOption option(item.align == StyleAlignRight    ? Qt::AlignRight
                           : item.align == StyleAlignCenter ? Qt::AlignHCenter
                                                            : Qt::AlignLeft);
        option.setTextDirection(hebrew ? Qt::RightToLeft : Qt::LeftToRight);
        // The reader breaks after a space or hyphen, and inside a word only when the word is
        // wider than the line.
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        item.text->setTextOption(option);
        item.text->setCacheEnabled(true);
        peer->items.push_back(std::move(item));
    }
    return peer;
}

void QtPeerDestroy(QtPeer* peer) {
    delete peer;
}

int QtPeerLayout(QtPeer* peer, int width) {
    int lines = 0;
    int indent = 0, previousLayout = 0;
    double y = 0;
    for (Item& item : peer->items) {
        // The reader's margins: a continuation moves the running indent by the change of
        // margin; any other record starts from its layout byte.
        if (item.continuation) {
            indent += marginOf(item.layout) - marginOf(uint8_t(previousLayout));
        } else {
            indent = item.layout;
        }
        previousLayout = item.layout;
        if (item.kind == Item::Margin) continue;
        if (item.kind == Item::Rule) {
            item.ruleLength = ruleLength(item.layout, width);
            item.x = item.align == StyleAlignRight    ? width - item.ruleLength
                     : item.align == StyleAlignCenter ? (width - item.ruleLength) / 2
                                                      : 0;
            y += item.fontHeight * (item.emptyAfter ? 2 : 1);
            ++lines;
            continue;
        }
        if (item.link) indent = 0;
        if (item.label) indent = marginOf(uint8_t(indent));
        if (indent >= width) indent = 0;
        const int used = indent + item.labelWidth;
        const int first = width - used < 0 ? 0 : width - used;
        // Right-aligned lines end `used` pixels from the right edge, centred ones are centred
        // in what follows the indent, the rest start after the indent and label.
        const double x = item.align == StyleAlignRight    ? 0
                         : item.align == StyleAlignCenter ? indent
                                                          : used;
        QTextLayout& layout = *item.text;
        layout.clearLayout();
        layout.beginLayout();
        double top = 0;
        bool firstLine = true;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(firstLine ? first : width - used);
            firstLine = false;
            line.setPosition(QPointF(x, top));
            top += line.height();
            ++lines;
        }
        layout.endLayout();
        indent = used;
        y += top + (item.emptyAfter ? item.fontHeight : 0);
    }
    peer->height = int(y);
    return lines;
}

int QtPeerHeight(const QtPeer* peer) {
    return peer->height;
}

int QtPeerDraw(QtPeer* peer, QPainter* painter, int height) {
    double y = 0;
    int drawn = 0;
    for (const Item& item : peer->items) {
        if (item.kind == Item::Margin) continue;
        if (item.kind == Item::Rule) {
            if (y + item.fontHeight > height) return drawn;
            painter->setPen(Qt::black);
            int middle = int(y) + item.fontHeight / 2;
            painter->drawLine(item.x, middle, item.x + item.ruleLength, middle);
            y += item.fontHeight * (item.emptyAfter ? 2 : 1);
            ++drawn;
            continue;
        }
        painter->setPen(item.colour);
        const QTextLayout& layout = *item.text;
        for (int i = 0; i < layout.lineCount(); ++i) {
            QTextLine line = layout.lineAt(i);
            if (y + line.height() > height) return drawn;
            line.draw(painter, QPointF(0, y - line.y()));
            y += line.height();
            ++drawn;
        }
        if (item.emptyAfter) y += item.fontHeight;
    }
    return drawn;
}

int QtPeerPaint(QtPeer* peer, int width, int height) {
    if (peer->image.width() != width || peer->image.height() != height) {
        peer->image = QImage(width, height, QImage::Format_RGB32);
    }
    peer->image.fill(Qt::white);
    QPainter painter(&peer->image);
    return QtPeerDraw(peer, &painter, height);
}
