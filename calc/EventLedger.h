#pragma once

#include "Amount.h"
#include "EventTexts.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// One dated event of a calculation run. The fields and their types are those every step and the output rely on: every
// amount exact money, every rate an exact rate; the interest factor alone is binary floating point.
struct LedgerRow {
    QString event;
    QDate date;
    QDate date2;
    Amount paymentAllocatedToTax;
    Amount paymentAllocatedToPenalties;
    Amount paymentAllocatedToInterest;
    Amount chargeClassifiedAsTax;
    Amount chargeClassifiedAsPenalty;
    Amount chargeUnclassified;
    Amount unpaidBalance;
    Amount initialBalance;
    Amount requiredDeposit;
    Amount tax;
    Amount accruedInterest;
    Amount accuracyRelatedPenalty;
    Amount failureToPayPenalty;
    Amount failureToFilePenalty;
    Amount failureToDepositPenalty;
    std::optional<int> days;
    std::optional<Rate> interestRate;
    std::optional<double> interestFactor; // the row's own factor: its days compounded at its rate, less 1
    Amount interest;
    // The payment's row key. Held in 32 bits: the payment table's counter passes 32767 in a database of a few
    // hundred clients, and the ledger only carries it.
    std::optional<qint32> row;
    std::optional<bool> deleteFlag;

    bool isDeleted() const { return deleteFlag.value_or(false); }
};

// The in-memory table of one calculation run's events.
class EventLedger {
public:
    enum class Order {
        DateAscEventAsc,          // "[Date] ASC, [Event] ASC"
        DateAscEventDesc,         // "[Date] ASC, [Event] DESC"
        DeleteAscDateAscEventAsc, // "[Delete] ASC,[Date] ASC, [Event] ASC"
    };

    std::vector<LedgerRow> rows;

    LedgerRow& add(const QString& event, const QDate& date, const QDate& date2);
    int size() const { return int(rows.size()); }

    // Stable: rows equal in every key keep the order in which they were added.
    void sort(Order order);
    // Removes every row whose Delete flag is set.
    void removeDeleted();

    // [Tax] = the tax still unpaid after each row: sorted "[Date] ASC, [Event] ASC" first, or over the rows in
    // their current order when `resort` is false.
    void runningTaxBalance(bool resort = true);
};
