#include "tools/bookc/source_lines.h"

#include <cstdlib>

#include "tools/bookc/hebrew_text.h"

namespace {
bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t';
}
} // namespace

bool SourceFail(SourceError& error, const std::string& file, SourcePos pos,
                const std::string& message) {
    error = {file, pos.line, pos.column, message};
    return false;
}

bool DecodeSourceLine(const std::string& file, int lineNo, const std::string& bytes,
                      std::u32string& line, SourceError& error) {
    size_t badOffset = 0;
    if (decodeUtf8(bytes, line, &badOffset)) return true;
    std::u32string before;
    decodeUtf8(bytes.substr(0, badOffset), before, nullptr);
    return SourceFail(error, file, {lineNo, int(before.size()) + 1}, "malformed UTF-8");
}

bool ParseSourceNumber(const std::string& word, long low, long high, long& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    long v = std::strtol(word.c_str(), &end, hex ? 16 : 10);
    if (*end != 0 || v < low || v > high) return false;
    value = v;
    return true;
}

std::vector<std::string> SplitLines(const std::string& source) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string::npos) end = source.size();
        std::string line = source.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

std::vector<Word> SplitWords(const std::u32string& text, int line, int firstColumn) {
    std::vector<Word> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        size_t start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > start) {
            words.push_back(
                {encodeUtf8(text.substr(start, i - start)), {line, firstColumn + int(start)}});
        }
    }
    return words;
}

namespace {
// Opens a block at the '[' of line[first]: its header words, and `textStart` past the ']' and
// the blanks after it. Fails when the header has no ']'.
bool openHeaderBlock(const std::string& file, int lineNo, const std::u32string& line, size_t first,
                     size_t last, std::vector<Block>& blocks, size_t& textStart,
                     SourceError& error) {
    size_t close = line.find(U']', first);
    if (close == std::u32string::npos)
        return SourceFail(error, file, {lineNo, int(first) + 1}, "header without ']'");
    Block block;
    block.pos = {lineNo, int(first) + 1};
    block.hasHeader = true;
    block.header = SplitWords(line.substr(first + 1, close - first - 1), lineNo, int(first) + 2);
    blocks.push_back(block);
    textStart = close + 1;
    while (textStart < last && isBlank(line[textStart]))
        ++textStart;
    return true;
}

// Adds line[textStart, last) to the block's text, one space after what it already holds.
void appendText(Block& block, int lineNo, const std::u32string& line, size_t textStart,
                size_t last) {
    if (!block.text.empty()) {
        block.text += U' ';
        block.where.push_back({lineNo, int(textStart)});
    }
    for (size_t i = textStart; i < last; ++i) {
        block.text += line[i];
        block.where.push_back({lineNo, int(i) + 1});
    }
}
} // namespace

bool SplitBlocks(const std::string& file, const std::string& source, std::vector<Block>& blocks,
                 SourceError& error) {
    blocks.clear();
    bool open = false; // a block takes the next line's text
    std::vector<std::string> lines = SplitLines(source);
    for (size_t n = 0; n < lines.size(); ++n) {
        int lineNo = int(n) + 1;
        std::u32string line;
        if (!DecodeSourceLine(file, lineNo, lines[n], line, error)) return false;
        if (!line.empty() && line[0] == U'#') continue;
        size_t first = 0, last = line.size();
        while (first < last && isBlank(line[first]))
            ++first;
        while (last > first && isBlank(line[last - 1]))
            --last;
        if (first == last) {
            open = false;
            continue;
        }
        size_t textStart = first;
        if (line[first] == U'[') {
            if (!openHeaderBlock(file, lineNo, line, first, last, blocks, textStart, error))
                return false;
            open = true;
            if (textStart >= last) continue;
        } else if (!open) {
            Block block;
            block.pos = {lineNo, int(first) + 1};
            blocks.push_back(block);
            open = true;
        }
        appendText(blocks.back(), lineNo, line, textStart, last);
    }
    return true;
}
