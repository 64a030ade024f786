#include "calendar/reading_tables.h"

#include <cstddef>

namespace {
// One entry, or an ascending range first..last of portions.
struct Run {
    int first;
    int last;
    constexpr Run(int v) : first(v), last(v) {}
    constexpr Run(int a, int b) : first(a), last(b) {}
};

template <size_t N> constexpr int listed(const Run (&runs)[N]) {
    int count = 0;
    for (const Run& run : runs)
        count += run.last - run.first + 1;
    return count;
}

// The runs one after the other; entries after the listed ones are 0.
template <size_t N> constexpr ReadingTable expand(const Run (&runs)[N]) {
    ReadingTable table{};
    int i = 0;
    for (const Run& run : runs) {
        for (int v = run.first; v <= run.last; ++v)
            table.entries[i++] = int8_t(v);
    }
    return table;
}

constexpr Run kR1[] = {51,  52,  -1, {0, 20}, -21,      23,  24,       -1, 25,
                       -26, -28, 30, -31,     {33, 40}, -41, {43, 49}, -50};
constexpr Run kR2[] = {51, 52,  -1, {0, 20}, -21,      23,  24, -1,  25,       -26, -28,
                       30, -31, 33, -1,      {34, 37}, -38, 40, -41, {43, 49}, -50};
constexpr Run kR3[] = {52, -1,  -1,  {0, 20}, -21, 23,       24,  -1,      -1,
                       25, -26, -28, 30,      -31, {33, 40}, -41, {43, 50}};
constexpr Run kR4[] = {52, -1, -1, {0, 20}, -21, 23, 24, -1, 25, -26, -28, {30, 40}, -41, {43, 50}};
constexpr Run kR5[] = {52, -1, -1, {0, 24}, -1, 25, -26, -28, 30, -31, {33, 40}, -41, {43, 50}};
constexpr Run kR6[] = {-1, 52,  -1,  -1, {0, 20}, -21,      23,  24,      -1,
                       25, -26, -28, 30, -31,     {33, 40}, -41, {43, 50}};
constexpr Run kR7[] = {-1, 52,  -1,  -1, {0, 20}, -21,      23,  24,       -1,
                       25, -26, -28, 30, -31,     {33, 40}, -41, {43, 49}, -50};
constexpr Run kR8[] = {51,       52,  -1, {0, 27}, -1,       {28, 33}, -1,
                       {34, 37}, -38, 40, -41,     {43, 49}, -50};
constexpr Run kR9[] = {51, 52, -1, {0, 27}, -1, {28, 40}, -41, {43, 49}, -50};
constexpr Run kR10[] = {51, 52, -1, {0, 27}, -1, -1, {28, 40}, -41, {43, 50}};
constexpr Run kR11[] = {51, 52, -1, {0, 27}, -1, {28, 50}};
constexpr Run kR12[] = {52, -1, -1, {0, 28}, -1, {29, 50}};
constexpr Run kR13[] = {52, -1, -1, {0, 28}, -1, {29, 49}, -50};
constexpr Run kR14[] = {-1, 52, -1, -1, {0, 27}, -1, {28, 40}, -41, {43, 49}, -50};
constexpr Run kR15[] = {-1, 52,       -1,  -1, {0, 27}, -1,       {28, 33},
                        -1, {34, 37}, -38, 40, -41,     {43, 49}, -50};

// The number of entries each table lists before its trailing zeros: a check on the
// transcription of the runs.
static_assert(listed(kR1) == 50 && listed(kR2) == 50);
static_assert(listed(kR3) == 51 && listed(kR4) == 51 && listed(kR5) == 51 && listed(kR6) == 51 &&
              listed(kR7) == 51);
static_assert(listed(kR8) == 54 && listed(kR9) == 54);
static_assert(listed(kR10) == 55 && listed(kR11) == 55 && listed(kR12) == 55 &&
              listed(kR13) == 55 && listed(kR14) == 55 && listed(kR15) == 55);
} // namespace

constinit const ReadingTable readingTables[kReadingTableCount] = {
    expand(kR1),  expand(kR2),  expand(kR3),  expand(kR4),  expand(kR5),
    expand(kR6),  expand(kR7),  expand(kR8),  expand(kR9),  expand(kR10),
    expand(kR11), expand(kR12), expand(kR13), expand(kR14), expand(kR15),
};

namespace {
constexpr const ReadingTable* R(int n) {
    return &readingTables[n - 1];
}
} // namespace

// Rows: leap, weekday of 1 Tishri; in each, deficient, regular and complete years, each as
// abroad then Israel.
constinit const ReadingTable* const readingTableIndex[kYearKinds] = {
    // 12 months
    R(1), R(1), nullptr, nullptr, R(2), R(1),       // Monday
    nullptr, nullptr, R(2), R(1), nullptr, nullptr, // Tuesday
    nullptr, nullptr, R(3), R(4), R(5), R(5),       // Thursday
    R(6), R(6), nullptr, nullptr, R(7), R(7),       // Saturday
    // 13 months
    R(8), R(9), nullptr, nullptr, R(10), R(11),       // Monday
    nullptr, nullptr, R(10), R(11), nullptr, nullptr, // Tuesday
    R(12), R(12), nullptr, nullptr, R(13), R(13),     // Thursday
    R(14), R(14), nullptr, nullptr, R(15), R(14),     // Saturday
};

// The eleven portions of Exodus (12..22) and the combined reading of 21 and 22 (place 0).
// clang-format off
const uint8_t readingLesson[kLastPortion + 1 + kCombinedReadings] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                                 // Genesis, 0..11
    4, 7, 11, 14, 17, 20, 24, 27, 31, 33, 36,                           // Exodus, 12..22
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                                       // Leviticus, 23..32
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                                       // Numbers, 33..42
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,                                    // Deuteronomy, 43..53
    33, 0, 0, 0, 0, 0, 0,                                               // combined, 54..60
};
// clang-format on

const int8_t combinedReadings[kCombinedReadings + 1] = {21, 26, 28, 31, 38, 41, 50, 0};
