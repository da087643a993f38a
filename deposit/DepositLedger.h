#pragma once

#include "Amount.h"
#include "EventTexts.h"

#include <QDate>
#include <QString>

#include <vector>

// One row of the deposit ledger: a required deposit, a payment made against it, or what was still unpaid at the
// end date.
struct DepositRow {
    QString event;
    QDate date;
    Amount requiredDeposit;
    Amount amountOfPayment;
    Amount unpaidBalance;
    std::optional<int> daysOverdue;
    std::optional<Rate> penaltyPercentage;
    Amount penalty;
    std::optional<qint16> requiredDepositNumber;
    QDate dueDateOfLiability;
    QDate assessmentDateOfLiability;
    std::optional<bool> sec6656b1B;
};

// The rows of one deposit penalty calculation, held in the order
// "[Due Date Of Liability] ASC,[Event] ASC, [Date] ASC".
class DepositLedger {
public:
    std::vector<DepositRow> rows;

    // Stable, so rows equal in all three keys keep the order in which they were added. Rows already in order
    // (the usual case) cost one pass.
    void sort();
    // Merges rows that are in order among themselves into the ordered ledger.
    void mergeIn(const std::vector<DepositRow>& ordered);
};
