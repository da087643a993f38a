#include "ReportKind.h"

#include "CalculationRun.h"
#include "DepositReportRun.h"
#include "EstimatedTaxRun.h"
#include "ResultRows.h"

namespace {

// The run's result, made into its report's rows, when the run made one.
RunOutcome handedOn(RunOutcome outcome, RunResult& result, const std::function<ResultRows()>& rows) {
    if (outcome == RunOutcome::Written)
        result.rows = rows().recordSet();
    return outcome;
}

} // namespace

const std::vector<ReportKind>& ReportKind::all() {
    static const std::vector<ReportKind> kinds = {
        {QStringLiteral("interest"), QStringLiteral("mnuInterestReport"), QStringLiteral("Timer7"),
         &ReportDefinition::penaltyAndInterest(),
         [](Database& db, RunReporter& r, const TaxpayerCase& tp, RunResult& result) {
             CalculationRun run(db, r);
             return handedOn(run.interestReport(tp, CalculationRun::interestCode), result,
                             [&run] { return ResultRows::interest(run.ledger()); });
         }},
        {QStringLiteral("penalty"), QStringLiteral("mnuPenaltyReport"), QStringLiteral("Timer1"),
         &ReportDefinition::failureToPayAndFile(),
         [](Database& db, RunReporter& r, const TaxpayerCase& tp, RunResult& result) {
             CalculationRun run(db, r);
             return handedOn(run.penaltyReport(tp), result, [&run] { return ResultRows::penalty(run.ledger()); });
         }},
        {QStringLiteral("summary"), QStringLiteral("mnuSummaryReport"), QStringLiteral("Timer5"),
         &ReportDefinition::summary(),
         [](Database& db, RunReporter& r, const TaxpayerCase& tp, RunResult& result) {
             CalculationRun run(db, r);
             return handedOn(run.interestReport(tp, CalculationRun::summaryCode), result,
                             [&run] { return ResultRows::summary(run.totals()); });
         }},
        {QStringLiteral("payment"),
         QStringLiteral("mnuPaymentReport"),
         QStringLiteral("Timer4"),
         &ReportDefinition::payments(),
         {}},
        {QStringLiteral("deposit"), QStringLiteral("mnuPRTaxPenaltyRpt"), QStringLiteral("Timer6"),
         &ReportDefinition::depositPenalty(),
         [](Database& db, RunReporter& r, const TaxpayerCase& tp, RunResult& result) {
             DepositReportRun run(db, r);
             return handedOn(run.run(tp), result, [&run] { return ResultRows::deposit(run.ledger()); });
         }},
        {QStringLiteral("estimated"), QStringLiteral("mnuEstimatedTaxReport"), QStringLiteral("Timer10"),
         &ReportDefinition::estimatedTax(),
         [](Database& db, RunReporter& r, const TaxpayerCase& tp, RunResult& result) {
             EstimatedTaxRun run(db, r);
             const RunOutcome outcome =
                 handedOn(run.run(tp), result, [&run] { return ResultRows::estimated(run.result()); });
             if (outcome == RunOutcome::Written)
                 result.printed = run.printedTotal();
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
