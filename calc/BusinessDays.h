#pragma once

#include <QDate>
#include <QString>

#include <vector>

// The calendar of business days: every day but Saturdays, Sundays and the legal holidays of a list (data/holidays.csv,
// the legal holidays of the District of Columbia, which IRC 7503 refers to). A holiday that falls on a Saturday is
// observed on the Friday before, one on a Sunday on the Monday after.
class BusinessDays {
public:
    struct Holiday {
        QString name;
        int month = 0;
        int day = 0;       // a fixed day of the month, or 0 when the holiday is a weekday of a week
        int weekday = 0;   // 1 Monday .. 7 Sunday
        int week = 0;      // 1 .. 4, or -1 for the last
        int firstYear = 0; // the years the rule holds
        int lastYear = 9999;
    };

    BusinessDays() = default; // weekends only
    explicit BusinessDays(std::vector<Holiday> holidays) : holidays(std::move(holidays)) {}
    // The lines of a holidays file (header "name,month,day,weekday,week,first_year,last_year"); throws a RunStop
    // naming `source` and the line of anything malformed.
    static std::vector<Holiday> parse(const QString& csvText, const QString& source);

    // The name of the holiday observed on `date`, or empty.
    QString holidayOn(const QDate& date) const;
    bool isBusinessDay(const QDate& date) const;
    // The first business day after `date`.
    QDate nextBusinessDay(const QDate& date) const;

private:
    std::vector<Holiday> holidays;
};
