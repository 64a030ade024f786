// Against an independent implementation: the hebcal program's weekly portions (Israel and
// abroad) and Hebrew dates for every Saturday and every day from 1900 to 2100.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "calendar/hebrew_calendar.h"
#include "calendar/weekly_lesson.h"

namespace {
// hebcal's names of the weekly portions 0..52, in our numbering. Portion 53 is read on a
// festival and never named on a Saturday.
const char* const kPortionNames[] = {
    "Bereshit",     "Noach",     "Lech-Lecha", "Vayera",    "Chayei Sara", "Toldot",   "Vayetzei",
    "Vayishlach",   "Vayeshev",  "Miketz",     "Vayigash",  "Vayechi",     "Shemot",   "Vaera",
    "Bo",           "Beshalach", "Yitro",      "Mishpatim", "Terumah",     "Tetzaveh", "Ki Tisa",
    "Vayakhel",     "Pekudei",   "Vayikra",    "Tzav",      "Shmini",      "Tazria",   "Metzora",
    "Achrei Mot",   "Kedoshim",  "Emor",       "Behar",     "Bechukotai",  "Bamidbar", "Nasso",
    "Beha'alotcha", "Sh'lach",   "Korach",     "Chukat",    "Balak",       "Pinchas",  "Matot",
    "Masei",        "Devarim",   "Vaetchanan", "Eikev",     "Re'eh",       "Shoftim",  "Ki Teitzei",
    "Ki Tavo",      "Nitzavim",  "Vayeilech",  "Ha'Azinu",
};

// Portion number of a name; -1 when unknown.
int portionNumber(const std::string& name) {
    for (int i = 0; i < int(std::size(kPortionNames)); ++i) {
        if (name == kPortionNames[i]) return i;
    }
    return -1;
}

// Our reading value of hebcal's name: a portion, or -n for "A-B" with A = n and B = n + 1.
// Returns 1000 when the name is not one we know.
int readingValue(const std::string& name) {
    int whole = portionNumber(name);
    if (whole >= 0) return whole;
    for (size_t dash = name.find('-'); dash != std::string::npos; dash = name.find('-', dash + 1)) {
        int a = portionNumber(name.substr(0, dash)), b = portionNumber(name.substr(dash + 1));
        if (a >= 0 && b == a + 1) return -a;
    }
    return 1000;
}

const char* const kMonthNames[] = {"",      "Nisan",  "Iyyar",   "Sivan",    "Tamuz",
                                   "Av",    "Elul",   "Tishrei", "Cheshvan", "Kislev",
                                   "Tevet", "Sh'vat", "Adar",    "Adar II"};

int monthNumber(const std::string& name) {
    if (name == "Adar I") return 12;
    for (int m = 1; m <= 13; ++m) {
        if (name == kMonthNames[m]) return m;
    }
    return -1;
}

// Runs hebcal with `args`; its standard output, or fails the test.
std::string hebcal(const std::string& args) {
    std::string out;
    FILE* pipe = ::popen(("hebcal " + args + " 2>/dev/null").c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run hebcal";
        return out;
    }
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    int status = ::pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "hebcal " << args << " failed; scripts/install-deps installs it";
    return out;
}

// "YYYY-MM-DD" to a day number.
int32_t dayOf(const std::string& iso) {
    return dayFromCivil(std::stoi(iso.substr(5, 2)), std::stoi(iso.substr(8, 2)),
                        std::stoi(iso.substr(0, 4)));
}

constexpr int kFirstYear = 1900, kYears = 201; // 1900 to 2100
const std::string kRange = "--years " + std::to_string(kYears) + " " + std::to_string(kFirstYear);

// Day number to reading value of every Saturday that hebcal names a portion for.
std::map<int32_t, int> hebcalPortions(bool israel) {
    std::map<int32_t, int> portions;
    std::istringstream lines(hebcal(std::string("-s -h -x -g ") + (israel ? "-i " : "") + kRange));
    std::string line;
    const std::string prefix = "Parashat ";
    while (std::getline(lines, line)) {
        if (line.size() < 11 || line.compare(11, prefix.size(), prefix) != 0) {
            ADD_FAILURE() << "unexpected hebcal line: " << line;
            continue;
        }
        std::string name = line.substr(11 + prefix.size());
        int value = readingValue(name);
        EXPECT_NE(value, 1000) << "unknown portion name: " << name;
        portions[dayOf(line.substr(0, 10))] = value;
    }
    return portions;
}

class HebcalSchedule : public testing::TestWithParam<bool> {};

TEST_P(HebcalSchedule, EverySaturdayReadsThePortionHebcalNames) {
    const bool israel = GetParam();
    std::map<int32_t, int> portions = hebcalPortions(israel);
    ASSERT_GT(portions.size(), 9500u) << "hebcal named too few portions";
    const int32_t first = weekdayOnOrBefore(6, dayFromCivil(1, 1, kFirstYear) + 6);
    const int32_t last = dayFromCivil(12, 31, kFirstYear + kYears - 1);
    int compared = 0, festivals = 0, disagreements = 0;
    for (int32_t saturday = first; saturday <= last; saturday += 7) {
        auto it = portions.lower_bound(saturday);
        ASSERT_NE(it, portions.end()) << "hebcal names no portion after " << saturday;
        // A festival Saturday has no portion of its own and takes the next reading; a new
        // cycle reached this way counts as the last portion of the old one.
        int expected = it->second;
        if (it->first != saturday) {
            ++festivals;
            if (expected == 0) expected = 53;
        }
        int32_t reading = 0;
        ASSERT_EQ(weekReading(saturday, israel ? ReadingIsrael : 0, &reading), 0);
        ++compared;
        if (reading != expected && ++disagreements <= 20) {
            CivilDate c = civilFromDay(saturday);
            ADD_FAILURE() << (israel ? "Israel " : "abroad ") << c.year << "-" << c.month << "-"
                          << c.day << ": ours " << reading << ", hebcal " << expected;
        }
    }
    EXPECT_EQ(disagreements, 0);
    std::printf("%s: %d Saturdays compared (%d festival Saturdays), %d disagreements\n",
                israel ? "Israel" : "abroad", compared, festivals, disagreements);
}

INSTANTIATE_TEST_SUITE_P(IsraelAndAbroad, HebcalSchedule, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& p) {
                             return p.param ? "Israel" : "Abroad";
                         });

TEST(HebcalDates, EveryDayHasTheHebrewDateHebcalGives) {
    std::istringstream lines(hebcal("-d -h -x -g " + kRange));
    std::string line;
    int32_t expectedDay = dayFromCivil(1, 1, kFirstYear);
    int compared = 0, disagreements = 0;
    while (std::getline(lines, line)) {
        // "1900-01-01 1st of Sh'vat, 5660"
        size_t of = line.find(" of "), comma = line.rfind(", ");
        ASSERT_TRUE(of != std::string::npos && comma != std::string::npos && comma > of) << line;
        int32_t day = dayOf(line.substr(0, 10));
        ASSERT_EQ(day, expectedDay) << "hebcal skipped a day before " << line;
        ++expectedDay;
        HebrewDate want{monthNumber(line.substr(of + 4, comma - of - 4)),
                        std::stoi(line.substr(11, of - 11)), std::stoi(line.substr(comma + 2))};
        ASSERT_GT(want.month, 0) << line;
        HebrewDate got = hebrewFromDay(day);
        ++compared;
        if ((got.month != want.month || got.day != want.day || got.year != want.year) &&
            ++disagreements <= 20)
            ADD_FAILURE() << line << ": ours " << got.month << "/" << got.day << "/" << got.year;
    }
    EXPECT_EQ(expectedDay, dayFromCivil(1, 1, kFirstYear + kYears)) << "hebcal ended early";
    EXPECT_EQ(disagreements, 0);
    std::printf("Hebrew dates: %d days compared, %d disagreements\n", compared, disagreements);
}
} // namespace
