// The --week mode: its arguments, its lines, and the reader run with it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/week_command.h"
#include "calendar/hebrew_calendar.h"
#include "calendar/weekly_lesson.h"
#include "platform/clock.h"
#include "tests/support/config_home.h"

namespace {
int32_t day(int32_t year, int32_t month, int32_t d) {
    return dayFromCivil(month, d, year);
}

struct GoodArgs {
    std::vector<const char*> args;
    WeekRequest want;
};

TEST(WeekArguments, Accepted) {
    FixedClock clock{{2007, 1, 10}, u"", u""};
    fixClock(&clock);
    const GoodArgs cases[] = {
        {{}, {day(2007, 1, 10), 1, ScheduleOfDevice}},
        {{"2007-03-11", "--days", "4", "--abroad"}, {day(2007, 3, 11), 4, ScheduleAbroad}},
        {{"--israel", "2006-06-10"}, {day(2006, 6, 10), 1, ScheduleIsrael}},
        {{"--days", "7", "--israel", "--israel"}, {day(2007, 1, 10), 7, ScheduleIsrael}},
        {{"0002-01-01"}, {day(2, 1, 1), 1, ScheduleOfDevice}},
        {{"2004-02-29"}, {day(2004, 2, 29), 1, ScheduleOfDevice}},
        {{"9999-12-25", "--days", "7"}, {day(9999, 12, 25), 7, ScheduleOfDevice}},
    };
    for (const GoodArgs& c : cases) {
        WeekRequest got{};
        std::string error;
        ASSERT_EQ(parseWeekArguments(int(c.args.size()), c.args.data(), &got, &error), 0) << error;
        EXPECT_EQ(got.firstDay, c.want.firstDay);
        EXPECT_EQ(got.days, c.want.days);
        EXPECT_EQ(got.schedule, c.want.schedule);
    }
    fixClock(nullptr);
}

TEST(WeekArguments, Refused) {
    const std::vector<const char*> cases[] = {
        {"2007-02-29"},
        {"2007-13-01"},
        {"2007-00-10"},
        {"2007-04-31"},
        {"2007-3-11"},
        {"07-03-11"},
        {"2007-03-11x"},
        {"0001-12-31"},
        {"2007/03/11"},
        {""},
        {"--days"},
        {"--days", "0"},
        {"--days", "-1"},
        {"--days", "x"},
        {"--days", "12345678"},
        {"--days", ""},
        {"--israel", "--abroad"},
        {"--frobnicate"},
        {"2007-03-11", "2007-03-12"},
        {"9999-12-31", "--days", "2"},
    };
    for (const auto& args : cases) {
        WeekRequest got{-1, -1, -1};
        std::string error;
        EXPECT_EQ(parseWeekArguments(int(args.size()), args.data(), &got, &error), 2)
            << testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(got.firstDay, -1) << "nothing stored on failure";
    }
}

TEST(WeekLines, DateSaturdayReadingLesson) {
    EXPECT_EQ(weekLine(day(2007, 3, 11), 0), "2007-03-11\t2007-03-17\t-21\t33\n");
    EXPECT_EQ(weekLine(day(2007, 9, 22), 0), "2007-09-22\t2007-09-22\t53\t0\n");
    EXPECT_EQ(weekLine(day(2006, 6, 5), ReadingIsrael), "2006-06-05\t2006-06-10\t35\t0\n");
    EXPECT_EQ(weekLine(day(2006, 6, 5), 0), "2006-06-05\t2006-06-10\t34\t0\n");
    // Years below 1000 keep four digits.
    EXPECT_EQ(weekLine(day(2, 1, 1), 0).substr(0, 22), "0002-01-01\t0002-01-05\t");
}

struct Outcome {
    int status;
    std::string out, err;
};

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the reader with `args` after `environment` (assignments for the shell).
Outcome runReader(const std::string& environment, const std::string& args) {
    const char* reader = std::getenv("VERSEWELL");
    EXPECT_NE(reader, nullptr) << "VERSEWELL names the reader under test";
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("week-cli-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string command = environment + " " + (reader ? reader : "false") + " " + args + " >" +
                          (dir / "out").string() + " 2>" + (dir / "err").string();
    int raw = std::system(command.c_str());
    Outcome o{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(dir / "out"), readAll(dir / "err")};
    std::filesystem::remove_all(dir);
    return o;
}

TEST(WeekCommand, PrintsOneLinePerDay) {
    Outcome o = runReader("", "--week 2007-03-11 --days 4 --abroad");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "2007-03-11\t2007-03-17\t-21\t33\n"
                     "2007-03-12\t2007-03-17\t-21\t33\n"
                     "2007-03-13\t2007-03-17\t-21\t33\n"
                     "2007-03-14\t2007-03-17\t-21\t33\n");
}

TEST(WeekCommand, BadArgumentsExitWithStatus2) {
    for (const char* args : {"--week 2007-02-30", "--week --days", "--week --israel --abroad"}) {
        Outcome o = runReader("", args);
        EXPECT_EQ(o.status, 2) << args;
        EXPECT_TRUE(o.out.empty()) << args;
        EXPECT_NE(o.err.find("usage: versewell --week"), std::string::npos) << o.err;
    }
}

// Without --israel or --abroad the time zone decides, and else the maker key: Saturday
// 10 June 2006 reads 35 in Israel and 34 abroad.
TEST(WeekCommand, ScheduleFromTheTimeZoneAndTheRegistry) {
    ConfigHome empty, israelSwitch;
    israelSwitch.write("quillmere.ini", "[General]\nIsrael=1\n");
    const std::string none = " XDG_CONFIG_HOME=" + empty.dir().string();
    const std::string set = " XDG_CONFIG_HOME=" + israelSwitch.dir().string();
    struct Case {
        std::string environment;
        const char* option;
        const char* line;
    } cases[] = {
        {"TZ=Asia/Jerusalem" + none, "", "2006-06-10\t2006-06-10\t35\t0\n"},
        {"TZ=America/New_York" + none, "", "2006-06-10\t2006-06-10\t34\t0\n"},
        {"TZ=America/New_York" + set, "", "2006-06-10\t2006-06-10\t35\t0\n"},
        {"TZ=Asia/Jerusalem" + none, " --abroad", "2006-06-10\t2006-06-10\t34\t0\n"},
        {"TZ=America/New_York" + none, " --israel", "2006-06-10\t2006-06-10\t35\t0\n"},
    };
    for (const Case& c : cases) {
        Outcome o = runReader(c.environment, std::string("--week 2006-06-10") + c.option);
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.out, c.line) << c.environment << c.option;
    }
}

TEST(WeekCommand, TodayByDefault) {
    std::time_t before = std::time(nullptr);
    Outcome o = runReader("", "--week --abroad");
    std::time_t after = std::time(nullptr);
    EXPECT_EQ(o.status, 0) << o.err;
    // Today's date, from either moment in case midnight passed in between, and its line.
    char first[16], second[16];
    std::strftime(first, sizeof first, "%Y-%m-%d", std::localtime(&before));
    std::strftime(second, sizeof second, "%Y-%m-%d", std::localtime(&after));
    std::string date = o.out.substr(0, 10);
    EXPECT_TRUE(date == first || date == second) << o.out;
    EXPECT_EQ(o.out, weekLine(day(std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                                  std::stoi(date.substr(8, 2))),
                              0));
}
} // namespace
