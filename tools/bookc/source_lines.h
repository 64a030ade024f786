// The line structure shared by the book's source files: UTF-8 lines, '#' comments, blocks
// separated by blank lines, each optionally opened by a [header].
#pragma once
#include <string>
#include <vector>

#include "tools/bookc/source_error.h"

struct SourcePos {
    int line;
    int column;
};

struct Word {
    std::string text;
    SourcePos pos;
};

struct Block {
    SourcePos pos; // of the '[' or of the first text character
    bool hasHeader = false;
    std::vector<Word> header;     // the words inside [ ]
    std::u32string text;          // the lines joined with single spaces
    std::vector<SourcePos> where; // position of every character of text
};

// Splits a source file into UTF-8 lines (a '\r' before '\n' is dropped).
std::vector<std::string> SplitLines(const std::string& source);

// Splits a lesson source into blocks. Fails on bad UTF-8 or a header without ']'.
bool SplitBlocks(const std::string& file, const std::string& source, std::vector<Block>& blocks,
                 SourceError& error);

// Records `message` at `pos` of `file` in `error`. Always returns false, for `return
// SourceFail(..)`.
bool SourceFail(SourceError& error, const std::string& file, SourcePos pos,
                const std::string& message);

// Decodes line `lineNo` (1-based) of `file`. Fails with "malformed UTF-8" at the column of the
// first bad sequence.
bool DecodeSourceLine(const std::string& file, int lineNo, const std::string& bytes,
                      std::u32string& line, SourceError& error);

// A decimal, or hexadecimal with 0x, from `low` to `high`. Returns false, leaving `value`, when
// the word is anything else.
bool ParseSourceNumber(const std::string& word, long low, long high, long& value);

// Splits ASCII words at spaces, keeping their columns (1-based, from `firstColumn`).
std::vector<Word> SplitWords(const std::u32string& text, int line, int firstColumn);
