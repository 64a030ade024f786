// The local time zone's names as the platform gives them, for zones set through TZ: the
// standard-time name in the C locale, the id as given, and nothing for a zone that is not one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/clock.h"

namespace {
struct Case {
    const char* tz;
    const char16_t* standardName;
    const char16_t* id;
};

class TimeZoneNamesTest : public testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        had = tz != nullptr;
        if (had) saved = tz;
    }
    void TearDown() override {
        if (had) {
            setenv("TZ", saved.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
    }

private:
    bool had = false;
    std::string saved;
};

TEST_F(TimeZoneNamesTest, NamesOfZonesSetThroughTz) {
    const Case cases[] = {
        {"Asia/Jerusalem", u"Israel Standard Time", u"Asia/Jerusalem"},
        {":Asia/Tel_Aviv", u"Israel Standard Time", u"Asia/Tel_Aviv"}, // an alias, with a colon
        {"Israel", u"Israel Standard Time", u"Israel"},
        {"America/New_York", u"Eastern Standard Time", u"America/New_York"},
        {"Europe/London", u"Greenwich Mean Time", u"Europe/London"},
        {"Etc/UTC", u"Coordinated Universal Time", u"Etc/UTC"},
        // A rule written out rather than named: the zone's abbreviation is all there is.
        {"IST-2IDT,M3.4.4/26,M10.5.0", u"IST", u"IST-2IDT,M3.4.4/26,M10.5.0"},
        {"Nowhere/Atlantis", u"", u"Nowhere/Atlantis"},
        // Back to the first after another: the name is not kept from the zone before.
        {"Asia/Jerusalem", u"Israel Standard Time", u"Asia/Jerusalem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tz);
        setenv("TZ", c.tz, 1);
        TimeZoneNames names{};
        localTimeZone(&names);
        EXPECT_EQ(std::u16string(names.standardName), std::u16string(c.standardName));
        EXPECT_EQ(std::u16string(names.id), std::u16string(c.id));
    }
}
} // namespace
