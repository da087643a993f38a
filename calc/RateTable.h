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
    // `name` says which table it is in messages ("underpayment").
    RateTable(const RecordSet& rows, const QString& name);
    explicit RateTable(std::vector<Period> periods, const QString& name = QStringLiteral("underpayment"))
        : periods(std::move(periods)), name(name) {}

    // The first period, in stored order, with [Beginning Date] <= date <= [Ending Date]; nullptr when none.
    const Period* find(const QDate& date) const;
    // What the table lacks for `date`, as the missing-rate message adds it: where the table ends, or that it has a
    // gap there.
    QString lacking(const QDate& date) const;

private:
    std::vector<Period> periods;
    QString name;
};
