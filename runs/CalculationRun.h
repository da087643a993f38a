#pragma once

#include "EventLedger.h"
#include "RunGuard.h"
#include "RunResult.h"
#include "SummaryTotals.h"
#include "TaxpayerRecord.h"

class Database;
class RunReporter;
class DepositLedger;

// The calculation runs of the main window's report commands, for the active taxpayer: the full run behind
// "Penalty && Interest Report" (report code 7) and "Summary Report" (code 5), and the penalty report run. Each
// reads through `db`, tells the user through `reporter`, and writes its result rows in one transaction.
class CalculationRun {
public:
    using Outcome = RunOutcome;
    static constexpr int interestCode = 7;
    static constexpr int summaryCode = 5;

    CalculationRun(Database& db, RunReporter& reporter);

    // `InterestReport` with report code `Tmr`.
    Outcome interestReport(const TaxpayerRecord& taxpayer, int Tmr);
    // The penalty report run of `mnuPenaltyReport`.
    Outcome penaltyReport(const TaxpayerRecord& taxpayer);
    // The summary run's totals, kept in memory: [Summary Table] is left as it was (the whole book's summary).
    Outcome summaryTotals(const TaxpayerRecord& taxpayer, SummaryTotals* totals);

    // The balances on a payment date (`cmdCalcBal`): the full run in memory, then the tax, interest and penalty
    // still owed after everything dated on or before `paymentDate`. Writes nothing.
    struct Balances {
        float tax = 0;
        float interest = 0;
        float penalties = 0;
    };
    Outcome balanceAt(const TaxpayerRecord& taxpayer, const QDate& paymentDate, Balances* result);

    // The ledger of the last run, as it was when the run wrote its result.
    const EventLedger& ledger() const { return events; }
    // The rows the last run wrote, read back before they were committed: what its report shows.
    const RecordSet& writtenRows() const { return written; }

private:
    Database& db;
    RunReporter& reporter;
    EventLedger events;
    RecordSet written;

    // Steps of the full run up to the interest; `forBalance` makes the differences of the balance calculation.
    void computeLedger(const TaxpayerRecord& taxpayer, RunReporter& shown, bool forBalance);
    void loadPayments(int number, const QDate& endate);
    void loadCharges(int number, const QDate& startdate, const QDate& endate);
    // Adds the deposits; false when the taxpayer has none.
    bool loadDeposits(int number);
    void loadInitialBalance(const TaxpayerRecord& taxpayer, const QDate& orgduedate);
    void writeInterestRows();
    void writeSummary();
    void writePenaltyRows();
};

// One "Penalty - Late Deposit" event for every deposit-ledger row with a penalty, dated at its assessment date.
void PostDepositPenalties(const DepositLedger& deposits, EventLedger& ledger);
