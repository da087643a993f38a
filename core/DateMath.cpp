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

int daysInYear(int year) {
    return int(QDate(year, 1, 1).daysTo(QDate(year, 12, 31))) + 1;
}

namespace {

int codeOf(char c) {
    return static_cast<unsigned char>(c);
}
int codeOf(QChar c) {
    return c.unicode();
}

template <typename Text> QDate isoDate(const Text& text) {
    if (text.size() != 10 || codeOf(text[4]) != '-' || codeOf(text[7]) != '-')
        return QDate();
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (int i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            const int c = codeOf(text[i]);
            if (c < '0' || c > '9')
                return QDate();
            parts[p] = parts[p] * 10 + (c - '0');
        }
    return QDate::isValid(parts[0], parts[1], parts[2]) ? QDate(parts[0], parts[1], parts[2]) : QDate();
}

} // namespace

QDate fromIso(QStringView text) {
    return isoDate(text);
}

QDate fromIso(QByteArrayView text) {
    return isoDate(text);
}

} // namespace DateMath
