#pragma once

#include "EstimatedTax.h"
#include "RunGuard.h"
#include "TaxpayerCase.h"

class Database;
class RunReporter;

// The run behind "Estimated Tax Penalty" (mnuEstimatedTaxReport): the penalty for the selected taxpayer's underpaid
// estimated tax (an individual's or, with [Corporate Taxpayer], a corporation's), its worksheet written to
// [Estimated Tax Table] in one transaction when the run has a database.
class EstimatedTaxRun {
public:
    EstimatedTaxRun(Database& db, RunReporter& reporter);
    // A run in memory, whose result is only handed on.
    explicit EstimatedTaxRun(RunReporter& reporter);
    RunOutcome run(const TaxpayerCase& taxpayer);
    const EstimatedTax::Result& result() const { return computed; }
    // "Estimated Tax Penalty: 68.51", the run's own total.
    QString printedTotal() const;

    // "There are no estimated tax figures for this taxpayer. ..."
    static const QString noFigures;
    static QString paymentsWithoutYear(int count);

private:
    Database* db;
    RunReporter& reporter;
    EstimatedTax::Result computed;
};
