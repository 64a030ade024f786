#include "app/week_command.h"

#include <cstdio>
#include <cstring>

#include "app/command_args.h"
#include "calendar/hebrew_calendar.h"
#include "calendar/weekly_lesson.h"

namespace {
// The calendar's arithmetic holds from the first Hebrew year that begins after day 1 (3762, in
// September of year 1), so that whole weeks of year 2 on are covered.
constexpr int32_t kFirstYear = 2;
const char kWeekUsage[] = "usage: versewell --week [YYYY-MM-DD] [--days N] [--israel|--abroad]\n";

// Whether `text` is exactly `count` decimal digits; their value in *value.
bool digits(const char* text, int count, int32_t* value) {
    int32_t v = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    *value = v;
    return true;
}

// A date written YYYY-MM-DD, as its day number; 0 when it is not one.
int32_t parseDate(const char* text) {
    int32_t year = 0, month = 0, day = 0;
    if (std::strlen(text) != 10 || text[4] != '-' || text[7] != '-' || !digits(text, 4, &year) ||
        !digits(text + 5, 2, &month) || !digits(text + 8, 2, &day))
        return 0;
    if (year < kFirstYear || month < 1 || month > 12 || day < 1 ||
        day > civilMonthLengths[isCivilLeapYear(year)][month])
        return 0;
    return dayFromCivil(month, day, year);
}

void formatDate(char* out, size_t size, int32_t dayNumber) {
    CivilDate c = civilFromDay(dayNumber);
    std::snprintf(out, size, "%04d-%02d-%02d", int(c.year), int(c.month), int(c.day));
}
} // namespace

int parseWeekArguments(int argc, const char* const* argv, WeekRequest* request,
                       std::string* error) {
    const int32_t lastDay = dayFromCivil(12, 31, 9999);
    int32_t firstDay = 0, days = 1;
    int schedule = ScheduleOfDevice;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--days") == 0) {
            if (i + 1 >= argc) {
                *error = "--days needs a number";
                return 2;
            }
            const char* n = argv[++i];
            size_t length = std::strlen(n);
            // Seven digits hold every run that fits the date range.
            if (length == 0 || length > 7 || !digits(n, int(length), &days) || days < 1) {
                *error = std::string("--days: not a number of days: '") + n + "'";
                return 2;
            }
        } else if (std::strcmp(arg, "--israel") == 0 || std::strcmp(arg, "--abroad") == 0) {
            int chosen = arg[2] == 'i' ? ScheduleIsrael : ScheduleAbroad;
            if (schedule != ScheduleOfDevice && schedule != chosen) {
                *error = "--israel and --abroad exclude each other";
                return 2;
            }
            schedule = chosen;
        } else if (arg[0] == '-') {
            *error = std::string("unknown option '") + arg + "'";
            return 2;
        } else {
            if (firstDay != 0) {
                *error = std::string("more than one date: '") + arg + "'";
                return 2;
            }
            firstDay = parseDate(arg);
            if (firstDay == 0) {
                *error = std::string("not a date (YYYY-MM-DD, 0002 to 9999): '") + arg + "'";
                return 2;
            }
        }
    }
    if (firstDay == 0) {
        CivilDate today = todayCivil();
        firstDay = dayFromCivil(today.month, today.day, today.year);
    }
    if (days - 1 > lastDay - firstDay) {
        *error = "the days run past 9999-12-31";
        return 2;
    }
    *request = {firstDay, days, schedule};
    return 0;
}

std::string weekLine(int32_t dayNumber, uint32_t options) {
    int32_t saturday = weekdayOnOrBefore(6, dayNumber + 6);
    int32_t reading = 0, lesson = 0;
    // No year of the calendar lacks a table; if one did, the week would have no lesson.
    if (weekReading(dayNumber, options, &reading) == 0) lesson = lessonOfReading(reading);
    char date[16], sabbath[16], line[64];
    formatDate(date, sizeof date, dayNumber);
    formatDate(sabbath, sizeof sabbath, saturday);
    std::snprintf(line, sizeof line, "%s\t%s\t%d\t%d\n", date, sabbath, int(reading), int(lesson));
    return line;
}

int runWeekCommand(int argc, const char* const* argv) {
    WeekRequest request{};
    std::string error;
    if (parseWeekArguments(argc, argv, &request, &error) != 0)
        return usageFailure(error, kWeekUsage);
    uint32_t options = request.schedule == ScheduleIsrael   ? ReadingIsrael
                       : request.schedule == ScheduleAbroad ? 0
                                                            : deviceReadingOptions();
    for (int32_t i = 0; i < request.days; ++i)
        std::fputs(weekLine(request.firstDay + i, options).c_str(), stdout);
    return 0;
}
