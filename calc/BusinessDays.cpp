#include "BusinessDays.h"

#include "RunStop.h"

#include <QStringList>

namespace {

QDate nthWeekday(int year, int month, int weekday, int week) {
    if (week < 0) {
        QDate d(year, month, QDate(year, month, 1).daysInMonth());
        while (d.dayOfWeek() != weekday)
            d = d.addDays(-1);
        return d;
    }
    QDate d(year, month, 1);
    while (d.dayOfWeek() != weekday)
        d = d.addDays(1);
    return d.addDays(7 * (week - 1));
}

// The day a holiday is observed in `year`.
QDate observed(const BusinessDays::Holiday& h, int year) {
    if (h.day == 0)
        return nthWeekday(year, h.month, h.weekday, h.week);
    const QDate d(year, h.month, h.day);
    if (d.dayOfWeek() == Qt::Saturday)
        return d.addDays(-1);
    if (d.dayOfWeek() == Qt::Sunday)
        return d.addDays(1);
    return d;
}

} // namespace

std::vector<BusinessDays::Holiday> BusinessDays::parse(const QString& csvText, const QString& source) {
    const QStringList lines = csvText.split(QLatin1Char('\n'));
    const QStringList header = lines.value(0).trimmed().split(QLatin1Char(','));
    const QStringList expected = {QStringLiteral("name"),     QStringLiteral("month"), QStringLiteral("day"),
                                  QStringLiteral("weekday"),  QStringLiteral("week"),  QStringLiteral("first_year"),
                                  QStringLiteral("last_year")};
    if (header != expected)
        throw RunStop(QStringLiteral("The file %1 does not begin with the line \"%2\".")
                          .arg(source, expected.join(QLatin1Char(','))));
    std::vector<Holiday> holidays;
    for (int n = 1; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        const QStringList cells = line.split(QLatin1Char(','));
        auto number = [&cells](int i, int empty, bool* ok) {
            const QString c = cells.value(i).trimmed();
            if (c.isEmpty())
                return empty;
            bool good = false;
            const int v = c.toInt(&good);
            *ok = *ok && good;
            return v;
        };
        bool ok = cells.size() == expected.size();
        Holiday h;
        h.name = cells.value(0).trimmed();
        h.month = number(1, 0, &ok);
        h.day = number(2, 0, &ok);
        h.weekday = number(3, 0, &ok);
        h.week = number(4, 0, &ok);
        h.firstYear = number(5, 0, &ok);
        h.lastYear = number(6, 9999, &ok);
        // A fixed day must be a day of its month (in a leap year, so that February has 29).
        const bool fixed = h.month >= 1 && h.month <= 12 && h.day >= 1 &&
                           h.day <= QDate(2000, h.month, 1).daysInMonth() && h.weekday == 0 && h.week == 0;
        const bool weekly =
            h.day == 0 && h.weekday >= 1 && h.weekday <= 7 && (h.week == -1 || (h.week >= 1 && h.week <= 4));
        if (!ok || h.month < 1 || h.month > 12 || !(fixed || weekly) || h.firstYear < 1 || h.lastYear < h.firstYear)
            throw RunStop(QStringLiteral(
                              "The file %1, line %2, is not a holiday: a name, a month, and either a day of "
                              "that month or a weekday (1 Monday to 7 Sunday) and a week (1 to 4, or -1 for the last), "
                              "then the first and last year.")
                              .arg(source)
                              .arg(n + 1));
        holidays.push_back(h);
    }
    return holidays;
}

QString BusinessDays::holidayOn(const QDate& date) const {
    // A Saturday holiday of next January 1 is observed on December 31.
    for (const int year : {date.year(), date.year() + 1})
        for (const auto& h : holidays)
            if (year >= h.firstYear && year <= h.lastYear && observed(h, year) == date)
                return h.name;
    return QString();
}

bool BusinessDays::isBusinessDay(const QDate& date) const {
    return date.dayOfWeek() != Qt::Saturday && date.dayOfWeek() != Qt::Sunday && holidayOn(date).isEmpty();
}

QDate BusinessDays::nextBusinessDay(const QDate& date) const {
    // Weekends and holidays never fill a year; a list that does is not a list of holidays.
    QDate d = date.addDays(1);
    for (int tried = 0; tried < 366; ++tried, d = d.addDays(1))
        if (isBusinessDay(d))
            return d;
    throw RunStop(QStringLiteral("The holidays file leaves no business day in the year after %1: it cannot be a list "
                                 "of legal holidays. Correct it.")
                      .arg(date.toString(QStringLiteral("MM/dd/yyyy"))));
}
