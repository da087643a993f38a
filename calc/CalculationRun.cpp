#include "CalculationRun.h"

#include "Database.h"
#include "DepositPenalty.h"
#include "InterestSteps.h"
#include "PenaltySteps.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "Statements.h"
#include "StoreError.h"
#include "SummaryTotals.h"

namespace {

const QString colOrgDue = QStringLiteral("Original Due Date Of Return");
const QString colStart = QStringLiteral("Start Date");
const QString colEnd = QStringLiteral("End Date");
const QString colFiled = QStringLiteral("Date Return Filed");
const QString colPayroll = QStringLiteral("Payroll Tax Situation");
const QString colInitial = QStringLiteral("Initial Balance");
const QString colCorporate = QStringLiteral("Corporate Taxpayer");
const QString labelStart = QStringLiteral("Quarter Start Date");

Amount amountOf(const RecordSet& rows, int i, const QString& column) {
    const QVariant& v = rows.value(i, column);
    return v.isValid() ? Amount(Rounding::toSingle(v.toDouble())) : std::nullopt;
}

} // namespace

void PostDepositPenalties(const DepositLedger& deposits, EventLedger& ledger) {
    for (const auto& r : deposits.rows)
        if (val(r.penalty) > 0)
            ledger.add(Events::lateDeposit, r.assessmentDateOfLiability, r.assessmentDateOfLiability)
                .failureToDepositPenalty = r.penalty;
}

CalculationRun::CalculationRun(Database& database, RunReporter& r) : db(database), reporter(r) {}

void CalculationRun::loadPayments(int number, const QDate& endate) {
    const RecordSet payments = db.query(Sql::selectPaymentsUpTo(endate, number));
    for (int i = 0; i < payments.size(); ++i) {
        const QDate paid = payments.value(i, QStringLiteral("Date Of Payment")).toDate();
        LedgerRow& r = events.add(payments.value(i, QStringLiteral("Event")).toString(), paid, paid);
        r.row = payments.value(i, QStringLiteral("Row")).toInt();
        r.paymentAllocatedToTax = amountOf(payments, i, QStringLiteral("Payment Allocated To Tax"));
        r.paymentAllocatedToPenalties = amountOf(payments, i, QStringLiteral("Payment Allocated To Penalties"));
        r.paymentAllocatedToInterest = amountOf(payments, i, QStringLiteral("Payment Allocated To Interest"));
    }
}

void CalculationRun::loadCharges(int number, const QDate& startdate, const QDate& endate) {
    const RecordSet charges = db.query(Sql::selectChargesBetween(startdate, endate, number));
    for (int i = 0; i < charges.size(); ++i) {
        const QDate starts = charges.value(i, QStringLiteral("Date Interest Starts")).toDate();
        LedgerRow& r = events.add(charges.value(i, QStringLiteral("Event")).toString(), starts, starts);
        r.chargeClassifiedAsTax = amountOf(charges, i, QStringLiteral("Charge Classified As Tax"));
        r.chargeClassifiedAsPenalty = amountOf(charges, i, QStringLiteral("Charge Classified As Penalty"));
        r.chargeUnclassified = amountOf(charges, i, QStringLiteral("Charge Unclassified"));
    }
}

bool CalculationRun::loadDeposits(int number) {
    const RecordSet deposits = db.query(Sql::selectDepositsOf(number));
    if (deposits.isEmpty())
        return false;
    for (int i = 0; i < deposits.size(); ++i) {
        const QDate due = deposits.value(i, QStringLiteral("Deposit Due Date")).toDate();
        events.add(deposits.value(i, QStringLiteral("Event")).toString(), due, due).requiredDeposit =
            amountOf(deposits, i, QStringLiteral("Required Deposit"));
    }
    return true;
}

void CalculationRun::loadInitialBalance(const TaxpayerRecord& taxpayer, const QDate& orgduedate) {
    const auto initial = taxpayer.amount(colInitial);
    if (!initial)
        throw RunStop(Messages::missing(colInitial));
    put(events.add(Events::initialBalance, orgduedate, orgduedate).initialBalance, *initial);
}

CalculationRun::Outcome CalculationRun::interestReport(const TaxpayerRecord& tp, int Tmr) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        const QDate orgduedate = tp.requiredDate(colOrgDue, colOrgDue);
        const bool payroll = tp.flag(colPayroll);
        const QDate startdate = payroll ? tp.requiredDate(colStart, labelStart) : orgduedate;
        const QDate endate = tp.requiredDate(colEnd, colEnd);
        const int n = tp.number();

        DepositLedger deposits;
        if (payroll) {
            if (db.query(Sql::selectDepositsOf(n)).isEmpty())
                throw RunNotice(Messages::noDeposits);
            deposits = CalculateDepositPenalty(db, n, endate, true, reporter);
            reporter.progress(20);
        }

        events = EventLedger();
        loadPayments(n, endate);
        loadCharges(n, startdate, endate);
        if (payroll) {
            PostDepositPenalties(deposits, events);
            if (!loadDeposits(n))
                throw RunNotice(Messages::noDeposits);
        } else {
            loadInitialBalance(tp, orgduedate);
        }

        PenaltySteps penalties(tp, events, reporter);
        penalties.accuracyRelated();
        reporter.progress(40);
        penalties.partialMonth();
        penalties.failureToPaySchedule();
        penalties.failureToFileRows();
        penalties.amounts();
        penalties.gatherFailureToPay();
        penalties.gatherFailureToFile();

        const RateTable under(db.query(Sql::selectUnderpaymentRates()));
        const RateTable over(db.query(Sql::selectOverpaymentRates()));
        InterestSteps(events, reporter, under, over, orgduedate, endate, tp.flag(colCorporate)).run();
        reporter.progress(80);

        if (Tmr == interestCode)
            writeInterestRows();
        else if (Tmr == summaryCode)
            writeSummary();
        reporter.progress(100);
    });
}

void CalculationRun::writeInterestRows() {
    qint64 delay = 5000;
    Transaction t(db);
    db.exec(Sql::deleteAll(QStringLiteral("Event Table")));
    for (const auto& r : events.rows) {
        delay += 120;
        db.exec(Sql::insertInterestEvent(r.date, r.date2, r.event, float(val(r.unpaidBalance)),
                                         float(val(r.accruedInterest)), val(r.interestRate), float(val(r.days)),
                                         val(r.interestFactor), float(val(r.interest))));
    }
    t.commit();
    reporter.armTimer(QStringLiteral("Timer7"), reportDelay(delay));
}

void CalculationRun::writeSummary() {
    events.runningTaxBalance(false);
    const SummaryTotals s = SummaryTotals::of(events);
    Transaction t(db);
    db.exec(Sql::deleteAll(QStringLiteral("Summary Table")));
    db.exec(Sql::insertSummary(s.TotalInterest, s.TotalFPPenalty, s.TotalFFPenalty, s.TotalAccPenalty, s.unpaidTax,
                               s.TotalPmntAllctdInt, s.TotalPmntAllctdPen, s.otherPenalties, s.TotalFDepositPenalty,
                               s.TotalBalance));
    t.commit();
    reporter.armTimer(QStringLiteral("Timer5"), 1000);
}

CalculationRun::Outcome CalculationRun::penaltyReport(const TaxpayerRecord& tp) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        const QDate orgduedate = tp.requiredDate(colOrgDue, colOrgDue);
        const bool payroll = tp.flag(colPayroll);
        const QDate startdate = payroll ? tp.requiredDate(colStart, labelStart) : orgduedate;
        const QDate endate = tp.requiredDate(colEnd, colEnd);
        tp.requiredDate(colFiled, colFiled);
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

        PenaltySteps penalties(tp, events, reporter);
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
    qint64 delay = 4000;
    Transaction t(db);
    db.exec(Sql::deleteAll(QStringLiteral("Event Table")));
    for (const auto& r : events.rows) {
        delay += 100;
        db.exec(Sql::insertPenaltyEvent(r.event, r.date, float(val(r.failureToFilePenalty)),
                                        float(val(r.failureToPayPenalty)), float(val(r.tax))));
    }
    t.commit();
    reporter.armTimer(QStringLiteral("Timer1"), reportDelay(delay));
}
