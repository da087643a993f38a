#pragma once

#include "EventLedger.h"
#include "TaxpayerRecord.h"

#include <functional>

class Database;
class RunReporter;
class DepositLedger;

// The calculation runs of the main window's report commands, for the active taxpayer: the full run behind
// "Penalty && Interest Report" (report code 7) and "Summary Report" (code 5), and the penalty report run. Each
// reads through `db`, tells the user through `reporter`, and writes its result rows in one transaction.
class CalculationRun {
public:
    enum class Outcome {
        Written, // the result is written and the report timer armed
        Stopped, // ended after a message (a missing value or a failure)
        Notice,  // a payroll-tax case without deposits: the notice label, no report
    };
    static constexpr int interestCode = 7;
    static constexpr int summaryCode = 5;
    // The largest interval a report timer takes.
    static constexpr int maxTimerMs = 65535;

    CalculationRun(Database& db, RunReporter& reporter);

    // `InterestReport` with report code `Tmr`.
    Outcome interestReport(const TaxpayerRecord& taxpayer, int Tmr);
    // The penalty report run of `mnuPenaltyReport`.
    Outcome penaltyReport(const TaxpayerRecord& taxpayer);

    // The ledger of the last run, as it was when the run wrote its result.
    const EventLedger& ledger() const { return events; }

private:
    Database& db;
    RunReporter& reporter;
    EventLedger events;

    Outcome guarded(const std::function<void()>& body);
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
