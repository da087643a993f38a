#include "ReportKind.h"

#include "CalculationRun.h"
#include "Database.h"
#include "DepositReportRun.h"
#include "EstimatedTaxRun.h"

namespace {

// A run of `Run` whose rows are handed on to its report.
template <typename Run, typename Start> RunOutcome handedOn(Run&& run, RunResult& result, Start&& start) {
    const RunOutcome outcome = start(run);
    if (outcome == RunOutcome::Written)
        result.rows = run.writtenRows();
    return outcome;
}

} // namespace

const std::vector<ReportKind>& ReportKind::all() {
    static const std::vector<ReportKind> kinds = {
        {QStringLiteral("interest"), QStringLiteral("mnuInterestReport"), &ReportDefinition::penaltyAndInterest(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp, RunResult& result) {
             return handedOn(CalculationRun(db, r), result, [&tp](CalculationRun& run) {
                 return run.interestReport(tp, CalculationRun::interestCode);
             });
         }},
        {QStringLiteral("penalty"), QStringLiteral("mnuPenaltyReport"), &ReportDefinition::failureToPayAndFile(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp, RunResult& result) {
             return handedOn(CalculationRun(db, r), result,
                             [&tp](CalculationRun& run) { return run.penaltyReport(tp); });
         }},
        {QStringLiteral("summary"), QStringLiteral("mnuSummaryReport"), &ReportDefinition::summary(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp, RunResult& result) {
             return handedOn(CalculationRun(db, r), result, [&tp](CalculationRun& run) {
                 return run.interestReport(tp, CalculationRun::summaryCode);
             });
         }},
        {QStringLiteral("payment"), QStringLiteral("mnuPaymentReport"), &ReportDefinition::payments(), {}},
        {QStringLiteral("deposit"), QStringLiteral("mnuPRTaxPenaltyRpt"), &ReportDefinition::depositPenalty(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp, RunResult& result) {
             return handedOn(DepositReportRun(db, r), result, [&tp](DepositReportRun& run) { return run.run(tp); });
         }},
        {QStringLiteral("estimated"), QStringLiteral("mnuEstimatedTaxReport"), &ReportDefinition::estimatedTax(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp, RunResult& result) {
             EstimatedTaxRun run(db, r);
             const RunOutcome outcome = run.run(tp);
             if (outcome == RunOutcome::Written) {
                 result.rows = run.writtenRows();
                 result.printed = run.printedTotal();
             }
             return outcome;
         }},
    };
    return kinds;
}

const ReportKind* ReportKind::byKey(const QString& key) {
    for (const auto& k : all())
        if (k.key == key)
            return &k;
    return nullptr;
}

const ReportKind* ReportKind::byCommand(const QString& command) {
    for (const auto& k : all())
        if (k.command == command)
            return &k;
    return nullptr;
}
