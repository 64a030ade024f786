// The weekly schedule: the year's reading table, festival Saturdays, the lesson of a reading,
// the Israel rule and selectLesson.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/navigation.h"
#include "calendar/hebrew_calendar.h"
#include "calendar/weekly_lesson.h"
#include "platform/clock.h"
#include "state/state.h"
#include "tests/support/config_home.h"

namespace {
int32_t day(int32_t year, int32_t month, int32_t d) {
    return dayFromCivil(month, d, year);
}

struct WeekCase {
    int32_t date;
    uint32_t options;
    int32_t saturday;
    int32_t reading;
    int32_t lesson;
};

TEST(WeekReading, ReadingsAndLessonsOfKnownWeeks) {
    const WeekCase cases[] = {
        {day(2007, 1, 10), 0, day(2007, 1, 13), 12, 4},
        {day(2007, 1, 10), ReadingIsrael, day(2007, 1, 13), 12, 4},
        {day(2007, 3, 10), 0, day(2007, 3, 10), 20, 31}, // a Saturday is its own week
        {day(2007, 3, 11), 0, day(2007, 3, 17), -21, 33},
        {day(2007, 3, 14), 0, day(2007, 3, 17), -21, 33},
        {day(2007, 3, 21), 0, day(2007, 3, 24), 23, 0},
        {day(2007, 9, 15), 0, day(2007, 9, 15), 52, 0},
        {day(2007, 9, 22), 0, day(2007, 9, 22), 53, 0}, // two festivals, then a new cycle
        {day(2007, 10, 6), 0, day(2007, 10, 6), 0, 0},
        {day(2006, 6, 10), 0, day(2006, 6, 10), 34, 0},
        {day(2006, 6, 10), ReadingIsrael, day(2006, 6, 10), 35, 0},
        {day(2006, 7, 8), 0, day(2006, 7, 8), -38, 0},
        {day(2006, 7, 8), ReadingIsrael, day(2006, 7, 8), 39, 0},
    };
    for (const WeekCase& c : cases) {
        CivilDate d = civilFromDay(c.date);
        SCOPED_TRACE(testing::Message() << d.year << "-" << d.month << "-" << d.day
                                        << (c.options ? " Israel" : " abroad"));
        EXPECT_EQ(weekdayOnOrBefore(6, c.date + 6), c.saturday);
        int32_t reading = 1000;
        ASSERT_EQ(weekReading(c.date, c.options, &reading), 0);
        EXPECT_EQ(reading, c.reading);
        EXPECT_EQ(lessonOfReading(reading), c.lesson);
    }
}

TEST(WeekReading, YearTablesByKindAndWeekday) {
    // 5768: 13 months, deficient, 1 Tishri on Thursday: R12 in both schedules.
    for (uint32_t options : {0u, ReadingIsrael}) {
        ReadingYear year{options, nullptr, 0};
        EXPECT_EQ(prepareReadingYear(&year, 5768), 0);
        EXPECT_EQ(year.readings, &readingTables[11]);
        EXPECT_EQ(year.firstSabbath, day(2007, 9, 15));
    }
    // 5766: 12 months, regular, Tuesday: R2 abroad, R1 in Israel.
    ReadingYear abroad{0, nullptr, 0}, israel{ReadingIsrael, nullptr, 0};
    prepareReadingYear(&abroad, 5766);
    prepareReadingYear(&israel, 5766);
    EXPECT_EQ(abroad.readings, &readingTables[1]);
    EXPECT_EQ(israel.readings, &readingTables[0]);
    EXPECT_EQ(abroad.firstSabbath, day(2005, 10, 8));
}

// Every year in ten thousand has a table in both schedules, and its table lists an entry for
// each of the year's Saturdays (an unlisted entry would read as the first portion).
TEST(WeekReading, EveryYearHasATableCoveringItsSaturdays) {
    for (int32_t y = 3762; y <= 13761; ++y) {
        for (uint32_t options : {0u, ReadingIsrael}) {
            ReadingYear year{options, nullptr, 0};
            ASSERT_EQ(prepareReadingYear(&year, y), 0) << y;
            int lastListed = kReadingTableEntries - 1;
            while (year.readings->entries[lastListed] == 0)
                --lastListed;
            int32_t lastSaturday = weekdayOnOrBefore(6, dayFromHebrew(7, 1, y + 1) - 1);
            ASSERT_LE((lastSaturday - year.firstSabbath) / 7, lastListed) << y;
        }
    }
}

struct FestivalCase {
    const char* name;
    std::vector<int8_t> listed; // the table's first entries; the rest are 0
    int32_t week;
    int32_t reading;
};

TEST(WeekReading, FestivalSaturdaysTakeTheNextReading) {
    std::vector<int8_t> lastIsFestival(kReadingTableEntries, 7);
    lastIsFestival.back() = -1;
    const FestivalCase cases[] = {
        {"one festival", {-1, 5}, 0, 5},
        {"a run of festivals", {-1, -1, -1, -26}, 0, -26},
        {"a new cycle after festivals counts as the last portion", {-1, -1, 0, 1}, 0, 53},
        {"a new cycle on its own Saturday is the first portion", {52, 0, 1}, 1, 0},
        {"festivals up to the unlisted end", {50, -1}, 1, 53},
        {"a festival as the very last entry", lastIsFestival, kReadingTableEntries - 1, 53},
        {"before the first Saturday", {7}, -1, 0},
        {"after the table's weeks", {7}, kReadingTableEntries, 0},
    };
    const int32_t first = day(2007, 9, 15);
    for (const FestivalCase& c : cases) {
        SCOPED_TRACE(c.name);
        ReadingTable table{};
        std::copy(c.listed.begin(), c.listed.end(), table.entries);
        ReadingYear year{0, &table, first};
        EXPECT_EQ(readingForSabbath(&year, first + 7 * c.week), c.reading);
    }
}

TEST(WeekReading, LessonOfEachReading) {
    const int32_t exodus[][2] = {{12, 4},  {13, 7},  {14, 11}, {15, 14}, {16, 17}, {17, 20},
                                 {18, 24}, {19, 27}, {20, 31}, {21, 33}, {22, 36}};
    for (const auto& [reading, lesson] : exodus)
        EXPECT_EQ(lessonOfReading(reading), lesson) << reading;
    // Only the combined reading of 21 and 22 has a lesson.
    EXPECT_EQ(lessonOfReading(-21), 33);
    for (int32_t reading : {0, 11, 23, 53, -26, -28, -31, -38, -41, -50, -12, -53})
        EXPECT_EQ(lessonOfReading(reading), 0) << reading;
}

struct ZoneCase {
    const char16_t* standardName;
    const char16_t* zoneId;
    int israel;
};

TEST(IsraelRule, TimeZoneNamesAndIds) {
    const ZoneCase cases[] = {
        {u"Israel Standard Time", u"", 1},
        {u"ISRAEL DAYLIGHT TIME", nullptr, 1},
        {u"Jerusalem Standard Time", u"", 1},
        {u"jerusalem", u"", 1},
        {u"", u"Asia/Jerusalem", 1},
        {u"", u"asia/tel_aviv", 1},
        {u"UTC+02:00", u"Israel", 1},
        {u"Eastern Standard Time", u"America/New_York", 0},
        {u"Isra", u"", 0},
        {u"Standard Israel Time", u"", 0},
        {u"", u"Asia/Jerusalem2", 0},
        {u"", u"Asia/Jeru", 0},
        {nullptr, nullptr, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(isIsraelTimeZone(cases[i].standardName, cases[i].zoneId), cases[i].israel)
            << "case " << i;
}

// The clock fixed to a date and zone, and an empty configuration folder, for the length of a
// test.
class FixedDevice : public testing::Test {
protected:
    void fix(int32_t year, int32_t month, int32_t d,
             const char16_t* name = u"Eastern Standard Time",
             const char16_t* id = u"America/New_York") {
        FixedClock clock{{year, month, d}, name, id};
        fixClock(&clock);
    }
    void TearDown() override { fixClock(nullptr); }
    ConfigHome config;
};

struct DeviceCase {
    const char16_t* standardName;
    const char16_t* zoneId;
    const char* makerKey; // quillmere.ini, or null for none
    uint32_t options;
};

TEST_F(FixedDevice, ScheduleFromTheZoneOrElseTheMakerKey) {
    const DeviceCase cases[] = {
        {u"Israel Standard Time", u"Asia/Jerusalem", nullptr, ReadingIsrael},
        {u"", u"Asia/Jerusalem", "Israel=0\n", ReadingIsrael},
        {u"Eastern Standard Time", u"America/New_York", nullptr, 0},
        {u"Eastern Standard Time", u"America/New_York", "Israel=1\n", ReadingIsrael},
        {u"Eastern Standard Time", u"America/New_York", "Israel=dword:00000001\n", ReadingIsrael},
        {u"Eastern Standard Time", u"America/New_York", "israel=7\n", ReadingIsrael},
        {u"Eastern Standard Time", u"America/New_York", "Israel=0\n", 0},
        {u"Eastern Standard Time", u"America/New_York", "Israel=dword:0\n", 0},
        {u"Eastern Standard Time", u"America/New_York", "FullScreen=1\n", 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const DeviceCase& c = cases[i];
        ConfigHome home;
        if (c.makerKey) home.write("quillmere.ini", c.makerKey);
        fix(2007, 1, 10, c.standardName, c.zoneId);
        EXPECT_EQ(deviceReadingOptions(), c.options) << "case " << i;
    }
}

TEST_F(FixedDevice, WeeklyLessonForDay) {
    fix(2007, 1, 10);
    EXPECT_EQ(weeklyLessonForDay(day(2007, 1, 10)), 4);
    EXPECT_EQ(weeklyLessonForDay(day(2007, 3, 14)), 33);
    EXPECT_EQ(weeklyLessonForDay(day(2007, 3, 21)), 0);
    EXPECT_EQ(weeklyLessonForDay(day(2007, 2, 10)), 17); // a Saturday, reading 16
}

// The lessons of weeks across the years, in a zone of each schedule (the book ties no week to
// two lessons, so both zones read the same ones); a Friday is the week of the next day.
TEST_F(FixedDevice, WeeklyLessonsOfLiteralWeeks) {
    const DeviceCase zones[] = {
        {u"Israel Standard Time", u"Asia/Jerusalem", nullptr, ReadingIsrael},
        {u"Eastern Standard Time", u"America/New_York", nullptr, 0},
    };
    const struct {
        int32_t year, month, d, lesson;
    } weeks[] = {
        {1995, 1, 7, 11},  {2001, 3, 10, 27}, {2010, 1, 16, 7},  {2024, 2, 10, 20},
        {2026, 12, 11, 0}, {2027, 1, 23, 14}, {2031, 3, 15, 31}, {2049, 2, 6, 24},
        {2077, 1, 30, 11}, {2099, 12, 26, 0},
    };
    for (const DeviceCase& zone : zones) {
        fix(2007, 1, 10, zone.standardName, zone.zoneId);
        for (const auto& w : weeks)
            EXPECT_EQ(weeklyLessonForDay(day(w.year, w.month, w.d)), w.lesson)
                << w.year << "-" << w.month << "-" << w.d << " in " << zone.options;
    }
}

// Where the two schedules tie different lessons to a week, the device's schedule decides: the
// zone's, or else the maker key's "Israel" value.
TEST_F(FixedDevice, TheDeviceScheduleDecidesBetweenTwoLessons) {
    const DeviceCase devices[] = {
        {u"Israel Standard Time", u"Asia/Jerusalem", nullptr, ReadingIsrael},
        {u"Eastern Standard Time", u"America/New_York", nullptr, 0},
        {u"Eastern Standard Time", u"America/New_York", "Israel=1\n", ReadingIsrael},
    };
    for (const DeviceCase& device : devices) {
        ConfigHome home;
        if (device.makerKey) home.write("quillmere.ini", device.makerKey);
        fix(2007, 1, 10, device.standardName, device.zoneId);
        bool israel = device.options & ReadingIsrael;
        EXPECT_EQ(lessonOfDeviceSchedule(40, 41), israel ? 41 : 40);
        EXPECT_EQ(lessonOfDeviceSchedule(0, 12), israel ? 12 : 0);
        EXPECT_EQ(lessonOfDeviceSchedule(9, 9), 9);
    }
}

struct SelectCase {
    const char* name;
    CivilDate today;
    uint16_t lesson, position;
    bool chosen; // Flags bit 0x4 before
    int32_t chosenLesson;
    int force;
    uint16_t wantLesson, wantPosition;
    bool wantChosen;
};

TEST_F(FixedDevice, SelectLesson) {
    const SelectCase cases[] = {
        {"the calendar picks this week's lesson", {1, 10, 2007}, 9, 5, false, 0, 0, 4, 0, false},
        {"the same lesson keeps its position", {3, 14, 2007}, 33, 12, false, 0, 0, 33, 12, false},
        {"a week without a lesson: lesson 1 from the start",
         {3, 21, 2007},
         1,
         5,
         false,
         0,
         1,
         1,
         0,
         false},
        {"no lesson and none stored: lesson 1, position kept",
         {3, 21, 2007},
         0,
         9,
         false,
         0,
         0,
         1,
         9,
         false},
        {"the reader's choice stands", {1, 10, 2007}, 9, 5, true, 0, 0, 9, 5, true},
        {"forced: the calendar again", {1, 10, 2007}, 9, 5, true, 0, 1, 4, 0, false},
        {"an explicit lesson", {1, 10, 2007}, 3, 5, false, 7, 0, 7, 0, true},
        {"the current lesson chosen again keeps its position",
         {1, 10, 2007},
         7,
         5,
         false,
         7,
         1,
         7,
         5,
         true},
        {"compared as 16-bit values", {1, 10, 2007}, 7, 5, false, 65536 + 7, 1, 7, 5, true},
        {"no range check on a chosen lesson", {1, 10, 2007}, 7, 5, false, 60, 1, 60, 0, true},
    };
    for (const SelectCase& c : cases) {
        SCOPED_TRACE(c.name);
        fix(c.today.year, c.today.month, c.today.day);
        resetAppState();
        appState.Lesson = c.lesson;
        appState.LastPosition = c.position;
        appState.Flags = DefaultFlags | (c.chosen ? FlagLessonChosen : 0u);
        selectLesson(c.chosenLesson, c.force);
        EXPECT_EQ(appState.Lesson, c.wantLesson);
        EXPECT_EQ(appState.LastPosition, c.wantPosition);
        EXPECT_EQ((appState.Flags & FlagLessonChosen) != 0, c.wantChosen);
        EXPECT_EQ(appState.Flags & ~uint32_t(FlagLessonChosen), DefaultFlags) << "other bits";
    }
    resetAppState();
}
} // namespace
