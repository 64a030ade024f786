// The lesson authoring format: what each block compiles to, what is refused, and the way back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/fixtures.h"
#include "tools/bookc/book_compile.h"
#include "tools/bookc/index_source.h"
#include "tools/bookc/lesson_source.h"

namespace {
std::string compiled(const std::string& source) {
    CompiledLesson lesson;
    SourceError error;
    EXPECT_TRUE(CompileLesson("t.txt", source, lesson, error)) << source << "\n"
                                                               << error.describe();
    return lesson.records;
}
std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list)
        s += char(b);
    return s;
}
const std::string kTitle = bytes({0xDC, 0, 'a', 0}); // "[title] א"

TEST(LessonSource, BlocksCompileToRecords) {
    struct Case {
        std::string source;
        std::string records; // after the leading "[title] א" record
    } cases[] = {
        {"אב", bytes({0x30, 4, 'b', 'a', 0})},
        {"אב\nגד", bytes({0x30, 4, 'd', 'c', ' ', 'b', 'a', 0})},
        {"[p latin] Hi", bytes({0x60, 4, 'H', 'i', 0})}, // not 0: that would end the lesson
        {"[p latin bold] Hi", bytes({0x08, 4, 'H', 'i', 0})},
        {"[p small center after mark] אב", bytes({0xD3, 4, 'b', 'a', 0})},
        {"[p large bold left2 margin=63] א", bytes({0x7C, 63, 'a', 0})},
        {"[item 3] 1. א", bytes({0x30, 0xC4, 'a', ' ', '.', '1', 0})},
        {"[item 1] א\n[cont 2] ב", bytes({0x30, 0x44, 'a', 0, 0x30, 0x84, ' ', 'b', 0})},
        {"[rule 60]", bytes({0x37, 60, 0})},
        {"[rule 50%]", bytes({0x37, 185, 0})},
        {"[rule 190% latin]", bytes({0x07, 255, 0})},
        {"[nop]", bytes({0x37, 0, 0})},
        {"[link 5] אב", bytes({0x37, 1, 5, 'b', 'a', 0})},
        {"[link 200 bold] א", bytes({0x3F, 1, 0x48, 0x81, 'a', 0})},
        {"[return after] א", bytes({0xB7, 1, 0x7F, 0xFF, 'a', 0})},
        {"[raw] 37 05 80 61 62", bytes({0x37, 5, 0x80, 'a', 'b', 0})},
        {"[p style=0x55 layout=0x99] א", bytes({0x55, 0x99, 'a', 0})},
        {"# a comment\n\n\n  [p]   א  \n# inside\nב  ", bytes({0x30, 4, 'b', ' ', 'a', 0})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compiled("[title] א\n\n" + c.source), kTitle + c.records) << c.source;
    }
    EXPECT_EQ(compiled("[title latin] Ab\n[subtitle] א"),
              bytes({0xCC, 0, 'A', 'b', 0, 0xD1, 0, 'a', 0}));
    EXPECT_EQ(compiled("[subtitle latin margin=2] Ab"), bytes({0xC1, 2, 'A', 'b', 0}));
}

TEST(LessonSource, LinksAreCollected) {
    CompiledLesson lesson;
    SourceError error;
    ASSERT_TRUE(CompileLesson("t.txt", "[link 7] א\n[return] ב\n[link 300] ג", lesson, error));
    EXPECT_EQ(lesson.links, (std::vector<uint16_t>{7, 0x3FFF, 300}));
}

TEST(LessonSource, BadSourcesNameLineAndColumn) {
    struct Case {
        std::string source;
        int line, column;
        const char* message;
    } cases[] = {
        {"", 1, 1, "at least one record"},
        {"[bogus] x", 1, 2, "unknown block kind"},
        {"[p wide] א", 1, 4, "unknown option"},
        {"[title small] א", 1, 8, "does not apply"},
        {"[rule 5 small]", 1, 9, "does not apply"},
        {"[item 4] א", 1, 7, "label code"},
        {"[item] א", 1, 2, "needs a label code"},
        {"[rule 161]", 1, 7, "1 to 160"},
        {"[rule 51%]", 1, 7, "even percentage"},
        {"[link 0] א", 1, 7, "1 to 16382"},
        {"[link 16383] א", 1, 7, "1 to 16382"}, // the return link's number
        {"[title] א\n[link 5]", 2, 1, "needs a caption"},
        {"[rule 5] א", 1, 10, "takes no text"},
        {"[p margin=64] א", 1, 4, "margin"},
        {"[p small large mark] א", 1, 1, "control record"},
        {"א\n[title] ב", 2, 1, "title must be the first"},
        {"א\n[subtitle] ב", 2, 1, "subtitle must be the first"},
        {"[p]", 1, 1, "empty text record"},
        {"[cont] א", 1, 1, "needs an item before it"},
        {"[title] א\n[item 1]", 2, 1, "label word"},
        {"אב\nשלום a", 2, 6, "Latin letter"},
        {"[p latin] Ab א", 1, 14, "Hebrew letter"},
        {"[p latin] “quoted”", 1, 11, "outside printable ASCII"},
        {"[raw] 3", 1, 1, "odd number"},
        {"[raw] 00 00", 1, 1, "style byte 0"},
        {"[raw] 37 05 00 61", 1, 1, "0 byte inside"},
        {"[raw] 37 zz", 1, 10, "hexadecimal"},
        {"[raw] 37", 1, 1, "style and a layout"},
        {"[raw] 37 00 85 16 62", 1, 1,
         "three bytes long"}, // found by the fuzzer: would read as two records
        {"[p style=0x37 layout=0] א", 1, 1, "three bytes long"},
        {"[raw latin] 37 00", 1, 6, "does not apply"},
        {"  [p x", 1, 3, "without ']'"},
        {"א\nב\xC3(", 2, 2, "malformed UTF-8"},
    };
    for (const Case& c : cases) {
        CompiledLesson lesson;
        SourceError error;
        EXPECT_FALSE(CompileLesson("bad.txt", c.source, lesson, error)) << c.source;
        EXPECT_EQ(error.file, "bad.txt");
        EXPECT_EQ(error.line, c.line) << c.source << ": " << error.describe();
        EXPECT_EQ(error.column, c.column) << c.source << ": " << error.describe();
        EXPECT_NE(error.message.find(c.message), std::string::npos)
            << c.source << ": " << error.describe();
    }
}

TEST(LessonSource, TooLongALessonIsRefused) {
    std::string source;
    for (int i = 0; i < 700; ++i)
        source += "[p latin] " + std::string(100, 'x') + "\n";
    CompiledLesson lesson;
    SourceError error;
    EXPECT_FALSE(CompileLesson("long.txt", source, lesson, error));
    EXPECT_NE(error.message.find("65,535"), std::string::npos);
}

// Decompiling gives a source that compiles to the same bytes, in readable blocks, for the
// fixture (every kind of block) and for every lesson of the book.
TEST(LessonSource, DecompileRoundTrip) {
    std::vector<std::string> files = {sourceDir() + "/tests/fixtures/small-book/lesson-01.txt",
                                      sourceDir() + "/tests/fixtures/small-book/lesson-02.txt"};
    for (const auto& entry : std::filesystem::directory_iterator(sourceDir() + "/book")) {
        if (entry.path().filename().string().rfind("lesson-", 0) == 0)
            files.push_back(entry.path().string());
    }
    for (const std::string& file : files) {
        std::string source;
        ASSERT_TRUE(ReadFile(file, source));
        std::string records = compiled(source);
        std::string again = DecompileLesson(records);
        EXPECT_EQ(compiled(again), records) << file << "\n" << again;
        if (file.find("/book/") != std::string::npos) {
            EXPECT_EQ(again.find("[raw]"), std::string::npos)
                << file << ": every record reads back";
        }
    }
    // Found by the fuzzer: a title that does not read back (two spaces) stays raw, and the
    // subtitle after it is still a subtitle.
    std::string rawTitle = DecompileLesson(compiled("[raw] DC 00 61 20 20 62\n[subtitle] א"));
    EXPECT_EQ(rawTitle, "[raw] DC 00 61 20 20 62\n\n[subtitle] א\n\n");
    compiled(rawTitle);
    // Found by the fuzzer: a raw record of style 0x80 has no block form and stays raw.
    EXPECT_EQ(DecompileLesson(compiled("[raw] 80 61 62")), "[raw] 80 61 62\n\n");

    std::string fixture;
    ASSERT_TRUE(ReadFile(files[0], fixture));
    std::string dump = DecompileLesson(compiled(fixture));
    for (const char* line :
         {"[title] שיעור ראשון", "[subtitle] פתיחה - בשנת 1948",
          "[p] פסקה רגילה עם מספר 12 ועם סוגריים (כך) ומקף-עברי. היא נמשכת על שתי שורות.",
          "[p center small after] הערה קטנה", "[cont] המשך הפריט", "[item 2] (ב) פריט שני",
          "[rule 50% center after]", "[nop]", "[return] חזרה", "[raw] 37 05 80 61 62",
          "[p latin left2 bold margin=0] Left again."}) {
        EXPECT_NE(dump.find(line), std::string::npos) << line << "\n" << dump;
    }
}

TEST(IndexSource, RecordsAndErrors) {
    std::string out;
    SourceError error;
    ASSERT_TRUE(
        CompileIndex("index.txt",
                     "entry 5 level=1 shown key=0x0C : אב\nheading 0x3FDA level=2 open : ג\n"
                     "record 0x0877 level=1 key=1 : ד\n",
                     out, error))
        << error.describe();
    EXPECT_EQ(out, bytes({0x05, 0x40, 0x8C, 1,    'b', 'a', 0, 0xDA, 0xBF, 0x40, 2, 'c',
                          0,    0x77, 0x08, 0x01, 1,   'd', 0, 0,    0,    0,    0, 0}));
    EXPECT_EQ(DecompileIndex(out),
              "entry 5 level=1 shown key=0x0C : אב\nheading 0x3FDA level=2 open key=0x00 : ג\n"
              "record 0x0877 level=1 key=0x01 : ד\n");
    struct Case {
        std::string source;
        int line, column;
        const char* message;
    } cases[] = {
        {"", 1, 1, "no records"},
        {"entry 5 level=1 shown", 1, 1, "': title'"},
        {"entry 0 level=1 shown : א", 1, 7, "1 to 53"},
        {"entry 54 level=1 shown : א", 1, 7, "1 to 53"},
        {"entry 5 level=0 shown : א", 1, 9, "level must be 1 to 255"},
        {"chapter 5 level=1 shown : א", 1, 1, "unknown record kind"},
        {"entry 5 shown : א", 1, 1, "level=N"},
        {"entry 5 level=1 : א", 1, 1, "end marker"},
        {"# ok\nentry 5 level=1 key=0x20 : א", 2, 17, "key must be"},
        {"entry 5 level=1 shown : אב x", 1, 28, "Latin letter"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(CompileIndex("index.txt", c.source, out, error)) << c.source;
        EXPECT_EQ(error.line, c.line) << c.source << ": " << error.describe();
        EXPECT_EQ(error.column, c.column) << c.source << ": " << error.describe();
        EXPECT_NE(error.message.find(c.message), std::string::npos)
            << c.source << ": " << error.describe();
    }
}
} // namespace
