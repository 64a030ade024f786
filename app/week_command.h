// The --week mode: this week's reading and lesson for a run of days, one line per day.
#pragma once
#include <cstdint>
#include <string>

// Which schedule the mode follows.
enum WeekSchedule : int {
    ScheduleOfDevice = 0, // the time zone and the registry decide, as at start-up
    ScheduleIsrael = 1,
    ScheduleAbroad = 2,
};

struct WeekRequest {
    int32_t firstDay; // day number of the first date (today when none is given)
    int32_t days;     // how many days, 1 or more
    int schedule;     // WeekSchedule
};

// Parses the arguments that follow "--week": [YYYY-MM-DD] [--days N] [--israel|--abroad], in
// any order. Dates run from 0002-01-01 to 9999-12-31, and so must the whole run of days.
// Returns 0 with *request filled, or 2 with *error saying what is wrong.
int parseWeekArguments(int argc, const char* const* argv, WeekRequest* request, std::string* error);

// One output line for a day (day number): the date, the Saturday on or after it, that
// Saturday's reading value (0..53, or the negative combined value) and the lesson (0 when the
// week has none), tab-separated, ending with a newline. options: ReadingIsrael or 0.
std::string weekLine(int32_t dayNumber, uint32_t options);

// Runs the mode with the arguments after "--week": the lines on standard output and exit
// status 0, or a message and the usage on standard error and exit status 2.
int runWeekCommand(int argc, const char* const* argv);
