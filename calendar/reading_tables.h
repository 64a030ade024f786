// The fixed tables of the weekly reading schedule.
//
// Weekly portions are numbered 0..53 in the order of the Torah (0 the first of Genesis, 12 the
// first of Exodus, 53 the last of Deuteronomy).
#pragma once
#include <cstdint>

constexpr int kLastPortion = 53; // the last of Deuteronomy
constexpr int kReadingTableEntries = 56;
constexpr int kReadingTableCount = 15;

// A year's readings, one entry per Saturday from the first Saturday on or after 1 Tishri:
// 0..53 that portion; -1 no portion (a festival); -n (n other than 1) portions n and n + 1
// together.
struct ReadingTable {
    int8_t entries[kReadingTableEntries];
};

// R1 .. R15, as readingTables[0] .. readingTables[14].
extern const ReadingTable readingTables[kReadingTableCount];

// The table of each kind of year, or null where that kind never occurs, indexed by
// israel + 2 * (kind + 3 * (weekdayHalf + 4 * leap)): israel 1 for the Israel schedule; kind
// 0 deficient, 1 regular, 2 complete; weekdayHalf the weekday of 1 Tishri divided by 2
// (Monday 0, Tuesday 1, Thursday 2, Saturday 3); leap 1 for a 13-month year.
constexpr int kYearKinds = 48;
extern const ReadingTable* const readingTableIndex[kYearKinds];

// The lesson of each reading: entries 0..53 by weekly portion, 54 + k for the k-th combined
// reading of combinedReadings. 0: no lesson.
constexpr int kCombinedReadings = 7;
extern const uint8_t readingLesson[kLastPortion + 1 + kCombinedReadings];

// The first portions n of the combined readings -n, in the order that gives their place k in
// readingLesson, ending with 0.
extern const int8_t combinedReadings[kCombinedReadings + 1];
