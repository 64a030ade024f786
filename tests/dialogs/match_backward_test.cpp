// Pattern matching over one record's bytes: literal bytes, '?', '*', and where a hit may lie.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/search.h"

namespace {
struct Hit {
    int at;     // the hit's highest byte, -1 for none
    int length; // 0 for none
};

Hit match(const std::string& text, const std::string& pattern, int from) {
    auto* begin = reinterpret_cast<const uint8_t*>(text.data());
    int length = 0;
    const uint8_t* hit =
        MatchBackward(begin, pattern.data(), int(pattern.size()), begin + from, &length);
    return hit ? Hit{int(hit - begin), length} : Hit{-1, 0};
}

TEST(MatchBackward, Patterns) {
    struct Case {
        const char* text;
        const char* pattern;
        int from; // -1: the text's last byte
        Hit expected;
    } cases[] = {
        // One byte: the highest match at or below the start.
        {"xaya", "a", -1, {3, 1}},
        {"xaya", "a", 2, {1, 1}},
        {"xaya", "a", 0, {-1, 0}},
        // The last byte is compared at the highest position; the rest towards the start.
        {"abxb", "ab", -1, {1, 2}},
        {"b", "ab", -1, {-1, 0}}, // the text ends below the pattern's first byte
        {"abc", "a?c", -1, {2, 3}},
        {"axc", "a?c", -1, {2, 3}},
        {"ac", "a?c", -1, {-1, 0}},
        // '*' covers any run, or none; the nearest byte before it wins.
        {"abbbc", "a*c", -1, {4, 5}},
        {"ac", "a*c", -1, {1, 2}},
        {"aac", "a*c", -1, {2, 2}},
        {"xbc", "a*c", -1, {-1, 0}},
        {"aXbYc", "a*b*c", -1, {4, 5}},
        {"a*c", "a*c", -1, {2, 3}}, // a literal '*' is just equal
        // A leading '*' leaves nothing to match before it: no hit, unless it stands for itself.
        {"xa", "*a", -1, {-1, 0}},
        {"x*a", "*a", -1, {2, 2}},
        // A trailing '?' or '*' is compared literally.
        {"ab", "a?", -1, {-1, 0}},
        {"a?", "a?", -1, {1, 2}},
        {"ab", "a*", -1, {-1, 0}},
        {"xa*", "a*", -1, {2, 2}},
        {"abc", "", -1, {-1, 0}},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        int from = c.from < 0 ? int(text.size()) - 1 : c.from;
        Hit got = match(text, c.pattern, from);
        EXPECT_EQ(got.at, c.expected.at) << c.pattern << " in " << c.text;
        EXPECT_EQ(got.length, c.expected.length) << c.pattern << " in " << c.text;
    }
}

// Patterns full of '*' against a long record end quickly: every call recurses at most once.
TEST(MatchBackward, ManyStarsOverALongRecord) {
    std::string text;
    for (int i = 0; i < 12000; ++i)
        text += "ab";
    std::string stars = "a";
    while (stars.size() + 2 <= size_t(kMaxPatternLength))
        stars += "*a";
    Hit hit = match(text, stars, int(text.size()) - 1);
    EXPECT_EQ(hit.at, int(text.size()) - 2);
    EXPECT_EQ(hit.length, int(stars.size())) << "each '*' covers one 'b'";
    std::string missing = stars;
    missing[0] = 'z';
    EXPECT_EQ(match(text, missing, int(text.size()) - 1).at, -1);
}
} // namespace
