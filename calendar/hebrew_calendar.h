// The civil (Gregorian) calendar, a continuous day count and the fixed Hebrew calendar.
//
// Day number: a signed 32-bit count of days; day 1 is 1 January of year 1 of the proleptic
// Gregorian calendar, and the weekday of day n is n mod 7 (0 Sunday .. 6 Saturday). All
// arithmetic is signed 32-bit with truncating division, except where a step says unsigned;
// the results hold for dates from year 1 onward (day numbers 1 and up).
#pragma once
#include <cstdint>

// A civil date: month 1..12, day 1..31, year (e.g. 2007).
struct CivilDate {
    int32_t month;
    int32_t day;
    int32_t year;
};

// A Hebrew date. Months: 1 Nisan, 2 Iyar, 3 Sivan, 4 Tammuz, 5 Av, 6 Elul, 7 Tishri,
// 8 Heshvan, 9 Kislev, 10 Tevet, 11 Shevat, 12 Adar (Adar I in a leap year), 13 Adar II. The
// year begins with month 7 and counts the Hebrew era (September 2006 began 5767).
struct HebrewDate {
    int32_t month;
    int32_t day;
    int32_t year;
};

// Subtracting this from hebrewYearStart(y) gives the day number of 1 Tishri of year y.
constexpr int32_t kHebrewEpochOffset = 1373428;

// Month lengths by [civil leap year 0/1][month 1..12]; entry 0 of each row is 0.
extern const int32_t civilMonthLengths[2][13];

// The Hebrew month at which hebrewFromDay's month search starts, by civil month 1..12
// (entry 0 unused).
extern const int32_t hebrewMonthGuess[13];

// 1 when the civil year is a leap year (divisible by 4, and not by 100 unless by 400), else 0.
int32_t isCivilLeapYear(int32_t year);

// Ordinal of the day within its civil year, 1..366.
int32_t civilDayOfYear(int32_t month, int32_t day, int32_t year);

// Day number of a civil date.
int32_t dayFromCivil(int32_t month, int32_t day, int32_t year);

// Civil date of a day number (1 and up).
CivilDate civilFromDay(int32_t dayNumber);

// Day number of the last weekday k (0 Sunday .. 6 Saturday) on or before day d. The Saturday
// on or after d is weekdayOnOrBefore(6, d + 6).
int32_t weekdayOnOrBefore(int32_t k, int32_t d);

// 1 when the Hebrew year has 13 months, else 0.
int32_t isHebrewLeapYear(int32_t year);

// The elapsed-day count of 1 Tishri of the Hebrew year (mean new moon of Tishri with the four
// postponements); its day number is hebrewYearStart(y) - kHebrewEpochOffset.
int32_t hebrewYearStart(int32_t year);

// Days in the Hebrew year: 353, 354, 355, 383, 384 or 385.
int32_t hebrewYearLength(int32_t year);

// 1 when Heshvan has 30 days that year (a complete year), else 0.
int32_t isLongHeshvan(int32_t year);

// 1 when Kislev has 29 days that year (a deficient year), else 0.
int32_t isShortKislev(int32_t year);

// Days in Hebrew month 1..13 of the year: 29 or 30.
int32_t hebrewMonthLength(int32_t month, int32_t year);

// Day number of a Hebrew date.
int32_t dayFromHebrew(int32_t month, int32_t day, int32_t year);

// Hebrew date of a day number (1 and up).
HebrewDate hebrewFromDay(int32_t dayNumber);

// Today's civil date from the local clock.
CivilDate todayCivil();
