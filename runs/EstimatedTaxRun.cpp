#include "EstimatedTaxRun.h"

#include "Database.h"
#include "MoneyText.h"
#include "Names.h"
#include "RatesFile.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "Statements.h"
#include "TaxpayerRecord.h"

#include "Schema.h"
#include "StoreError.h"
#include "WholeFile.h"

#include <cmath>

namespace {

const QString dateFormat = QStringLiteral("MM/dd/yyyy");

// A data file the program ships beside itself, whole.
QString shippedText(const QString& name) {
    try {
        return QString::fromUtf8(readRegularFile(DataFiles::path(name), dataFileLimit, QStringLiteral("data file")));
    } catch (const StoreError& e) {
        throw RunStop(e.message() + QStringLiteral(" The program needs it for this calculation."));
    }
}

// An amount of the database in whole cents; beyond the largest amount the program takes it is an overflow, as in
// the other runs.
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

EstimatedTaxRun::EstimatedTaxRun(Database& database, RunReporter& r) : db(database), reporter(r) {}

QString EstimatedTaxRun::heading(int index, const EstimatedTax::Installment& i) {
    return QStringLiteral("Installment %1 due %2: required %3, paid by the due date %4, underpayment %5")
        .arg(index + 1)
        .arg(i.due.toString(dateFormat), groupedDecimal(i.required, 2), groupedDecimal(i.paidOnTime, 2),
             groupedDecimal(i.underpayment, 2));
}

RunOutcome EstimatedTaxRun::run(const TaxpayerRecord& tp) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        const RecordSet figures = db.query(Sql::selectEstimatedTaxData(tp.number()));
        if (figures.isEmpty())
            throw RunStop(noFigures);
        const TaxpayerRecord f(figures, 0);
        EstimatedTax::Case c;
        c.corporation = tp.flag(Columns::corporateTaxpayer);
        c.yearEnd = f.requiredDate(Columns::taxYearEnd, Columns::taxYearEnd);
        const auto current = f.amount(Columns::currentYearTax);
        if (!current)
            throw RunStop(Messages::missing(Columns::currentYearTax));
        c.currentYearTax = cents(*current);
        c.priorFullYear = f.flag(Columns::priorYearFullYear);
        const auto prior = f.amount(Columns::priorYearTax);
        // The prior year's tax counts only for a full prior year; then it must be there.
        if (c.priorFullYear && !prior)
            throw RunStop(Messages::missing(Columns::priorYearTax));
        c.priorYearTax = cents(prior.value_or(0));
        c.highIncome = f.flag(Columns::highIncomePriorYear);
        c.largeCorporation = f.flag(Columns::largeCorporation);
        c.withholding = cents(f.amount(Columns::withholding).value_or(0));
        c.withholdingOnActualDates = f.flag(Columns::withholdingOnActualDates);
        const RecordSet payments = db.query(Sql::selectEstimatedTaxPayments(tp.number()));
        for (int i = 0; i < payments.size(); ++i)
            c.payments.push_back({payments.value(i, Columns::dateOfPayment).toDate(),
                                  cents(payments.value(i, Columns::amountOfPayment).toDouble())});
        reporter.progress(30);

        const RateTable rates(db.query(Sql::selectUnderpaymentRates()), QStringLiteral("underpayment"));
        const BusinessDays calendar(
            BusinessDays::parse(shippedText(DataFiles::holidays), DataFiles::path(DataFiles::holidays)));
        const auto rules = EstimatedTax::parseRules(shippedText(DataFiles::estimatedTaxRules),
                                                    DataFiles::path(DataFiles::estimatedTaxRules));
        computed = EstimatedTax::compute(c, rules, rates, calendar);
        reporter.progress(60);

        Transaction t(db);
        db.exec(Sql::deleteAll(Tables::estimatedTaxLines));
        int line = 0;
        if (!computed.exemption.isEmpty()) {
            db.exec(Sql::insertEstimatedTaxLine(++line, computed.exemption, {}, {}, {}, {}, {}, {}, {}, {}));
        } else {
            for (int i = 0; i < 4; ++i) {
                const auto& inst = computed.installments[size_t(i)];
                const QString head = heading(i, inst);
                bool any = false;
                for (const auto& l : computed.lines) {
                    if (l.installment != i)
                        continue;
                    any = true;
                    db.exec(Sql::insertEstimatedTaxLine(++line, head, inst.due, l.amount, l.from, l.to, l.days, l.rate,
                                                        l.yearDays, l.penalty));
                }
                // An installment paid in time still shows its heading.
                if (!any)
                    db.exec(Sql::insertEstimatedTaxLine(++line, head, inst.due, {}, {}, {}, {}, {}, {}, {}));
            }
        }
        written = db.query(Sql::reportEstimatedTaxQuery());
        t.commit();
        if (!computed.exemption.isEmpty())
            reporter.notice(computed.exemption);
        reporter.progress(100);
        reporter.armTimer(QStringLiteral("Timer10"), reportTimerMs);
    });
}
