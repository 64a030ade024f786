// The local clock and time zone from Qt. The zone's standard name is asked in the C locale, so
// that it does not depend on the user's language.
#include "platform/clock.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QTimeZone>

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
        gZoneName = zone.isValid() ? zone.displayName(QTimeZone::StandardTime, QTimeZone::LongName,
                                                      QLocale::c())
                                         .toStdU16String()
                                   : std::u16string();
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
