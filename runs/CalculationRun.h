#pragma once

#include "EventLedger.h"
#include "FailureToFileMinimum.h"
#include "InterestSteps.h"
#include "RateTable.h"
#include "RunGuard.h"
#include "SummaryTotals.h"
#include "TaxpayerCase.h"

#include <memory>

class Database;
class RunReporter;
class DepositLedger;

// The calculation runs of the main window's report commands, on a taxpayer's case: the full run behind
// "Penalty && Interest Report" (report code 7) and "Summary Report" (code 5), and the penalty report run. Each tells
// the user through `reporter`; a run made with a database writes its result rows there, in one transaction, as its
// last step.
class CalculationRun {
public:
    using Outcome = RunOutcome;
    static constexpr int interestCode = 7;
    static constexpr int summaryCode = 5;

    // A run that writes its result rows to `db`.
    CalculationRun(Database& db, RunReporter& reporter);
    // A run in memory, whose results are only handed on (the whole book, the balances on a payment date).
    explicit CalculationRun(RunReporter& reporter);

    // `InterestReport` with report code `Tmr`.
    Outcome interestReport(const TaxpayerCase& taxpayer, int Tmr);
    // The penalty report run of `mnuPenaltyReport`.
    Outcome penaltyReport(const TaxpayerCase& taxpayer);
    // The summary run's totals, kept in memory.
    Outcome summaryTotals(const TaxpayerCase& taxpayer, SummaryTotals* totals);

    // The balances on a payment date (`cmdCalcBal`): the full run in memory, then the tax, interest and penalty
    // still owed after everything dated on or before `paymentDate`. Writes nothing.
    struct Balances {
        Money tax;
        Money interest;
        Money penalties;
    };
    Outcome balanceAt(const TaxpayerCase& taxpayer, const QDate& paymentDate, Balances* result);

    // Parts of the balance at other rates for the next runs (a netting's), and the rate tables they take.
    void setPartRates(std::vector<InterestSteps::PartRate> given) { parts = std::move(given); }
    void setCuts(std::vector<QDate> days) { cuts = std::move(days); }
    // The next runs without the late-deposit penalties (what a payroll case owes if they are abated).
    void leaveOutDepositPenalties() { depositPenalties = false; }
    const RateTable& underpaymentRates(const TaxpayerCase& taxpayer) { return tablesOf(taxpayer).under; }
    const RateTable& overpaymentRates(const TaxpayerCase& taxpayer) { return tablesOf(taxpayer).over; }
    const RateTable& largeCorporateRates(const TaxpayerCase& taxpayer) { return tablesOf(taxpayer).large; }
    const RateTable& largeCorporateOverpaymentRates(const TaxpayerCase& taxpayer) {
        return tablesOf(taxpayer).largeOverpayment;
    }

    // The ledger of the last run, as it was when the run wrote its result (the penalty report's in its order).
    const EventLedger& ledger() const { return events; }
    // The totals of the last summary run.
    const SummaryTotals& totals() const { return sums; }

private:
    Database* db;
    RunReporter& reporter;
    EventLedger events;
    SummaryTotals sums;
    std::vector<InterestSteps::PartRate> parts;
    std::vector<QDate> cuts;
    bool depositPenalties = true;
    struct Tables {
        std::shared_ptr<const PublishedFigures> from;
        RateTable under, over, large, largeOverpayment;
        FailureToFileMinimum minimum;
    };
    std::unique_ptr<Tables> tables;
    const Tables& tablesOf(const TaxpayerCase& taxpayer);

    // Steps of the full run up to the interest; `forBalance` makes the differences of the balance calculation.
    void computeLedger(const TaxpayerCase& taxpayer, RunReporter& shown, bool forBalance);
    void loadPayments(const TaxpayerCase& taxpayer, const QDate& endate);
    void loadCharges(const TaxpayerCase& taxpayer, const QDate& startdate, const QDate& endate);
    void loadDeposits(const TaxpayerCase& taxpayer);
    void loadRefunds(const TaxpayerCase& taxpayer, const QDate& orgduedate, const QDate& endate);
    void loadInitialBalance(const TaxpayerCase& taxpayer, const QDate& orgduedate);
    void writeInterestRows();
    void writeSummary();
};

// Every run of a case that holds a stored amount beyond the largest amount the program takes is an overflow.
void requireAmountsInRange(const TaxpayerCase& taxpayer);

// One "Penalty - Late Deposit" event for every deposit-ledger row with a penalty, dated at its assessment date.
void PostDepositPenalties(const DepositLedger& deposits, EventLedger& ledger);
