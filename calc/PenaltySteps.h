#pragma once

#include "EventLedger.h"
#include "FailureToFileMinimum.h"
#include "TaxpayerRecord.h"

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

    PenaltySteps(const TaxpayerRecord& taxpayer, EventLedger& ledger, RunReporter& reporter,
                 const FailureToFileMinimum& minimum);
    PenaltySteps(const TaxpayerRecord& taxpayer, EventLedger& ledger, RunReporter& reporter,
                 const FailureToFileMinimum& minimum, Options options);

    void accuracyRelated();      // step B
    void partialMonth();         // step A
    void failureToPaySchedule(); // steps C, D and E, when the failure-to-pay penalty is on
    void failureToFileRows();    // step F
    void amounts();              // steps G to L
    void gatherFailureToPay();   // step M
    void gatherFailureToFile();  // step N

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
    const TaxpayerRecord& tp;
    EventLedger& ledger;
    RunReporter& reporter;
    const FailureToFileMinimum& minimum;
    Options options;

    bool increased() const;
    bool decreased() const;
    bool decreaseFirst() const { return IncrFPPDate > DcrsFPPDate; }
    void limitToTwentyFivePercent();       // step D
    void failureToPayAmounts();            // step H
    void failureToFileBase();              // step I
    double failureToFileAmounts();         // step J; returns the sum S
    void failureToFileMinimum(double sum); // step K
    std::optional<double> failureToPayRate(const LedgerRow& row) const;
};
