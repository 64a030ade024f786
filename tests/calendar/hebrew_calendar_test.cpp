// The calendar arithmetic: day numbers and weekdays, the civil conversion's branches, Hebrew
// years and the month search.
#include <gtest/gtest.h>

#include "calendar/hebrew_calendar.h"

namespace {
struct CivilCase {
    CivilDate date;
    int32_t dayNumber;
    int32_t weekday;
};

TEST(CivilCalendar, DayNumbersAndWeekdays) {
    const CivilCase cases[] = {
        {{1, 1, 1}, 1, 1},           // the first day, a Monday
        {{7, 3, 2007}, 732860, 2},   // a Tuesday
        {{12, 31, 1999}, 730119, 5}, // the ordinary path of civilFromDay
        {{12, 31, 2000}, 730485, 0}, // last day of a 400-year cycle (q100 == 4)
        {{12, 31, 2004}, 731946, 5}, // last day of a 4-year cycle (q1 == 4)
        {{2, 29, 2000}, 730179, 2},  // leap day of a century divisible by 400
        {{3, 1, 1900}, 693655, 4},   // 1900 has no leap day
    };
    for (const CivilCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.date.year << "-" << c.date.month << "-" << c.date.day);
        int32_t n = dayFromCivil(c.date.month, c.date.day, c.date.year);
        EXPECT_EQ(n, c.dayNumber);
        EXPECT_EQ(n % 7, c.weekday);
        CivilDate back = civilFromDay(c.dayNumber);
        EXPECT_EQ(back.month, c.date.month);
        EXPECT_EQ(back.day, c.date.day);
        EXPECT_EQ(back.year, c.date.year);
    }
}

TEST(CivilCalendar, DayOfYearAcrossFebruary) {
    EXPECT_EQ(civilDayOfYear(2, 29, 2004), 60);
    EXPECT_EQ(civilDayOfYear(3, 1, 2004), 61);
    EXPECT_EQ(civilDayOfYear(3, 1, 2007), 60);
    EXPECT_EQ(civilDayOfYear(12, 31, 2004), 366);
    EXPECT_EQ(civilDayOfYear(12, 31, 1900), 365);
}

// Every day from year 1 to 2400 converts to a date and back, one day after the other: no gap
// or repeat at any month, year or cycle end.
TEST(CivilCalendar, EveryDayRoundTrips) {
    CivilDate previous = civilFromDay(1);
    const int32_t last = dayFromCivil(12, 31, 2400);
    for (int32_t n = 2; n <= last; ++n) {
        CivilDate c = civilFromDay(n);
        ASSERT_EQ(dayFromCivil(c.month, c.day, c.year), n);
        bool nextDay =
            c.year == previous.year && c.month == previous.month && c.day == previous.day + 1;
        bool nextMonth = c.year == previous.year && c.month == previous.month + 1 && c.day == 1;
        bool nextYear = c.year == previous.year + 1 && c.month == 1 && c.day == 1 &&
                        previous.month == 12 && previous.day == 31;
        ASSERT_TRUE(nextDay || nextMonth || nextYear) << n;
        previous = c;
    }
}

TEST(CivilCalendar, WeekdayOnOrBefore) {
    const int32_t tuesday = dayFromCivil(7, 3, 2007);
    EXPECT_EQ(weekdayOnOrBefore(2, tuesday), tuesday);
    EXPECT_EQ(weekdayOnOrBefore(6, tuesday), tuesday - 3);
    EXPECT_EQ(weekdayOnOrBefore(6, tuesday + 6), tuesday + 4); // the Saturday on or after
    EXPECT_EQ(weekdayOnOrBefore(6, tuesday + 4 + 6), tuesday + 4);
}

struct HebrewYearCase {
    int32_t year;
    int32_t length;
    int32_t leap;
    CivilDate newYear;
    int32_t weekday; // of 1 Tishri
};

TEST(HebrewCalendar, YearsLengthsAndNewYears) {
    const HebrewYearCase cases[] = {
        {5766, 354, 0, {10, 4, 2005}, 2}, {5767, 355, 0, {9, 23, 2006}, 6},
        {5768, 383, 1, {9, 13, 2007}, 4}, {5769, 354, 0, {9, 30, 2008}, 2},
        {5770, 355, 0, {9, 19, 2009}, 6}, {5771, 385, 1, {9, 9, 2010}, 4},
    };
    for (const HebrewYearCase& c : cases) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(hebrewYearLength(c.year), c.length);
        EXPECT_EQ(isHebrewLeapYear(c.year), c.leap);
        EXPECT_EQ(isLongHeshvan(c.year), c.length % 10 == 5 ? 1 : 0);
        EXPECT_EQ(isShortKislev(c.year), c.length % 10 == 3 ? 1 : 0);
        int32_t start = dayFromHebrew(7, 1, c.year);
        EXPECT_EQ(start, dayFromCivil(c.newYear.month, c.newYear.day, c.newYear.year));
        EXPECT_EQ(start % 7, c.weekday);
        EXPECT_EQ(start, hebrewYearStart(c.year) - kHebrewEpochOffset);
    }
    EXPECT_EQ(hebrewYearStart(5767), 2106005);
    EXPECT_EQ(dayFromHebrew(7, 1, 5767), 732577);
}

// Over ten thousand years: 1 Tishri never on Sunday, Wednesday or Friday, only the six year
// lengths, 13 months exactly in the long years, and the months add up to the year.
TEST(HebrewCalendar, EveryYearKeepsTheCalendarRules) {
    for (int32_t y = 3762; y <= 13761; ++y) {
        int32_t weekday = (hebrewYearStart(y) - kHebrewEpochOffset) % 7;
        ASSERT_TRUE(weekday == 1 || weekday == 2 || weekday == 4 || weekday == 6) << y;
        int32_t length = hebrewYearLength(y);
        ASSERT_TRUE(length == 353 || length == 354 || length == 355 || length == 383 ||
                    length == 384 || length == 385)
            << y << ": " << length;
        ASSERT_EQ(isHebrewLeapYear(y), length > 355 ? 1 : 0) << y;
        int32_t months = 0;
        for (int32_t m = 1; m <= 12 + isHebrewLeapYear(y); ++m)
            months += hebrewMonthLength(m, y);
        ASSERT_EQ(months, length) << y;
    }
}

struct HebrewDateCase {
    CivilDate civil;
    HebrewDate hebrew;
    const char* why;
};

TEST(HebrewCalendar, DatesAndTheMonthSearch) {
    const HebrewDateCase cases[] = {
        {{7, 3, 2007}, {4, 17, 5767}, "Tammuz"},
        {{3, 20, 2007}, {1, 1, 5767}, "common year: from Shevat past Adar to Nisan"},
        {{9, 12, 2007}, {6, 29, 5767}, "September before the New Year: Tishri to Elul"},
        {{9, 13, 2007}, {7, 1, 5768}, "the New Year"},
        {{3, 7, 2008}, {12, 30, 5768}, "leap year: the 30th of Adar I"},
        {{3, 8, 2008}, {13, 1, 5768}, "leap year: Adar II"},
        {{4, 6, 2008}, {1, 1, 5768}, "leap year: past Adar II to Nisan"},
        {{9, 29, 2008}, {6, 29, 5768}, "leap year, September: through Adar II to Elul"},
        {{12, 31, 2008}, {10, 4, 5769}, "December starts at Heshvan"},
    };
    for (const HebrewDateCase& c : cases) {
        SCOPED_TRACE(c.why);
        int32_t n = dayFromCivil(c.civil.month, c.civil.day, c.civil.year);
        HebrewDate h = hebrewFromDay(n);
        EXPECT_EQ(h.month, c.hebrew.month);
        EXPECT_EQ(h.day, c.hebrew.day);
        EXPECT_EQ(h.year, c.hebrew.year);
        EXPECT_EQ(dayFromHebrew(c.hebrew.month, c.hebrew.day, c.hebrew.year), n);
    }
}

// hebrewFromDay and dayFromHebrew agree on every day from 1600 to 2400.
TEST(HebrewCalendar, EveryDayRoundTrips) {
    const int32_t last = dayFromCivil(12, 31, 2400);
    for (int32_t n = dayFromCivil(1, 1, 1600); n <= last; ++n) {
        HebrewDate h = hebrewFromDay(n);
        ASSERT_TRUE(h.day >= 1 && h.day <= hebrewMonthLength(h.month, h.year)) << n;
        ASSERT_EQ(dayFromHebrew(h.month, h.day, h.year), n);
    }
}
} // namespace
