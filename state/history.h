// The reading history: the places the reader jumped between, with Back and Forward through
// them. Plain data and free functions; the reader keeps one in its state record.
#pragma once
#include <cstdint>

// A place in the book: a lesson (1..53) and the reading position in it (line units).
struct Place {
    uint16_t lesson, position;
};
constexpr bool operator==(Place a, Place b) {
    return a.lesson == b.lesson && a.position == b.position;
}

constexpr int kHistoryCapacity = 100;

// The places in the order they were reached, and the one being read (`current`, an index
// below count; meaningless while count is 0).
struct History {
    Place places[kHistoryCapacity];
    int count;
    int current;
};

// A jump from `from` to `to`: `from` becomes the current entry (the reading position kept),
// the entries after it are dropped, and `to` follows it unless it is the same place. The
// oldest entry goes when the history is full.
void historyJump(History& history, Place from, Place to);
// Back (step -1) or Forward (+1) from `here`, which the current entry takes first. True with
// the place to open in *to (the history moved there); false when there is nothing that way.
bool historyStep(History& history, Place here, int step, Place* to);
bool canStep(const History& history, int step);

// The stored form: "L:P" pairs separated by spaces, the current entry marked with a '*'
// after it ("1:0 2:14* 3:0"). At most kHistoryCapacity entries of lessons 1..`lessonCount`.
// Writes at most `size` - 1 characters and a 0; returns the length (0 for an empty history).
int formatHistory(const History& history, char* out, int size);
// The history read back from `text`; anything that is not such a list (a lesson out of range,
// a position past 65535, too many entries, no mark or two, stray characters) gives an empty
// history. Returns false then.
bool parseHistory(const char* text, int lessonCount, History* history);
