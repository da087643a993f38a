#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QStringView>

#include <limits>

// Whole-day date arithmetic of the penalty and interest steps.
namespace DateMath {

// (year2 × 12 + month2) − (year1 × 12 + month1): days are ignored.
int monthDiff(const QDate& from, const QDate& to);
// to − from in days.
qint64 dayDiff(const QDate& from, const QDate& to);
// One month later, the day clamped to the month's end (1/31 → 2/28; the next addition starts from 2/28).
QDate addMonth(const QDate& d);
// year × 4 + quarter index (0..3).
int quarterIndex(const QDate& d);
// The last day of the calendar quarter before the one that holds `d`.
QDate endOfPrecedingQuarter(const QDate& d);
// 365 or 366.
int daysInYear(int year);
// -1, 0 or 1 as `a` is before, on or after `b`; an empty date comes before every date, as an empty value sorts first
// in the store.
inline int compareDates(const QDate& a, const QDate& b) {
    // An empty date's Julian day is the least there is.
    const qint64 x = a.isValid() ? a.toJulianDay() : std::numeric_limits<qint64>::min();
    const qint64 y = b.isValid() ? b.toJulianDay() : std::numeric_limits<qint64>::min();
    return x < y ? -1 : (y < x ? 1 : 0);
}

// A date written "YYYY-MM-DD", as the store and the data files write dates: a real calendar day, or an invalid
// date for any other text. The same days as QDate::fromString(text, Qt::ISODate) reads from such a text, without its
// cost (a table of rates is read a hundred thousand dates at a time).
QDate fromIso(QStringView text);
QDate fromIso(QByteArrayView text);

} // namespace DateMath
