#include "calendar/weekly_lesson.h"

#include <initializer_list>

#include "calendar/hebrew_calendar.h"
#include "platform/clock.h"
#include "state/registry_values.h"

int prepareReadingYear(ReadingYear* record, int32_t hebrewYear) {
    int32_t longHeshvan = isLongHeshvan(hebrewYear), shortKislev = isShortKislev(hebrewYear);
    int32_t kind = longHeshvan && !shortKislev ? 2 : shortKislev && !longHeshvan ? 0 : 1;
    int32_t start = dayFromHebrew(7, 1, hebrewYear);
    record->firstSabbath = weekdayOnOrBefore(6, start + 6);
    int32_t leap = isHebrewLeapYear(hebrewYear);
    int32_t weekdayHalf = start % 7 / 2;
    int32_t israel = record->options & ReadingIsrael ? 1 : 0;
    int32_t index = israel + 2 * (kind + 3 * (weekdayHalf + 4 * leap));
    // Before year 3762 the New Year's day number is negative and its weekday meaningless; keep
    // the index inside the table all the same.
    record->readings = index >= 0 && index < kYearKinds ? readingTableIndex[index] : nullptr;
    return record->readings ? 0 : 1;
}

int32_t readingForSabbath(const ReadingYear* record, int32_t saturday) {
    int32_t i = (saturday - record->firstSabbath) / 7;
    if (i < 0 || i >= kReadingTableEntries) return 0;
    const int8_t* entries = record->readings->entries;
    int32_t v = entries[i];
    while (v == -1) {
        ++i;
        v = i < kReadingTableEntries ? entries[i] : 0;
        if (v == 0) v = kLastPortion;
    }
    return v;
}

int32_t lessonOfReading(int32_t reading) {
    if (reading >= 0) return reading <= kLastPortion ? readingLesson[reading] : 0;
    for (int k = 0; combinedReadings[k] != 0; ++k) {
        if (combinedReadings[k] == -reading) return readingLesson[kLastPortion + 1 + k];
    }
    return 0;
}

int weekReading(int32_t dayNumber, uint32_t options, int32_t* reading) {
    int32_t saturday = weekdayOnOrBefore(6, dayNumber + 6);
    HebrewDate h = hebrewFromDay(saturday);
    ReadingYear record{options, nullptr, 0};
    if (prepareReadingYear(&record, h.year) != 0) return 1;
    *reading = readingForSabbath(&record, saturday);
    return 0;
}

namespace {
char16_t foldCase(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// Whether `text` begins with `prefix` (or equals it, when whole), ignoring ASCII letter case.
bool startsWith(const char16_t* text, const char16_t* prefix, bool whole = false) {
    if (!text) text = u"";
    for (; *prefix; ++text, ++prefix) {
        if (foldCase(*text) != foldCase(*prefix)) return false;
    }
    return !whole || *text == 0;
}
} // namespace

int isIsraelTimeZone(const char16_t* standardName, const char16_t* zoneId) {
    if (startsWith(standardName, u"Israel") || startsWith(standardName, u"Jerusalem")) return 1;
    // A desktop may give only the zone's id.
    for (const char16_t* id : {u"Asia/Jerusalem", u"Asia/Tel_Aviv", u"Israel"}) {
        if (startsWith(zoneId, id, true)) return 1;
    }
    return 0;
}

uint32_t deviceReadingOptions() {
    TimeZoneNames zone;
    localTimeZone(&zone);
    if (isIsraelTimeZone(zone.standardName, zone.id)) return ReadingIsrael;
    return readNumberValue(kMakerKey, u"Israel", 0) != 0 ? ReadingIsrael : 0;
}

namespace {
int32_t lessonInSchedule(int32_t dayNumber, uint32_t options) {
    int32_t reading = 0;
    // A year without a table has no lesson: lesson 1 follows.
    if (weekReading(dayNumber, options, &reading) != 0) return 0;
    return lessonOfReading(reading);
}
} // namespace

int32_t weeklyLessonForDay(int32_t dayNumber) {
    // The device's schedule is asked only for a week whose lesson it decides. The schedules
    // part after Passover, in weeks whose portions have no lesson (no week from year 2 to 9997
    // has two lessons); and asking costs a start ICU's zone data for the zone's name (2 MB).
    return lessonOfDeviceSchedule(lessonInSchedule(dayNumber, 0),
                                  lessonInSchedule(dayNumber, ReadingIsrael));
}

int32_t lessonOfDeviceSchedule(int32_t abroad, int32_t israel) {
    if (abroad == israel) return abroad;
    return deviceReadingOptions() & ReadingIsrael ? israel : abroad;
}
