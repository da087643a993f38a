#include "EstimatedTaxRun.h"

#include "Labels.h"
#include "MoneyText.h"
#include "ResultRows.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "Schema.h"

#include <cmath>

namespace {

// An amount of the case in whole cents; beyond the largest amount the program takes it is an overflow, as in the
// other runs.
qint64 cents(double amount) {
    if (!(std::fabs(amount) <= Schema::largestAmount))
        throw Rounding::ArithmeticFault(Rounding::overflowText);
    return Rounding::toCentsHalfEven(amount);
}

} // namespace

QString EstimatedTaxRun::printedTotal() const {
    return QStringLiteral("Estimated Tax Penalty: ") + groupedDecimal(computed.total, 2);
}

const QString EstimatedTaxRun::noFigures = QStringLiteral(
    "There are no estimated tax figures for this taxpayer. Enter them with Transactions, Estimated Tax.");

EstimatedTaxRun::EstimatedTaxRun(Database& database, RunReporter& r) : db(&database), reporter(r) {}

EstimatedTaxRun::EstimatedTaxRun(RunReporter& r) : db(nullptr), reporter(r) {}

RunOutcome EstimatedTaxRun::run(const TaxpayerCase& tp) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        if (!tp.estimated)
            throw RunStop(noFigures);
        const TaxpayerCase::EstimatedTaxFigures& f = *tp.estimated;
        EstimatedTax::Case c;
        c.corporation = tp.corporate;
        c.yearEnd = Messages::required(f.yearEnd, Labels::taxYearEnd);
        if (!f.currentYearTax)
            throw RunStop(Messages::missing(Labels::currentYearTax));
        c.currentYearTax = cents(*f.currentYearTax);
        c.priorFullYear = f.priorFullYear;
        // The prior year's tax counts only for a full prior year; then it must be there.
        if (c.priorFullYear && !f.priorYearTax)
            throw RunStop(Messages::missing(Labels::priorYearTax));
        c.priorYearTax = cents(f.priorYearTax.value_or(0));
        c.highIncome = f.highIncome;
        c.largeCorporation = f.largeCorporation;
        c.withholding = cents(f.withholding.value_or(0));
        c.withholdingOnActualDates = f.withholdingOnActualDates;
        for (const auto& p : tp.estimatedPayments)
            c.payments.push_back({p.date, cents(p.amount.value_or(0))});
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
