#pragma once

#include "PublishedFigures.h"

#include <QDate>
#include <QString>

#include <vector>

// The calendar of business days: every day but Saturdays, Sundays and the legal holidays of a list (data/holidays.csv,
// the legal holidays of the District of Columbia, which IRC 7503 refers to). A holiday that falls on a Saturday is
// observed on the Friday before, one on a Sunday on the Monday after.
class BusinessDays {
public:
    using Holiday = ::Holiday;

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
