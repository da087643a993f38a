#pragma once

#include "DepositLedger.h"
#include "RunGuard.h"
#include "TaxpayerCase.h"

class Database;
class RunReporter;

// The run behind "Payroll Tax Deposit Penalty Report" (mnuPRTaxPenaltyRpt): the deposit penalty of the selected
// taxpayer, and one [Event Table] row for every deposit-ledger row.
class DepositReportRun {
public:
    DepositReportRun(Database& db, RunReporter& reporter);
    RunOutcome run(const TaxpayerCase& taxpayer);
    const DepositLedger& ledger() const { return deposits; }

private:
    Database& db;
    RunReporter& reporter;
    DepositLedger deposits;
};
