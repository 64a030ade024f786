#include "tools/bookc/source_lines.h"

#include "tools/bookc/hebrew_text.h"

namespace {
bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t';
}
} // namespace

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
                {EncodeUtf8(text.substr(start, i - start)), {line, firstColumn + int(start)}});
        }
    }
    return words;
}

bool SplitBlocks(const std::string& file, const std::string& source, std::vector<Block>& blocks,
                 SourceError& error) {
    blocks.clear();
    bool open = false;
    std::vector<std::string> lines = SplitLines(source);
    for (size_t n = 0; n < lines.size(); ++n) {
        int lineNo = int(n) + 1;
        std::u32string line;
        size_t badOffset = 0;
        if (!DecodeUtf8(lines[n], line, &badOffset)) {
            std::u32string before;
            DecodeUtf8(lines[n].substr(0, badOffset), before, nullptr);
            error = {file, lineNo, int(before.size()) + 1, "malformed UTF-8"};
            return false;
        }
        if (!line.empty() && line[0] == U'#') continue;
        size_t first = 0;
        while (first < line.size() && isBlank(line[first]))
            ++first;
        size_t last = line.size();
        while (last > first && isBlank(line[last - 1]))
            --last;
        if (first == last) {
            open = false;
            continue;
        }
        size_t textStart = first;
        if (line[first] == U'[') {
            size_t close = line.find(U']', first);
            if (close == std::u32string::npos) {
                error = {file, lineNo, int(first) + 1, "header without ']'"};
                return false;
            }
            Block block;
            block.pos = {lineNo, int(first) + 1};
            block.hasHeader = true;
            block.header =
                SplitWords(line.substr(first + 1, close - first - 1), lineNo, int(first) + 2);
            blocks.push_back(block);
            open = true;
            textStart = close + 1;
            while (textStart < last && isBlank(line[textStart]))
                ++textStart;
            if (textStart >= last) continue;
        } else if (!open) {
            Block block;
            block.pos = {lineNo, int(first) + 1};
            blocks.push_back(block);
            open = true;
        }
        Block& block = blocks.back();
        if (!block.text.empty()) {
            block.text += U' ';
            block.where.push_back({lineNo, int(textStart)});
        }
        for (size_t i = textStart; i < last; ++i) {
            block.text += line[i];
            block.where.push_back({lineNo, int(i) + 1});
        }
    }
    return true;
}
