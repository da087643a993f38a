#pragma once

#include "EventLedger.h"
#include "RateTable.h"

#include <set>

class RunReporter;

// Interest: cuts the time from the original due date to the end date into rows (calendar quarters, cut again at every
// event date), carries the unpaid balance and the accrued interest from row to row, compounds each row's days daily at
// the rate in force on its last day, and rounds once per balance period (from one event to the next).
class InterestSteps {
public:
    InterestSteps(EventLedger& ledger, RunReporter& reporter, const RateTable& underpayment,
                  const RateTable& overpayment, const QDate& orgduedate, const QDate& endate, bool corporate);

    // A large corporate underpayment (IRC 6621(c)(1): "for periods after the applicable date", the 30th day after the
    // letter or notice): an interest row ends on `applicable`, and from the day after, a positive balance takes its
    // rate from `rates`.
    void largeCorporateRate(const RateTable& rates, const QDate& applicable);

    // Cuts the periods, carries the balances and computes every period's interest; leaves the ledger in the order
    // "[Delete] ASC,[Date] ASC, [Event] ASC".
    void run();

    float penmnths = 0;
    std::vector<QDate> quarterEnds;

private:
    EventLedger& ledger;
    RunReporter& reporter;
    const RateTable& under;
    const RateTable& over;
    QDate orgduedate;
    QDate endate;
    bool corporate;
    const RateTable* large = nullptr;
    QDate largeBegins; // the first day at the large corporate rate

    void quarterEndRows(); // an interest row at every quarter end to the end date (and the large corporate date)
    void eventDateRows();  // an interest row at every event date that no quarter end has
    void unpaidBalances(); // the balance that bears interest after each row
    void interestPass();   // the accrued interest carried down, and each interest row's period computed
    void periodDates();    // each interest row's first day: the day after the row before it
    // The balance period under way: its base, the product of its daily factors so far, and its interest to date as
    // rounded.
    struct BalancePeriod {
        bool open = false;
        Money base;
        double product = 1.0;
        Money rounded;
    };
    void computePeriod(LedgerRow& row, const QDate& prior, BalancePeriod& period);
};
