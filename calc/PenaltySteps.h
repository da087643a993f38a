#pragma once

#include "EventLedger.h"
#include "FailureToFileMinimum.h"
#include "TaxpayerCase.h"

class RunReporter;

// The accuracy-related, failure-to-pay and failure-to-file penalties: the monthly schedules, their amounts on the
// unpaid tax, the limits, and the gathering of the monthly rows. The working values keep the names the penalty
// rules are known by.
class PenaltySteps {
public:
    // What the balance at a payment date leaves out of the full run.
    struct Options {
        bool accuracyChecks = true; // the missing-value checks of the accuracy-related penalty
        bool decreasedRate = true;  // the decreased failure-to-pay rate and its date
    };

    PenaltySteps(const TaxpayerCase& taxpayer, EventLedger& ledger, RunReporter& reporter,
                 const FailureToFileMinimum& minimum);
    PenaltySteps(const TaxpayerCase& taxpayer, EventLedger& ledger, RunReporter& reporter,
                 const FailureToFileMinimum& minimum, Options options);

    void accuracyRelated();      // the accuracy-related penalty row at the extended due date
    void partialMonth();         // whether a partial last month counts (an End Date on or after the 16th)
    void failureToPaySchedule(); // the failure-to-pay months, their rates and the 25 % limit, a row a month
    void failureToFileRows();    // a failure-to-file row for each month or part of a month late, at most five
    void amounts();              // the unpaid tax under each row, then each month's penalty and the minimum
    void gatherFailureToPay();   // the monthly failure-to-pay rows up to its assessment date made one row
    void gatherFailureToFile();  // the monthly failure-to-file rows made one row at the extended due date

    // Working values, readable for tests.
    float admnth = 0;
    QDate PenDate;
    qint16 TotPenMnths = 0;
    float TotFPPenMnths = 0;
    float TotPenMnthsPreIncrease = 0;
    float TotPenMnthsPostIncrease = 0;
    float TotPenMnthsPreDecrease = 0;
    float TotPenMnthsPostDecrease = 0;
    float TotalPenPoints = 0;
    bool LastPenaltyHalfPercent = false;
    float MnthsCalculated = 0;
    QDate IncrFPPDate;
    QDate DcrsFPPDate;
    QDate FPPAssDate;
    qint16 DaysOverDue = 0;

private:
    const TaxpayerCase& tp;
    EventLedger& ledger;
    RunReporter& reporter;
    const FailureToFileMinimum& minimum;
    Options options;

    bool increased() const;
    bool decreased() const;
    bool decreaseFirst() const { return IncrFPPDate > DcrsFPPDate; }
    void limitToTwentyFivePercent();      // months off the last phase until the points are at most 25
    void failureToPayAmounts();           // each month's failure-to-pay penalty on the tax then unpaid
    void failureToFileBase();             // the tax the failure-to-file rows are figured on
    Money failureToFileAmounts();         // each month's 5 %, less that month's failure to pay; returns their sum
    void failureToFileMinimum(Money sum); // the minimum of a return more than 60 days late
    std::optional<Rate> failureToPayRate(const LedgerRow& row) const;
};
