#pragma once

#include "DepositLedger.h"
#include "RecordSet.h"
#include "RunGuard.h"

class Database;
class RunReporter;
class TaxpayerRecord;

// The run behind "Payroll Tax Deposit Penalty Report" (mnuPRTaxPenaltyRpt): the deposit penalty of the selected
// taxpayer, one [Event Table] row for every deposit-ledger row, and Timer6 armed to show the report.
class DepositReportRun {
public:
    DepositReportRun(Database& db, RunReporter& reporter);
    RunOutcome run(const TaxpayerRecord& taxpayer);
    const DepositLedger& ledger() const { return deposits; }
    // The rows the run wrote, read back before they were committed.
    const RecordSet& writtenRows() const { return written; }

private:
    Database& db;
    RunReporter& reporter;
    DepositLedger deposits;
    RecordSet written;
};
