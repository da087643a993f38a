#include "ReportKind.h"

#include "CalculationRun.h"
#include "Database.h"
#include "DepositReportRun.h"
#include "EstimatedTaxRun.h"
#include "Statements.h"

const std::vector<ReportKind>& ReportKind::all() {
    static const std::vector<ReportKind> kinds = {
        {QStringLiteral("interest"), QStringLiteral("mnuInterestReport"), &ReportDefinition::penaltyAndInterest(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp) {
             return CalculationRun(db, r).interestReport(tp, CalculationRun::interestCode);
         }},
        {QStringLiteral("penalty"), QStringLiteral("mnuPenaltyReport"), &ReportDefinition::failureToPayAndFile(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp) {
             return CalculationRun(db, r).penaltyReport(tp);
         }},
        {QStringLiteral("summary"), QStringLiteral("mnuSummaryReport"), &ReportDefinition::summary(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp) {
             return CalculationRun(db, r).interestReport(tp, CalculationRun::summaryCode);
         }},
        {QStringLiteral("payment"), QStringLiteral("mnuPaymentReport"), &ReportDefinition::payments(), {}},
        {QStringLiteral("deposit"), QStringLiteral("mnuPRTaxPenaltyRpt"), &ReportDefinition::depositPenalty(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp) { return DepositReportRun(db, r).run(tp); }},
        {QStringLiteral("estimated"), QStringLiteral("mnuEstimatedTaxReport"), &ReportDefinition::estimatedTax(),
         [](Database& db, RunReporter& r, const TaxpayerRecord& tp) { return EstimatedTaxRun(db, r).run(tp); },
         [](Database& db) {
             const QVariant total = db.query(Sql::selectEstimatedTaxTotal()).value(0, QStringLiteral("total"));
             return QStringLiteral("Estimated Tax Penalty: ") +
                    formatReportValue(ReportFormat::Money, total.isValid() ? total : QVariant(0.0));
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
