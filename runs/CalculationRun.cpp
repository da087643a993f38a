#include "CalculationRun.h"

#include "Balances.h"
#include "DepositPenalty.h"
#include "InterestSteps.h"
#include "Labels.h"
#include "MoneyText.h"
#include "PenaltySteps.h"
#include "ResultRows.h"
#include "Rounding.h"
#include "RunReporter.h"
#include "RunStop.h"
#include "StoreError.h"

namespace {} // namespace

void requireAmountsInRange(const TaxpayerCase& tp) {
    if (tp.beyondLargestAmount)
        throw Rounding::ArithmeticFault(Rounding::overflowText);
}

void PostDepositPenalties(const DepositLedger& deposits, EventLedger& ledger) {
    for (const auto& r : deposits.rows)
        if (val(r.penalty) > Money())
            ledger.add(EventTexts::lateDeposit, r.assessmentDateOfLiability, r.assessmentDateOfLiability)
                .failureToDepositPenalty = r.penalty;
}

CalculationRun::CalculationRun(Database& database, RunReporter& r) : db(&database), reporter(r) {}

CalculationRun::CalculationRun(RunReporter& r) : db(nullptr), reporter(r) {}

// The payments made by the End Date, in date order.
void CalculationRun::loadPayments(const TaxpayerCase& tp, const QDate& endate) {
    for (const auto& p : tp.payments) {
        if (!p.date.isValid() || p.date > endate)
            continue;
        LedgerRow& r = events.add(p.event, p.date, p.date);
        r.row = p.row;
        r.paymentAllocatedToTax = p.toTax;
        r.paymentAllocatedToPenalties = p.toPenalties;
        r.paymentAllocatedToInterest = p.toInterest;
    }
}

// The charges whose interest starts from the start date to the End Date.
void CalculationRun::loadCharges(const TaxpayerCase& tp, const QDate& startdate, const QDate& endate) {
    for (const auto& c : tp.charges) {
        if (!c.interestStarts.isValid() || c.interestStarts < startdate || c.interestStarts > endate)
            continue;
        LedgerRow& r = events.add(c.event, c.interestStarts, c.interestStarts);
        r.chargeClassifiedAsTax = c.asTax;
        r.chargeClassifiedAsPenalty = c.asPenalty;
        r.chargeUnclassified = c.unclassified;
    }
}

// The refunds whose interest runs to a day from the original due date to the End Date, each checked: a row dated at
// its interest-to date (the interest on the overpayment runs to it and stops), with the day it was made beside.
void CalculationRun::loadRefunds(const TaxpayerCase& tp, const QDate& orgduedate, const QDate& endate) {
    const auto when = [](const QDate& d) { return d.toString(QStringLiteral("MM/dd/yyyy")); };
    for (const auto& f : tp.refunds) {
        const QString which =
            f.made.isValid() ? QStringLiteral("The refund made %1").arg(when(f.made)) : QStringLiteral("A refund");
        if (!f.made.isValid())
            throw RunStop(which + QStringLiteral(" has no date it was made: enter it on the refund form."));
        if (!f.interestTo.isValid())
            throw RunStop(which + QStringLiteral(" has no date interest is allowed to: enter it on the refund form."));
        if (f.interestTo > f.made)
            throw RunStop(which + QStringLiteral(" has its interest-to date %1 after the date it was made: interest "
                                                 "is allowed to a day on or before it.")
                                      .arg(when(f.interestTo)));
        if (f.interestTo < orgduedate)
            throw RunStop(which + QStringLiteral(" has its interest-to date %1 before the Original Due Date Of Return "
                                                 "%2.")
                                      .arg(when(f.interestTo), when(orgduedate)));
        if (!f.amount)
            throw RunStop(which + QStringLiteral(" has no amount: enter the overpayment refunded."));
        if (*f.amount <= Money())
            throw RunStop(which + QStringLiteral(" has the amount %1: enter the overpayment refunded, above zero.")
                                      .arg(groupedDecimal(f.amount->cents(), 2)));
        if (f.interestTo > endate)
            continue;
        LedgerRow& r = events.add(EventTexts::refund, f.interestTo, f.made);
        r.paymentAllocatedToTax = -*f.amount;
    }
}

void CalculationRun::loadDeposits(const TaxpayerCase& tp) {
    for (const auto& d : tp.deposits)
        events.add(d.event, d.due, d.due).requiredDeposit = d.required;
}

void CalculationRun::loadInitialBalance(const TaxpayerCase& tp, const QDate& orgduedate) {
    if (!tp.initialBalance)
        throw RunStop(Messages::missing(Labels::initialBalance));
    events.add(EventTexts::initialBalance, orgduedate, orgduedate).initialBalance = tp.initialBalance;
}

// The published figures as the steps look them up, made once for every case that shares them (a whole book).
const CalculationRun::Tables& CalculationRun::tablesOf(const TaxpayerCase& tp) {
    if (!tables || tables->from != tp.figures) {
        const PublishedFigures& f = *tp.figures;
        tables = std::make_unique<Tables>(
            Tables{tp.figures, RateTable(f.underpayment, QStringLiteral("underpayment")),
                   RateTable(f.overpayment, QStringLiteral("overpayment")),
                   RateTable(f.largeCorporate, QStringLiteral("large corporate underpayment")),
                   RateTable(f.largeCorporateOverpayment, QStringLiteral("large corporate overpayment")),
                   FailureToFileMinimum(f.failureToFileMinimums)});
    }
    return *tables;
}

void CalculationRun::computeLedger(const TaxpayerCase& tp, RunReporter& shown, bool forBalance) {
    requireAmountsInRange(tp);
    const QDate orgduedate = Messages::required(tp.originalDueDate, Labels::originalDueDate);
    const bool payroll = tp.payroll;
    const QDate startdate = payroll ? Messages::required(tp.startDate, Labels::quarterStartDate) : orgduedate;
    const QDate endate = Messages::required(tp.endDate, Labels::endDate);

    DepositLedger deposits;
    if (payroll) {
        if (tp.deposits.empty())
            throw RunNotice(forBalance ? Messages::noRequiredDeposit : Messages::noDeposits);
        // The balance calculation leaves out the check for payments without a liability due date.
        deposits = CalculateDepositPenalty(tp, endate, !forBalance, shown);
        shown.progress(20);
    }

    // A run on the next case keeps the room the last one took (the whole book runs thousands).
    events.rows.clear();
    events.rows.reserve(tp.payments.size() + tp.charges.size() + 2 * tp.deposits.size() + 256);
    loadPayments(tp, endate);
    loadCharges(tp, startdate, endate);
    if (payroll) {
        if (depositPenalties)
            PostDepositPenalties(deposits, events);
        loadDeposits(tp);
    } else {
        loadInitialBalance(tp, orgduedate);
    }
    loadRefunds(tp, orgduedate, endate);

    PenaltySteps::Options options;
    options.accuracyChecks = !forBalance;
    options.decreasedRate = !forBalance;
    const Tables& tables = tablesOf(tp);
    const FailureToFileMinimum& minimum = tables.minimum;
    PenaltySteps penalties(tp, events, shown, minimum, options);
    penalties.accuracyRelated();
    shown.progress(40);
    penalties.partialMonth();
    penalties.failureToPaySchedule();
    penalties.failureToFileRows();
    penalties.amounts();
    penalties.gatherFailureToPay();
    penalties.gatherFailureToFile();

    const RateTable& under = tables.under;
    const RateTable& over = tables.over;
    InterestSteps interest(events, shown, under, over, orgduedate, endate, tp.corporate);
    // A corporation's large underpayment is charged the large corporate rate from the day after its applicable date.
    if (tp.corporate && tp.largeCorporateUnderpayment) {
        const QDate applicable =
            Messages::required(tp.largeCorporateRateBegins, Labels::largeCorporateRateApplicableDate);
        interest.largeCorporateRate(tables.large, applicable);
    }
    // A corporation's overpayment above the threshold earns the lower rate; without the law's figures only a
    // corporation that is owed interest stops, and says why.
    if (tp.corporate && tp.figures->interestLaw) {
        const InterestLaw& law = *tp.figures->interestLaw;
        interest.largeCorporateOverpaymentRate(tables.largeOverpayment, law.largeCorporateOverpaymentThreshold,
                                               law.largeCorporateOverpaymentAfter, tp.refundTakesFirstPart);
    } else if (tp.corporate) {
        interest.largeCorporateOverpaymentUnknown(tp.figures->interestLawProblem);
    }
    interest.partRates(parts);
    interest.cutAt(cuts);
    interest.run();
    shown.progress(80);
}

CalculationRun::Outcome CalculationRun::interestReport(const TaxpayerCase& tp, int Tmr) {
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

private:
    RunReporter& to;
};

} // namespace

CalculationRun::Outcome CalculationRun::balanceAt(const TaxpayerCase& tp, const QDate& paymentDate, Balances* result) {
    MessagesOnly shown(reporter);
    return guardedRun(db, shown, [&] {
        if (tp.payments.empty())
            throw RunStop(Messages::noPayment);
        computeLedger(tp, shown, true);

        // The component walk: every row dated on or before the payment date, whatever its event.
        Money tax, penalty, interest;
        bool any = false;
        for (auto& r : events.rows) {
            if (r.date.isValid() && r.date > paymentDate)
                break;
            any = true;
            r.tax = ::Balances::taxAfter(tax, r);
            tax = *r.tax;
            penalty = ::Balances::penaltyAfter(penalty, r);
            r.accruedInterest = ::Balances::interestAfter(interest, r);
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
    if (db)
        ResultRows::interest(events).write(*db);
}

CalculationRun::Outcome CalculationRun::summaryTotals(const TaxpayerCase& tp, SummaryTotals* totals) {
    return guardedRun(db, reporter, [&] {
        computeLedger(tp, reporter, false);
        events.runningTaxBalance(false);
        sums = SummaryTotals::of(events);
        *totals = sums;
    });
}

void CalculationRun::writeSummary() {
    events.runningTaxBalance(false);
    // A failure of the totals goes to the global error handler, not to a message box.
    try {
        sums = SummaryTotals::of(events);
        if (db)
            ResultRows::summary(sums).write(*db);
    } catch (const StoreError& e) {
        throw RunGlobalFailure(e.message());
    } catch (const std::exception& e) {
        throw RunGlobalFailure(QString::fromStdString(e.what()));
    }
}

CalculationRun::Outcome CalculationRun::penaltyReport(const TaxpayerCase& tp) {
    return guardedRun(db, reporter, [&] {
        reporter.progressVisible(true);
        requireAmountsInRange(tp);
        const QDate orgduedate = Messages::required(tp.originalDueDate, Labels::originalDueDate);
        const bool payroll = tp.payroll;
        const QDate startdate = payroll ? Messages::required(tp.startDate, Labels::quarterStartDate) : orgduedate;
        const QDate endate = Messages::required(tp.endDate, Labels::endDate);
        Messages::required(tp.dateReturnFiled, Labels::dateReturnFiled);

        events.rows.clear();
        reporter.progress(20);
        loadPayments(tp, endate);
        loadCharges(tp, startdate, endate);
        if (payroll) {
            if (tp.deposits.empty())
                throw RunNotice(Messages::noDeposits);
            loadDeposits(tp);
        } else {
            loadInitialBalance(tp, orgduedate);
        }
        reporter.progress(40);

        const FailureToFileMinimum& minimum = tablesOf(tp).minimum;
        PenaltySteps penalties(tp, events, reporter, minimum);
        penalties.partialMonth();
        penalties.failureToPaySchedule();
        penalties.failureToFileRows();
        penalties.amounts();

        reporter.progress(80);
        events.sort(EventLedger::Order::DateAscEventDesc);
        if (db)
            ResultRows::penalty(events).write(*db);
        reporter.progress(100);
    });
}
