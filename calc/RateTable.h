#pragma once

#include "RecordSet.h"

#include <QDate>

#include <optional>
#include <vector>

// One of the two interest rate tables, read once per run into memory in its stored order.
class RateTable {
public:
    struct Period {
        QDate beginning;
        QDate ending;
        std::optional<double> rate;
    };

    RateTable() = default;
    explicit RateTable(const RecordSet& rows);
    explicit RateTable(std::vector<Period> periods) : periods(std::move(periods)) {}

    // The first period, in stored order, with [Beginning Date] <= date <= [Ending Date]; nullptr when none.
    const Period* find(const QDate& date) const;

private:
    std::vector<Period> periods;
};
