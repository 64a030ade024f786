// Forgiving search over the embedded book, against a plain matcher written here: the word as
// typed (with points, marks, presentation forms, quote forms, either form of a final letter)
// finds every place where its plain letters stand in a Hebrew record, each final form counted
// as its medial form, and the highlight covers exactly the letters matched.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "content/book_constants.h"
#include "content/lesson_records.h"
#include "content/resource.h"
#include "dialogs/search.h"
#include "dialogs/search_box.h"
#include "platform/memory.h"
#include "state/state.h"

static bool operator==(const SearchHit& a, const SearchHit& b) {
    return a.lesson == b.lesson && a.highlightStart == b.highlightStart &&
           a.highlightEnd == b.highlightEnd;
}
static void PrintTo(const SearchHit& h, std::ostream* out) {
    *out << "{lesson " << h.lesson << ", " << h.highlightStart << ".." << h.highlightEnd << "}";
}

namespace {
// A letter-code byte as the plain matcher compares it: a final form as the Unicode letter of
// its medial form.
char32_t plainLetter(uint8_t b) {
    if (b < 0x61 || b > 0x7B) return b;
    char32_t c = 0x05D0 + (b - 0x61);
    switch (c) {
    case U'ך':
        return U'כ';
    case U'ם':
        return U'מ';
    case U'ן':
        return U'נ';
    case U'ף':
        return U'פ';
    case U'ץ':
        return U'צ';
    default:
        return c;
    }
}

// The stored form of plain Hebrew letters and quotes (reading order): reversed, in the letter
// code.
std::string storedForm(const std::u32string& plain) {
    std::string s;
    for (auto it = plain.rbegin(); it != plain.rend(); ++it)
        s += *it >= 0x05D0 && *it <= 0x05EA ? char(0x61 + (*it - 0x05D0)) : char(*it);
    return s;
}

// Every hit of `stored` in the book: each record from its top down, each search going on below
// the hit before; Hebrew records compared letter by letter through plainLetter (when `fold`),
// other records byte for byte.
std::vector<SearchHit> plainHits(const std::string& stored, bool fold) {
    std::vector<SearchHit> hits;
    int n = int(stored.size());
    for (int lesson = 1; lesson <= kLessonCount; ++lesson) {
        uint8_t* text = LoadBookResource(lesson, nullptr);
        uint32_t pos = 0;
        LessonRecord r;
        while (nextLessonRecord(text, &pos, &r)) {
            bool hebrew = fold && (r.style & StyleHebrew);
            int begin = int(r.textOffset);
            for (int start = begin + int(r.textLength) - n; start >= begin;) {
                bool same = true;
                for (int i = 0; i < n && same; ++i) {
                    auto t = text[start + i];
                    auto p = uint8_t(stored[i]);
                    same = hebrew ? plainLetter(t) == plainLetter(p) : t == p;
                }
                if (!same) {
                    --start;
                    continue;
                }
                hits.push_back({uint16_t(lesson), uint16_t(start), uint16_t(start + n)});
                start -= n;
            }
        }
        plainFree(text);
    }
    return hits;
}

std::vector<SearchHit> typedHits(const std::u16string& typed, bool exact) {
    appState.ExactLetters = exact ? 1 : 0;
    char16_t display[kMaxPatternLength + 1];
    EXPECT_GE(boxTextToDisplayOrder(typed.c_str(), display, kMaxPatternLength + 1), 0);
    ConvertPattern(display);
    SearchHit* list = nullptr;
    int count = FindAllHits(&list);
    EXPECT_GE(count, 0);
    std::vector<SearchHit> hits(list, list + (count > 0 ? count : 0));
    plainFree(list);
    return hits;
}

class ForgivingSearch : public ::testing::Test {
protected:
    void SetUp() override {
        resetAppState();
        appState.fontSpec.FontAsciiBase = LetterBaseUnicode;
    }
    void TearDown() override { resetAppState(); }
};

TEST_F(ForgivingSearch, TypedFormsFindThePlainLetters) {
    struct Case {
        const char* rule;
        std::u16string typed;
        std::u32string plain; // what the book's letters are compared with
    } cases[] = {
        {"final kaf typed medial", u"דרכ", U"דרך"},
        {"medial kaf typed final", u"ךל", U"כל"},
        {"final mem typed medial", u"שלומ", U"שלום"},
        {"medial mem typed final", u"םשה", U"משה"},
        {"final nun typed medial", u"משכנ", U"משכן"},
        {"medial nun typed final", u"ןתן", U"נתן"},
        {"final pe typed medial", u"כספ", U"כסף"},
        {"medial pe typed final", u"ףרעה", U"פרעה"},
        {"final tsadi typed medial", u"ארצ", U"ארץ"},
        {"medial tsadi typed final", u"ץדק", U"צדק"},
        {"points", u"מֹשֶׁה", U"משה"},
        {"cantillation", u"מ\u0591ש\u05AFה", U"משה"},
        {"the marks' last points and sof pasuq", u"מ\u05C4ש\u05C7ה\u05C3", U"משה"},
        {"presentation forms", u"\uFB3Eש\uFB34", U"משה"},
        {"shin with its dots", u"\uFB2Aלום", U"שלום"},
        {"alef-lamed ligature", u"\uFB4Fה", U"אלה"},
        {"gershayim typed as its Hebrew mark", u"ה\u05F4", U"ה\""},
        {"gershayim typed as the book stores it", u"ה\"", U"ה\""},
        {"geresh typed as its Hebrew mark", u"ה\u05F3", U"ה'"},
        {"geresh typed as the book stores it", u"ה'", U"ה'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        std::vector<SearchHit> expected = plainHits(storedForm(c.plain), true);
        ASSERT_FALSE(expected.empty()) << "the book holds the letters";
        EXPECT_EQ(typedHits(c.typed, false), expected);
    }
}

// With Exact letters a final form finds only itself; forgiving adds the other spelling.
TEST_F(ForgivingSearch, ExactLettersKeepsEachForm) {
    for (const char32_t* word : {U"שלום", U"ארץ", U"משכן"}) {
        std::u32string plain = word;
        std::u16string typed(plain.begin(), plain.end());
        std::vector<SearchHit> exact = typedHits(typed, true);
        EXPECT_EQ(exact, plainHits(storedForm(plain), false));
        EXPECT_GT(typedHits(typed, false).size(), exact.size());
    }
    // A presentation form under Exact letters is no letter: nothing is found.
    EXPECT_TRUE(typedHits(u"\uFB3Eש\uFB34", true).empty());
}

// A Latin record is compared byte for byte: the Latin letters that share the letter code's
// bytes are not folded.
TEST_F(ForgivingSearch, LatinRecordsAreNotFolded) {
    // "k" and "l" are the letter code's final and medial kaf.
    std::vector<SearchHit> hits = plainHits("l", false);
    std::vector<SearchHit> folded = plainHits("l", true);
    ASSERT_FALSE(hits.empty());
    appState.ExactLetters = 0;
    strcpy(appState.searchPattern, "l");
    SearchHit* list = nullptr;
    int count = FindAllHits(&list);
    std::vector<SearchHit> found(list, list + count);
    plainFree(list);
    EXPECT_EQ(found, folded);
    EXPECT_GT(found.size(), hits.size()) << "Hebrew final kaf counts";
}
} // namespace
