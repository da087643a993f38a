#pragma once

#include "EventLedger.h"
#include "RateTable.h"

#include <set>

class RunReporter;

// Interest: cuts the time from the original due date to the end date into periods (calendar quarters, cut again
// at every event date), carries the unpaid balance and the accrued interest from row to row, and compounds each
// period daily at the rate in force on its last day.
class InterestSteps {
public:
    InterestSteps(EventLedger& ledger, RunReporter& reporter, const RateTable& underpayment,
                  const RateTable& overpayment, const QDate& orgduedate, const QDate& endate, bool corporate);

    // A large corporate underpayment (IRC 6621(c)): from `begins` on, a period with a positive balance takes its rate
    // from `rates`; the period before ends on the day before.
    void largeCorporateRate(const RateTable& rates, const QDate& begins);

    // Steps 1 to 7; leaves the ledger in the order "[Delete] ASC,[Date] ASC, [Event] ASC".
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
    QDate largeBegins;

    void quarterEndRows(); // steps 1 and 2
    void eventDateRows();  // step 3
    void unpaidBalances(); // step 4
    void interestPass();   // step 5
    void periodDates();    // steps 6 and 7
    void computePeriod(LedgerRow& row, const QDate& prior);
};
