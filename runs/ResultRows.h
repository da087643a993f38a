#pragma once

#include "DepositLedger.h"
#include "EstimatedTax.h"
#include "EventLedger.h"
#include "RecordSet.h"
#include "SummaryTotals.h"

#include <QStringList>
#include <QVariantList>

#include <vector>

class Database;

// A run's result as the rows of its result table: each value as the table stores it (an amount held as a single
// with the seven digits it is written with, a count as a whole number, an empty date empty). What a run writes and
// what its report shows are these same rows.
struct ResultRows {
    QString table;
    QStringList columns;
    std::vector<QVariantList> rows;

    // The rows as a report reads them.
    RecordSet recordSet() const;
    // The table emptied and these rows written, in one transaction: the run's last step.
    void write(Database& db) const;

    // [Event Table] of the penalty and interest report: every ledger row in its order.
    static ResultRows interest(const EventLedger& ledger);
    // [Event Table] of the failure-to-pay and failure-to-file report.
    static ResultRows penalty(const EventLedger& ledger);
    // [Event Table] of the deposit penalty report: every deposit-ledger row.
    static ResultRows deposit(const DepositLedger& ledger);
    // [Summary Table]: the one line of totals.
    static ResultRows summary(const SummaryTotals& totals);
    // [Estimated Tax Table]: a line for each worksheet line under its installment's heading (a heading alone for an
    // installment paid in time), or the exemption alone.
    static ResultRows estimated(const EstimatedTax::Result& result);
};

// The heading of an installment, as the estimated-tax report's group shows it.
QString installmentHeading(int index, const EstimatedTax::Installment& installment);
