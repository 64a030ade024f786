// The local clock and time zone from Qt. The zone's standard name is asked in the C locale, so
// that it does not depend on the user's language.
#include "platform/clock.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QTimeZone>

#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/ucal.h>
#include <unicode/unistr.h>

#include <memory>
#include <optional>
#include <string>

namespace {
struct Fixed {
    LocalDate date;
    std::u16string standardName, zoneId;
};
std::optional<Fixed> gFixed;

// The display name of the zone last asked for: looking it up takes some hundred microseconds,
// the zone's id about one, and a zone's name does not change while the program runs.
QByteArray gNamedZone;
std::u16string gZoneName;
bool gNamed = false;

// A zone's standard-time name in the C locale, from ICU directly; nothing when ICU does not know
// the id. Qt asks ICU the same, but first lists every zone ICU knows (some 600) to check the id,
// which cost a start more than all the rest of its time-zone work.
std::optional<std::u16string> icuStandardName(const QByteArray& id) {
    QString zone = QString::fromLatin1(id);
    const auto* units = reinterpret_cast<const UChar*>(zone.utf16());
    auto length = int32_t(zone.size());
    UErrorCode status = U_ZERO_ERROR;
    UChar canonical[128];
    UBool known = false;
    ucal_getCanonicalTimeZoneID(units, length, canonical, 128, &known, &status);
    if (U_FAILURE(status) || !known) return std::nullopt;
    // The zone alone: a calendar made around it (the C API's way) would load calendar data
    // that the name does not need.
    std::unique_ptr<icu::TimeZone> tz(
        icu::TimeZone::createTimeZone(icu::UnicodeString(false, units, length)));
    if (!tz) return std::nullopt;
    icu::UnicodeString name;
    tz->getDisplayName(false, icu::TimeZone::LONG, icu::Locale("C"), name);
    if (name.isBogus()) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(name.getBuffer()),
                          size_t(name.length()));
}

void copyOut(const std::u16string& text, char16_t (&buffer)[64]) {
    size_t n = text.copy(buffer, 63);
    buffer[n] = 0;
}
} // namespace

LocalDate localDate() {
    if (gFixed) return gFixed->date;
    QDate today = QDate::currentDate();
    return {int32_t(today.year()), int32_t(today.month()), int32_t(today.day())};
}

void localTimeZone(TimeZoneNames* names) {
    if (gFixed) {
        copyOut(gFixed->standardName, names->standardName);
        copyOut(gFixed->zoneId, names->id);
        return;
    }
    QByteArray id = QTimeZone::systemTimeZoneId();
    if (!gNamed || id != gNamedZone) {
        QTimeZone zone(id);
        std::optional<std::u16string> name;
        if (zone.isValid()) name = icuStandardName(id);
        // A zone ICU does not know (a rule written out in TZ): Qt names it by its abbreviation.
        if (zone.isValid() && !name) {
            name = zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName, QLocale::c())
                       .toStdU16String();
        }
        gZoneName = name.value_or(std::u16string());
        gNamedZone = id;
        gNamed = true;
    }
    copyOut(gZoneName, names->standardName);
    copyOut(QString::fromLatin1(id).toStdU16String(), names->id);
}

void fixClock(const FixedClock* fixed) {
    if (!fixed) {
        gFixed.reset();
        return;
    }
    gFixed = Fixed{fixed->date, fixed->standardName ? fixed->standardName : u"",
                   fixed->zoneId ? fixed->zoneId : u""};
}
