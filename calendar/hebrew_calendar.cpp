#include "calendar/hebrew_calendar.h"

#include "platform/clock.h"

const int32_t civilMonthLengths[2][13] = {
    {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// Each entry is a month that has always begun by the first of that civil month, or the first
// month of the Hebrew year that holds it, so the search only moves forward.
const int32_t hebrewMonthGuess[13] = {0, 9, 10, 11, 12, 1, 2, 3, 4, 7, 7, 7, 8};

int32_t isCivilLeapYear(int32_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0) ? 1 : 0;
}

int32_t civilDayOfYear(int32_t month, int32_t day, int32_t year) {
    int32_t ordinal = day + 31 * (month - 1);
    if (month == 1 || month == 2) return ordinal;
    // Subtracts the days by which the months from February on fall short of 31.
    ordinal -= int32_t((4u * uint32_t(month) + 23u) / 10u);
    return ordinal + isCivilLeapYear(year);
}

int32_t dayFromCivil(int32_t month, int32_t day, int32_t year) {
    uint32_t before = uint32_t(year - 1);
    return civilDayOfYear(month, day, year) + 365 * (year - 1) + int32_t(before / 4u) -
           int32_t(before / 100u) + int32_t(before / 400u);
}

CivilDate civilFromDay(int32_t dayNumber) {
    int32_t d0 = dayNumber - 1;
    int32_t q400 = d0 / 146097, d1 = d0 % 146097;
    int32_t q100 = d1 / 36524, d2 = d1 % 36524;
    int32_t q4 = d2 / 1461, d3 = d2 % 1461;
    int32_t q1 = d3 / 365, dayOfYear = d3 % 365 + 1;
    int32_t year = 400 * q400 + 100 * q100 + 4 * q4 + q1;
    // The last day of a 400-year or a 4-year cycle: 31 December of a leap year.
    if (q100 == 4 || q1 == 4) return {12, 31, year};
    ++year;
    int32_t month = 1;
    const int32_t* lengths = civilMonthLengths[isCivilLeapYear(year)];
    while (lengths[month] < dayOfYear) {
        dayOfYear -= lengths[month];
        ++month;
    }
    return {month, dayOfYear, year};
}

int32_t weekdayOnOrBefore(int32_t k, int32_t d) {
    return d - (d - k) % 7;
}

int32_t isHebrewLeapYear(int32_t year) {
    return (7 * year + 1) % 19 < 7 ? 1 : 0;
}

int32_t hebrewYearStart(int32_t year) {
    int32_t cycles = (year - 1) / 19, inCycle = (year - 1) % 19;
    int32_t months = 235 * cycles + 12 * inCycle + (7 * inCycle + 1) / 19;
    // The molad of Tishri in hours and parts (1080 to the hour) after the epoch's molad.
    int32_t partsElapsed = 204 + 793 * (months % 1080);
    int32_t hoursElapsed = 5 + 12 * months + 793 * (months / 1080) + partsElapsed / 1080;
    int32_t day = 1 + 29 * months + hoursElapsed / 24;
    int32_t parts = 1080 * (hoursElapsed % 24) + partsElapsed % 1080;
    // Molad zaken, GaTaRaD and BeTUTaKPaT: at most one day for the three together.
    if (parts > 19439 || (day % 7 == 2 && parts > 9923 && !isHebrewLeapYear(year)) ||
        (day % 7 == 1 && parts > 16788 && (7 * year - 6) % 19 < 7))
        ++day;
    // Lo ADU Rosh: 1 Tishri never falls on Sunday, Wednesday or Friday.
    if (day % 7 == 0 || day % 7 == 3 || day % 7 == 5) ++day;
    return day;
}

int32_t hebrewYearLength(int32_t year) {
    return hebrewYearStart(year + 1) - hebrewYearStart(year);
}

int32_t isLongHeshvan(int32_t year) {
    return hebrewYearLength(year) % 10 == 5 ? 1 : 0;
}

int32_t isShortKislev(int32_t year) {
    return hebrewYearLength(year) % 10 == 3 ? 1 : 0;
}

int32_t hebrewMonthLength(int32_t month, int32_t year) {
    if (month == 2 || month == 4 || month == 6 || month == 10 || month == 13) return 29;
    if (month == 12) return isHebrewLeapYear(year) ? 30 : 29;
    if (month == 8) return isLongHeshvan(year) ? 30 : 29;
    if (month == 9 && isShortKislev(year)) return 29;
    return 30;
}

int32_t dayFromHebrew(int32_t month, int32_t day, int32_t year) {
    int32_t days = day;
    if (month < 7) {
        int32_t last = isHebrewLeapYear(year) ? 13 : 12;
        for (int32_t m = 7; m <= last; ++m)
            days += hebrewMonthLength(m, year);
        for (int32_t m = 1; m < month; ++m)
            days += hebrewMonthLength(m, year);
    } else {
        for (int32_t m = 7; m < month; ++m)
            days += hebrewMonthLength(m, year);
    }
    return days + hebrewYearStart(year) - (kHebrewEpochOffset + 1);
}

HebrewDate hebrewFromDay(int32_t dayNumber) {
    CivilDate civil = civilFromDay(dayNumber);
    int32_t year = civil.year + 3760;
    while (dayNumber >= dayFromHebrew(7, 1, year + 1))
        ++year;
    int32_t month = hebrewMonthGuess[civil.month];
    int32_t monthsInYear = isHebrewLeapYear(year) ? 13 : 12;
    while (dayNumber > dayFromHebrew(month, hebrewMonthLength(month, year), year))
        month = month % monthsInYear + 1;
    return {month, dayNumber - dayFromHebrew(month, 1, year) + 1, year};
}

CivilDate todayCivil() {
    LocalDate today = localDate();
    return {today.month, today.day, today.year};
}
