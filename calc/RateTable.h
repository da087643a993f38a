#pragma once

#include "PublishedFigures.h"

#include <QDate>

#include <optional>
#include <vector>

// One of the interest rate tables, in its stored order.
class RateTable {
public:
    using Period = RatePeriod;

    RateTable() = default;
    // `name` says which table it is in messages ("underpayment").
    explicit RateTable(std::vector<Period> periods, const QString& name = QStringLiteral("underpayment"));

    // The first period, in stored order, with [Beginning Date] <= date <= [Ending Date]; nullptr when none.
    const Period* find(const QDate& date) const;
    // What the table lacks for `date`, as the missing-rate message adds it: where the table ends, or that it has a
    // gap there.
    QString lacking(const QDate& date) const;

private:
    std::vector<Period> periods;
    QString name;
    // The periods with both dates by their first day, and whether any two of them share a day: when none do (as in a
    // table of published rates), a day's period is found by a binary search.
    std::vector<int> byBeginning;
    bool overlapping = false;
};
