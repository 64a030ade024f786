// The local clock and time zone: today's date and the names of the zone the user is in.
#pragma once
#include <cstdint>

// A local calendar date: year (e.g. 2007), month 1..12, day 1..31.
struct LocalDate {
    int32_t year;
    int32_t month;
    int32_t day;
};

// Today's date in the local time zone.
LocalDate localDate();

// The local time zone's names, each zero-terminated UTF-16 and cut to 63 units; empty when
// the platform does not know.
struct TimeZoneNames {
    char16_t standardName[64]; // standard-time display name in the C locale, e.g.
                               // "Israel Standard Time", "Eastern Standard Time"
    char16_t id[64];           // e.g. "Asia/Jerusalem"
};

// Fills `names` for the zone in effect now.
void localTimeZone(TimeZoneNames* names);

// Test hook: while `fixed` is not null, the queries above answer from it (copied) instead of
// the system. Null: back to the system clock.
struct FixedClock {
    LocalDate date;
    const char16_t* standardName;
    const char16_t* zoneId;
};
void fixClock(const FixedClock* fixed);
