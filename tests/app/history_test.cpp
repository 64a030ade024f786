// The reading history: jumps, Back and Forward, its limit, and its stored form read back
// defensively.
#include <gtest/gtest.h>

#include <string>

#include "content/book_constants.h"
#include "state/history.h"

namespace {
// The history as text: its stored form ("1:0 2:5* 3:0").
std::string shown(const History& h) {
    char text[kHistoryCapacity * 12 + 1];
    formatHistory(h, text, int(sizeof text));
    return text;
}

// One step of a session: a jump from the place being read to `to`, or Back or Forward from
// the place being read (which may have scrolled since).
struct Step {
    enum Kind { Jump, Back, Forward } kind;
    Place here; // where the reader is when the step is taken
    Place to;   // Jump: where it goes; Back, Forward: where it must land
    bool moves; // Back, Forward: false when there is nothing that way
};

TEST(History, JumpsBackAndForward) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        const char* after;
    } cases[] = {
        {"a jump keeps both places", {{Step::Jump, {1, 0}, {2, 0}, true}}, "1:0 2:0*"},
        {"Back returns to the reading position left, Forward to the one scrolled to",
         {{Step::Jump, {1, 0}, {2, 0}, true},
          {Step::Jump, {2, 7}, {3, 0}, true},
          {Step::Back, {3, 4}, {2, 7}, true},
          {Step::Back, {2, 7}, {1, 0}, true},
          {Step::Forward, {1, 0}, {2, 7}, true},
          {Step::Forward, {2, 9}, {3, 4}, true}},
         "1:0 2:9 3:4*"},
        {"nothing before the first entry nor after the last",
         {{Step::Jump, {1, 0}, {2, 0}, true},
          {Step::Forward, {2, 0}, {}, false},
          {Step::Back, {2, 0}, {1, 0}, true},
          {Step::Back, {1, 0}, {}, false}},
         "1:0* 2:0"},
        {"a jump after going back drops the forward entries",
         {{Step::Jump, {1, 0}, {2, 0}, true},
          {Step::Jump, {2, 0}, {3, 0}, true},
          {Step::Back, {3, 0}, {2, 0}, true},
          {Step::Back, {2, 0}, {1, 0}, true},
          {Step::Jump, {1, 5}, {9, 0}, true},
          {Step::Forward, {9, 0}, {}, false}},
         "1:5 9:0*"},
        {"the same place twice in a row is one entry",
         {{Step::Jump, {1, 0}, {2, 0}, true}, {Step::Jump, {2, 0}, {2, 0}, true}},
         "1:0 2:0*"},
        {"a jump within a lesson (a search hit) is an entry of its own",
         {{Step::Jump, {4, 0}, {4, 30}, true}, {Step::Back, {4, 30}, {4, 0}, true}},
         "4:0* 4:30"},
        {"a place that comes back later is not the same place twice in a row",
         {{Step::Jump, {1, 0}, {2, 0}, true}, {Step::Jump, {2, 0}, {1, 0}, true}},
         "1:0 2:0 1:0*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        History h{};
        for (const Step& s : c.steps) {
            if (s.kind == Step::Jump) {
                historyJump(h, s.here, s.to);
                continue;
            }
            Place landed{};
            int step = s.kind == Step::Back ? -1 : 1;
            ASSERT_EQ(canStep(h, step), s.moves);
            ASSERT_EQ(historyStep(h, s.here, step, &landed), s.moves);
            if (s.moves) {
                EXPECT_EQ(landed, s.to);
            }
        }
        EXPECT_EQ(shown(h), c.after);
    }
}

TEST(History, KeepsTheLatestHundredPlaces) {
    History h{};
    // 150 jumps through the book: 151 places, of which the oldest 51 go.
    for (int i = 0; i < 150; ++i)
        historyJump(h, {uint16_t(i % 53 + 1), uint16_t(i)}, {uint16_t((i + 1) % 53 + 1), 0});
    ASSERT_EQ(h.count, kHistoryCapacity);
    EXPECT_EQ(h.current, kHistoryCapacity - 1);
    EXPECT_EQ(h.places[0], (Place{uint16_t(51 % 53 + 1), 51})) << "the 52nd place is the oldest";
    EXPECT_EQ(h.places[99], (Place{uint16_t(150 % 53 + 1), 0}));
    // Back all the way: 99 steps, then none.
    Place to{};
    int steps = 0;
    while (historyStep(h, h.places[h.current], -1, &to))
        ++steps;
    EXPECT_EQ(steps, kHistoryCapacity - 1);
    // Full, a jump from the oldest place drops everything after it.
    historyJump(h, h.places[0], {7, 7});
    EXPECT_EQ(shown(h), "52:51 7:7*");
}

TEST(History, AHistoryOfAnotherRunStartsABranch) {
    // The current entry names lesson 5, but the reader is in lesson 9 (a settings file from
    // elsewhere): the place left goes after the current entry instead of overwriting it.
    History h{};
    ASSERT_TRUE(parseHistory("3:0 5:2* 6:0", kLessonCount, &h));
    historyJump(h, {9, 4}, {10, 0});
    EXPECT_EQ(shown(h), "3:0 5:2 9:4 10:0*");
}

TEST(History, TheStoredFormReadsBackOrGivesNothing) {
    struct Case {
        const char* text;
        bool good;
    } cases[] = {
        {"1:0 2:14* 3:0", true},
        {"53:65535*", true},
        {"", false},
        {"1:0 2:0", false},   // no current entry
        {"1:0* 2:0*", false}, // two
        {"0:0*", false},      // no such lesson
        {"54:0*", false},
        {"1:65536*", false},        // past a reading position
        {"1:999999999999*", false}, // a number that would overflow
        {"1:0*  2:0", false},       // stray spaces
        {"1:0* ", false},
        {"1:0*x", false},
        {"1-0*", false},
        {"1:*", false},
        {":0*", false},
        {"\xd7\x90:0*", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        History h{};
        h.count = 3; // what was there before must go either way
        EXPECT_EQ(parseHistory(c.text, kLessonCount, &h), c.good);
        if (c.good) {
            EXPECT_EQ(shown(h), c.text);
        } else {
            EXPECT_EQ(h.count, 0);
        }
    }
    // A full history fits its stored form, and one more entry is refused.
    History full{};
    for (int i = 0; i < kHistoryCapacity; ++i)
        full.places[i] = {53, 65535};
    full.count = kHistoryCapacity;
    full.current = 42;
    std::string text = shown(full);
    History back{};
    ASSERT_TRUE(parseHistory(text.c_str(), kLessonCount, &back));
    EXPECT_EQ(back.count, kHistoryCapacity);
    EXPECT_EQ(back.current, 42);
    EXPECT_FALSE(parseHistory((text + " 1:0").c_str(), kLessonCount, &back));
}
} // namespace
