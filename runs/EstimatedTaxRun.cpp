#include "EstimatedTaxRun.h"

#include "CalculationRun.h"
#include "Labels.h"
#include "MoneyText.h"
#include "ResultRows.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"

namespace {

qint64 cents(const std::optional<Money>& amount) {
    return amount.value_or(Money()).cents();
}

} // namespace

QString EstimatedTaxRun::printedTotal() const {
    return QStringLiteral("Estimated Tax Penalty: ") + groupedDecimal(computed.total, 2);
}

const QString EstimatedTaxRun::noFigures = QStringLiteral(
    "There are no estimated tax figures for this taxpayer. Enter them with Transactions, Estimated Tax.");

QString EstimatedTaxRun::paymentsWithoutYear(int count) {
    return QStringLiteral("%1 estimated payments of this taxpayer are for no tax year it has figures for, and none of "
                          "them counts. Enter them under their year (Transactions, Estimated Tax).")
        .arg(count);
}

EstimatedTaxRun::EstimatedTaxRun(Database& database, RunReporter& r) : db(&database), reporter(r) {}

EstimatedTaxRun::EstimatedTaxRun(RunReporter& r) : db(nullptr), reporter(r) {}

RunOutcome EstimatedTaxRun::run(const TaxpayerCase& tp) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        // The latest tax year of the case: a caller wanting another gives the run a case of that year alone.
        const TaxpayerCase::EstimatedTaxYear* year = tp.estimatedYear();
        if (!year)
            throw RunStop(noFigures);
        requireAmountsInRange(tp);
        if (tp.estimatedPaymentsWithoutYear > 0)
            reporter.message(paymentsWithoutYear(tp.estimatedPaymentsWithoutYear));
        const TaxpayerCase::EstimatedTaxFigures& f = year->figures;
        EstimatedTax::Case c;
        c.corporation = tp.corporate;
        c.yearEnd = Messages::required(f.yearEnd, Labels::taxYearEnd);
        if (!f.currentYearTax)
            throw RunStop(Messages::missing(Labels::currentYearTax));
        c.currentYearTax = cents(f.currentYearTax);
        c.priorFullYear = f.priorFullYear;
        // The prior year's tax counts only for a full prior year; then it must be there.
        if (c.priorFullYear && !f.priorYearTax)
            throw RunStop(Messages::missing(Labels::priorYearTax));
        c.priorYearTax = cents(f.priorYearTax);
        c.highIncome = f.highIncome;
        c.largeCorporation = f.largeCorporation;
        c.withholding = cents(f.withholding);
        c.withholdingOnActualDates = f.withholdingOnActualDates;
        for (const auto& p : year->payments)
            c.payments.push_back({p.date, cents(p.amount)});
        reporter.progress(30);

        const PublishedFigures& figures = *tp.figures;
        const RateTable rates(figures.underpayment, QStringLiteral("underpayment"));
        if (!figures.holidays || !figures.estimatedTaxRules)
            throw RunStop(figures.dataFilesProblem);
        computed = EstimatedTax::compute(c, *figures.estimatedTaxRules, rates, BusinessDays(*figures.holidays));
        reporter.progress(60);

        if (db)
            ResultRows::estimated(computed).write(*db);
        if (!computed.exemption.isEmpty())
            reporter.notice(computed.exemption);
        reporter.progress(100);
    });
}
