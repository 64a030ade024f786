// This week's lesson: the Saturday of the week, its weekly portion in the Israel or the
// diaspora schedule, and the book's lesson tied to that portion. Days count from 1 Tishri 3762
// (day number 249, in September of year 1), where the schedule's arithmetic begins to hold.
#pragma once
#include <cstdint>

#include "calendar/reading_tables.h"

// ReadingYear.options bit: use the Israel schedule.
constexpr uint32_t ReadingIsrael = 0x200;

// A year's schedule, built afresh for each query.
struct ReadingYear {
    uint32_t options;             // ReadingIsrael or 0, set by the caller
    const ReadingTable* readings; // the year's table, or null when its kind has none
    int32_t firstSabbath;         // day number of the first Saturday on or after 1 Tishri
};

// Fills `record` (options already set) for the Hebrew year, 3762 or later (the first year that
// begins after day 1). Returns 1 when the year's kind has no table (readings null; no year of
// the calendar does that), else 0.
int prepareReadingYear(ReadingYear* record, int32_t hebrewYear);

// The reading of a Saturday (day number) of the year of `record` (prepared, with a table): a
// portion 0..53 or a combined value -n; a festival Saturday (-1) takes the next reading, where a 0
// reached so counts as 53 (the last portion of the cycle). Never -1; 0 for a day outside the
// table's 56 weeks.
int32_t readingForSabbath(const ReadingYear* record, int32_t saturday);

// The lesson of a reading value: readingLesson for a portion, the entry of its place in
// combinedReadings for a combined value; 0 when none.
int32_t lessonOfReading(int32_t reading);

// The reading of the Saturday on or after `dayNumber` (the day itself when it is a Saturday),
// in the Hebrew year that holds that Saturday, with the schedule `options` chooses. Returns 0
// with *reading set, or 1 when that year has no table (*reading untouched).
int weekReading(int32_t dayNumber, uint32_t options, int32_t* reading);

// Whether a time zone is Israel's: its standard name (zero-terminated UTF-16, null as empty)
// begins with "Israel" or else with "Jerusalem", or its id is "Asia/Jerusalem",
// "Asia/Tel_Aviv" or "Israel"; letter case is ignored. Returns 1 or 0.
int isIsraelTimeZone(const char16_t* standardName, const char16_t* zoneId);

// The schedule this device follows: ReadingIsrael when the local time zone is Israel's or else
// when the maker key's "Israel" value is not 0 (the registry is read only when the zone is
// not), else 0.
uint32_t deviceReadingOptions();

// Lesson 0..53 of the week that ends on the Saturday on or after `dayNumber`, in this device's
// schedule; 0 when the week has no lesson, and also when the year has no table.
int32_t weeklyLessonForDay(int32_t dayNumber);
// Of a week's lesson in each schedule, the one this device reads: `abroad` when the two agree
// (the device's schedule is then not asked), else the one of deviceReadingOptions' schedule.
int32_t lessonOfDeviceSchedule(int32_t abroad, int32_t israel);
