// The cost of this week's lesson for a day, whole and in its parts, against the plain civil
// day-number computation as the floor that any answer for a date must at least pay. The whole
// works the week out in both schedules; it asks the device's schedule (the time zone, and the
// registry when the zone is not Israel's) only for a week the two tie to different lessons,
// which the book has none of: that query is measured on its own.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/ratio_reporter.h"
#include "calendar/hebrew_calendar.h"
#include "calendar/weekly_lesson.h"
#include "platform/clock.h"

namespace {
// The days queried: one after the other over twenty years, so that every kind of year and
// week comes up.
const int32_t kFirstDay = dayFromCivil(1, 1, 2000);
const int32_t kDays = 20 * 365;

int32_t nextDay(int32_t& i) {
    i = i + 1 == kDays ? 0 : i + 1;
    return kFirstDay + i;
}

void BM_WeeklyLessonForDay(benchmark::State& state) {
    int32_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(weeklyLessonForDay(nextDay(i)));
}
BENCHMARK(BM_WeeklyLessonForDay);

// The calendar and the tables alone, with the schedule given.
void BM_WeekReadingAndLesson(benchmark::State& state) {
    int32_t i = 0, reading = 0;
    for (auto _ : state) {
        weekReading(nextDay(i), 0, &reading);
        benchmark::DoNotOptimize(lessonOfReading(reading));
    }
}
BENCHMARK(BM_WeekReadingAndLesson);

void BM_HebrewFromDay(benchmark::State& state) {
    int32_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(hebrewFromDay(nextDay(i)));
}
BENCHMARK(BM_HebrewFromDay);

// The Israel rule's platform queries alone (what a week of two lessons would add).
void BM_DeviceReadingOptions(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(deviceReadingOptions());
}
BENCHMARK(BM_DeviceReadingOptions);

// The floor: a civil date to its day number.
void BM_DayFromCivil(benchmark::State& state) {
    int32_t i = 0;
    for (auto _ : state) {
        int32_t d = nextDay(i) - kFirstDay;
        benchmark::DoNotOptimize(dayFromCivil(d % 12 + 1, d % 28 + 1, 2000 + d / 365));
    }
}
BENCHMARK(BM_DayFromCivil);
} // namespace

int main(int argc, char** argv) {
    // The registry read the Israel rule makes when the zone is not Israel's (measured on its
    // own): a maker key that exists and holds the switch, in a folder of our own.
    std::filesystem::path config =
        std::filesystem::temp_directory_path() / ("vw-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(config);
    std::ofstream(config / "quillmere.ini") << "[General]\nIsrael=0\n";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::filesystem::remove_all(config);

    TimeZoneNames zone;
    localTimeZone(&zone);
    bool israel = isIsraelTimeZone(zone.standardName, zone.id);
    std::printf("\ntime zone: %s, so the device's schedule query %s the registry\n",
                israel ? "Israel's" : "not Israel's", israel ? "does not read" : "reads");
    double whole = reporter.nanos("BM_WeeklyLessonForDay");
    double calendar = reporter.nanos("BM_WeekReadingAndLesson");
    double platform = reporter.nanos("BM_DeviceReadingOptions");
    double floor = reporter.nanos("BM_DayFromCivil");
    if (whole > 0 && calendar > 0 && platform > 0 && floor > 0) {
        std::printf("weeklyLessonForDay (both schedules, no device query): %.2f us; calendar and "
                    "tables for one schedule %.3f us; the device query alone %.2f us\n",
                    whole / 1000, calendar / 1000, platform / 1000);
        std::printf("against the day-number floor (%.1f ns): whole %.0fx, calendar alone %.0fx\n",
                    floor, whole / floor, calendar / floor);
    }
    return 0;
}
