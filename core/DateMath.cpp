#include "DateMath.h"

namespace DateMath {

int monthDiff(const QDate& from, const QDate& to) {
    return (to.year() * 12 + to.month()) - (from.year() * 12 + from.month());
}

qint64 dayDiff(const QDate& from, const QDate& to) {
    return from.daysTo(to);
}

QDate addMonth(const QDate& d) {
    return d.addMonths(1);
}

int quarterIndex(const QDate& d) {
    return d.year() * 4 + (d.month() - 1) / 3;
}

QDate endOfPrecedingQuarter(const QDate& d) {
    const int firstMonth = ((d.month() - 1) / 3) * 3 + 1;
    return QDate(d.year(), firstMonth, 1).addDays(-1);
}

int compareDates(const QDate& a, const QDate& b) {
    if (a.isValid() != b.isValid())
        return a.isValid() ? 1 : -1;
    return a < b ? -1 : (b < a ? 1 : 0);
}

int daysInYear(int year) {
    return int(QDate(year, 1, 1).daysTo(QDate(year, 12, 31))) + 1;
}

} // namespace DateMath
