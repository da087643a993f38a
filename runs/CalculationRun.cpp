#include "CalculationRun.h"

#include "Balances.h"
#include "Database.h"
#include "DepositPenalty.h"
#include "InterestSteps.h"
#include "Names.h"
#include "PenaltySteps.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "Statements.h"
#include "StoreError.h"
#include "SummaryTotals.h"

namespace {

const QString labelStart = QStringLiteral("Quarter Start Date");

Amount amountOf(const RecordSet& rows, int i, const QString& column) {
    const QVariant& v = rows.value(i, column);
    return v.isValid() ? Amount(Rounding::toSingle(v.toDouble())) : std::nullopt;
}

} // namespace

void PostDepositPenalties(const DepositLedger& deposits, EventLedger& ledger) {
    for (const auto& r : deposits.rows)
        if (val(r.penalty) > 0)
            ledger.add(EventTexts::lateDeposit, r.assessmentDateOfLiability, r.assessmentDateOfLiability)
                .failureToDepositPenalty = r.penalty;
}

CalculationRun::CalculationRun(Database& database, RunReporter& r) : db(database), reporter(r) {}

void CalculationRun::loadPayments(int number, const QDate& endate) {
    const RecordSet payments = db.query(Sql::selectPaymentsUpTo(endate, number));
    for (int i = 0; i < payments.size(); ++i) {
        const QDate paid = payments.value(i, Columns::dateOfPayment).toDate();
        LedgerRow& r = events.add(payments.value(i, Columns::event).toString(), paid, paid);
        r.row = payments.value(i, Columns::row).toInt();
        r.paymentAllocatedToTax = amountOf(payments, i, Columns::paymentAllocatedToTax);
        r.paymentAllocatedToPenalties = amountOf(payments, i, Columns::paymentAllocatedToPenalties);
        r.paymentAllocatedToInterest = amountOf(payments, i, Columns::paymentAllocatedToInterest);
    }
}

void CalculationRun::loadCharges(int number, const QDate& startdate, const QDate& endate) {
    const RecordSet charges = db.query(Sql::selectChargesBetween(startdate, endate, number));
    for (int i = 0; i < charges.size(); ++i) {
        const QDate starts = charges.value(i, Columns::dateInterestStarts).toDate();
        LedgerRow& r = events.add(charges.value(i, Columns::event).toString(), starts, starts);
        r.chargeClassifiedAsTax = amountOf(charges, i, Columns::chargeClassifiedAsTax);
        r.chargeClassifiedAsPenalty = amountOf(charges, i, Columns::chargeClassifiedAsPenalty);
        r.chargeUnclassified = amountOf(charges, i, Columns::chargeUnclassified);
    }
}

bool CalculationRun::loadDeposits(int number) {
    const RecordSet deposits = db.query(Sql::selectDepositsOf(number));
    if (deposits.isEmpty())
        return false;
    for (int i = 0; i < deposits.size(); ++i) {
        const QDate due = deposits.value(i, Columns::depositDueDate).toDate();
        events.add(deposits.value(i, Columns::event).toString(), due, due).requiredDeposit =
            amountOf(deposits, i, Columns::requiredDeposit);
    }
    return true;
}

void CalculationRun::loadInitialBalance(const TaxpayerRecord& taxpayer, const QDate& orgduedate) {
    const auto initial = taxpayer.amount(Columns::initialBalance);
    if (!initial)
        throw RunStop(Messages::missing(Columns::initialBalance));
    put(events.add(EventTexts::initialBalance, orgduedate, orgduedate).initialBalance, *initial);
}

void CalculationRun::computeLedger(const TaxpayerRecord& tp, RunReporter& shown, bool forBalance) {
    const QDate orgduedate = tp.requiredDate(Columns::originalDueDateOfReturn, Columns::originalDueDateOfReturn);
    const bool payroll = tp.flag(Columns::payrollTaxSituation);
    const QDate startdate = payroll ? tp.requiredDate(Columns::startDate, labelStart) : orgduedate;
    const QDate endate = tp.requiredDate(Columns::endDate, Columns::endDate);
    const int n = tp.number();

    DepositLedger deposits;
    if (payroll) {
        if (db.query(Sql::selectDepositsOf(n)).isEmpty())
            throw RunNotice(forBalance ? Messages::noRequiredDeposit : Messages::noDeposits);
        // The balance calculation leaves out the check for payments without a liability due date.
        deposits = CalculateDepositPenalty(db, n, endate, !forBalance, shown);
        shown.progress(20);
    }

    events = EventLedger();
    loadPayments(n, endate);
    loadCharges(n, startdate, endate);
    if (payroll) {
        PostDepositPenalties(deposits, events);
        if (!loadDeposits(n))
            throw RunNotice(forBalance ? Messages::noRequiredDeposit : Messages::noDeposits);
    } else {
        loadInitialBalance(tp, orgduedate);
    }

    PenaltySteps::Options options;
    options.accuracyChecks = !forBalance;
    options.decreasedRate = !forBalance;
    const FailureToFileMinimum minimum(db.query(Sql::selectFailureToFileMinimums()));
    PenaltySteps penalties(tp, events, shown, minimum, options);
    penalties.accuracyRelated();
    shown.progress(40);
    penalties.partialMonth();
    penalties.failureToPaySchedule();
    penalties.failureToFileRows();
    penalties.amounts();
    penalties.gatherFailureToPay();
    penalties.gatherFailureToFile();

    const RateTable under(db.query(Sql::selectUnderpaymentRates()), QStringLiteral("underpayment"));
    const RateTable over(db.query(Sql::selectOverpaymentRates()), QStringLiteral("overpayment"));
    const bool corporate = tp.flag(Columns::corporateTaxpayer);
    InterestSteps interest(events, shown, under, over, orgduedate, endate, corporate);
    // A corporation's large underpayment is charged the large corporate rate from the date the user gives.
    RateTable large;
    if (corporate && tp.flag(Columns::largeCorporateUnderpayment)) {
        const QDate begins =
            tp.requiredDate(Columns::dateLargeCorporateRateBegins, Columns::dateLargeCorporateRateBegins);
        large = RateTable(db.query(Sql::selectLargeCorporateRates()), QStringLiteral("large corporate underpayment"));
        interest.largeCorporateRate(large, begins);
    }
    interest.run();
    shown.progress(80);
}

CalculationRun::Outcome CalculationRun::interestReport(const TaxpayerRecord& tp, int Tmr) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        computeLedger(tp, reporter, false);
        if (Tmr == interestCode)
            writeInterestRows();
        else if (Tmr == summaryCode)
            writeSummary();
        reporter.progress(100);
    });
}

namespace {

// The balance calculation shows its messages but drives no progress bar.
class MessagesOnly : public RunReporter {
public:
    explicit MessagesOnly(RunReporter& r) : to(r) {}
    void message(const QString& text) override { to.message(text); }
    void notice(const QString& text) override { to.notice(text); }
    void progress(int) override {}
    void progressVisible(bool) override {}
    void armTimer(const QString&, int) override {}

private:
    RunReporter& to;
};

} // namespace

CalculationRun::Outcome CalculationRun::balanceAt(const TaxpayerRecord& tp, const QDate& paymentDate,
                                                  Balances* result) {
    MessagesOnly shown(reporter);
    return guardedRun(db, shown, [&] {
        if (db.query(Sql::selectPaymentList(tp.number())).isEmpty())
            throw RunStop(Messages::noPayment);
        computeLedger(tp, shown, true);

        // The component walk: every row dated on or before the payment date, whatever its event.
        float tax = 0, penalty = 0, interest = 0;
        bool any = false;
        for (auto& r : events.rows) {
            if (r.date.isValid() && r.date > paymentDate)
                break;
            any = true;
            put(r.tax, ::Balances::taxAfter(tax, r));
            tax = *r.tax;
            penalty = Rounding::toSingle(::Balances::penaltyAfter(penalty, r));
            put(r.accruedInterest, ::Balances::interestAfter(interest, r));
            interest = *r.accruedInterest;
        }
        if (!any)
            throw RunStop(QStringLiteral("There is no balance on %1: the calculation starts on %2.")
                              .arg(paymentDate.toString(QStringLiteral("MM/dd/yyyy")),
                                   events.rows.front().date.toString(QStringLiteral("MM/dd/yyyy"))));
        *result = {tax, interest, penalty};
    });
}

void CalculationRun::writeInterestRows() {
    Transaction t(db);
    db.exec(Sql::deleteAll(Tables::events));
    for (const auto& r : events.rows) {
        db.exec(Sql::insertInterestEvent(r.date, r.date2, r.event, float(val(r.unpaidBalance)),
                                         float(val(r.accruedInterest)), val(r.interestRate), float(val(r.days)),
                                         val(r.interestFactor), float(val(r.interest))));
    }
    written = db.query(Sql::reportInterestQuery());
    t.commit();
    reporter.armTimer(QStringLiteral("Timer7"), reportTimerMs);
}

CalculationRun::Outcome CalculationRun::summaryTotals(const TaxpayerRecord& tp, SummaryTotals* totals) {
    return guardedRun(db, reporter, [&] {
        computeLedger(tp, reporter, false);
        events.runningTaxBalance(false);
        *totals = SummaryTotals::of(events);
    });
}

void CalculationRun::writeSummary() {
    events.runningTaxBalance(false);
    // A failure of the totals goes to the global error handler, not to a message box.
    try {
        const SummaryTotals s = SummaryTotals::of(events);
        Transaction t(db);
        db.exec(Sql::deleteAll(Tables::summary));
        db.exec(Sql::insertSummary(s.TotalInterest, s.TotalFPPenalty, s.TotalFFPenalty, s.TotalAccPenalty, s.unpaidTax,
                                   s.TotalPmntAllctdInt, s.TotalPmntAllctdPen, s.otherPenalties, s.TotalFDepositPenalty,
                                   s.TotalBalance));
        written = db.query(Sql::reportSummaryQuery());
        t.commit();
    } catch (const StoreError& e) {
        throw RunGlobalFailure(e.message());
    } catch (const std::exception& e) {
        throw RunGlobalFailure(QString::fromStdString(e.what()));
    }
    reporter.armTimer(QStringLiteral("Timer5"), reportTimerMs);
}

CalculationRun::Outcome CalculationRun::penaltyReport(const TaxpayerRecord& tp) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        const QDate orgduedate = tp.requiredDate(Columns::originalDueDateOfReturn, Columns::originalDueDateOfReturn);
        const bool payroll = tp.flag(Columns::payrollTaxSituation);
        const QDate startdate = payroll ? tp.requiredDate(Columns::startDate, labelStart) : orgduedate;
        const QDate endate = tp.requiredDate(Columns::endDate, Columns::endDate);
        tp.requiredDate(Columns::dateReturnFiled, Columns::dateReturnFiled);
        const int n = tp.number();

        events = EventLedger();
        reporter.progress(20);
        loadPayments(n, endate);
        loadCharges(n, startdate, endate);
        if (payroll) {
            if (!loadDeposits(n))
                throw RunNotice(Messages::noDeposits);
        } else {
            loadInitialBalance(tp, orgduedate);
        }
        reporter.progress(40);

        const FailureToFileMinimum minimum(db.query(Sql::selectFailureToFileMinimums()));
        PenaltySteps penalties(tp, events, reporter, minimum);
        penalties.partialMonth();
        penalties.failureToPaySchedule();
        penalties.failureToFileRows();
        penalties.amounts();

        reporter.progress(80);
        writePenaltyRows();
        reporter.progress(100);
    });
}

void CalculationRun::writePenaltyRows() {
    events.sort(EventLedger::Order::DateAscEventDesc);
    Transaction t(db);
    db.exec(Sql::deleteAll(Tables::events));
    for (const auto& r : events.rows) {
        db.exec(Sql::insertPenaltyEvent(r.event, r.date, float(val(r.failureToFilePenalty)),
                                        float(val(r.failureToPayPenalty)), float(val(r.tax))));
    }
    written = db.query(Sql::reportPenaltyQuery());
    t.commit();
    reporter.armTimer(QStringLiteral("Timer1"), reportTimerMs);
}
