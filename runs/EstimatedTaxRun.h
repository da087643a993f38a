#pragma once

#include "EstimatedTax.h"
#include "RecordSet.h"
#include "RunGuard.h"

class Database;
class RunReporter;
class TaxpayerRecord;

// The run behind "Estimated Tax Penalty" (mnuEstimatedTaxReport): the penalty for the selected taxpayer's underpaid
// estimated tax (an individual's or, with [Corporate Taxpayer], a corporation's), its worksheet written to
// [Estimated Tax Table] in one transaction, and Timer10 armed to show the report.
class EstimatedTaxRun {
public:
    EstimatedTaxRun(Database& db, RunReporter& reporter);
    RunOutcome run(const TaxpayerRecord& taxpayer);
    const EstimatedTax::Result& result() const { return computed; }
    // The worksheet lines the run wrote, read back before they were committed.
    const RecordSet& writtenRows() const { return written; }
    // "Estimated Tax Penalty: 68.51", the run's own total.
    QString printedTotal() const;

    // The heading of an installment, as the report's group shows it.
    static QString heading(int index, const EstimatedTax::Installment& installment);
    // "There are no estimated tax figures for this taxpayer. ..."
    static const QString noFigures;

private:
    Database& db;
    RunReporter& reporter;
    EstimatedTax::Result computed;
    RecordSet written;
};
