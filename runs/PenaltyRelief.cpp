#include "PenaltyRelief.h"

#include "Amount.h"
#include "CalculationRun.h"
#include "KeptReporter.h"
#include "MoneyText.h"
#include "NoticeCheck.h"
#include "RunReporter.h"
#include "TranscriptImport.h"

#include <functional>

namespace PenaltyRelief {
namespace {

QString money(Money m) {
    return groupedDecimal(m.cents(), 2);
}

std::optional<SummaryTotals> totalsOf(const TaxpayerCase& c, RunReporter& reporter, bool depositPenalties = true,
                                      RunOutcome* outcome = nullptr) {
    CalculationRun run(reporter);
    if (!depositPenalties)
        run.leaveOutDepositPenalties();
    SummaryTotals t;
    const RunOutcome o = run.summaryTotals(c, &t);
    if (outcome)
        *outcome = o;
    return o == RunOutcome::Written ? std::optional<SummaryTotals>(t) : std::nullopt;
}

std::optional<Money> irsFigure(const TaxpayerCase& c, const QString& kind) {
    std::optional<Money> sum;
    for (const auto& f : c.irsFigures)
        if (f.event == kind)
            sum = val(sum) + val(f.amount);
    return sum;
}

} // namespace

const QStringList& conditions() {
    static const QStringList all = {
        QStringLiteral("No penalty (other than an estimated tax penalty) was assessed on a return of this kind for "
                       "the three tax years before this one, or the taxpayer was not required to file one then; a "
                       "penalty removed for a reason other than first-time abatement does not count."),
        QStringLiteral("The taxpayer has filed, or filed a valid extension for, every return currently due."),
        QStringLiteral("The taxpayer has paid, or arranged to pay, the tax currently due (an installment agreement "
                       "kept current counts)."),
        QStringLiteral("This is the earliest tax period for which relief from these penalties is asked (first-time "
                       "abatement applies to one period)."),
    };
    return all;
}

RunOutcome compute(const TaxpayerCase& taxpayer, const QDate& at, std::vector<bool> ticked, RunReporter& reporter,
                   Result* result) {
    TaxpayerCase c = NoticeCheck::asOf(taxpayer, at);
    RunOutcome outcome = RunOutcome::Stopped;
    const auto with = totalsOf(c, reporter, true, &outcome);
    if (!with)
        return outcome;
    KeptReporter quiet;
    Result r;
    r.number = taxpayer.number;
    r.name = taxpayer.name;
    r.at = at;
    r.balanceWith = with->TotalBalance;
    ticked.resize(size_t(conditions().size()), false);
    r.ticked = std::move(ticked);
    // The penalties taken away one after another: each line's interest is what the case's interest falls by when it
    // goes too, so the lines add up to the relief (without the failure-to-pay penalty the failure-to-file penalty
    // would grow, IRC 6651(c)(1), which is why they are not each taken from the whole case).
    TaxpayerCase less = c;
    SummaryTotals before = *with;
    const auto take = [&](const QString& kind, QDate begins, Money amount, const QString& irsKind,
                          const std::function<void(TaxpayerCase&)>& change, bool depositPenalties) {
        change(less);
        const auto after = totalsOf(less, quiet, depositPenalties);
        if (!after)
            return false;
        if (amount != Money())
            r.penalties.push_back(
                {kind, begins, amount, before.TotalInterest - after->TotalInterest, irsFigure(c, irsKind)});
        before = *after;
        return true;
    };
    bool ran = take(
        QStringLiteral("Failure to file"), c.extendedDueDate.isValid() ? c.extendedDueDate : c.originalDueDate,
        with->TotalFFPenalty, TranscriptImport::Kinds::failureToFile, [](TaxpayerCase& o) { o.failureToFile = false; },
        true);
    ran = ran && take(
                     QStringLiteral("Failure to pay"), c.failureToPayAssessment, with->TotalFPPenalty,
                     TranscriptImport::Kinds::failureToPay, [](TaxpayerCase& o) { o.failureToPay = false; }, true);
    QDate firstDeposit;
    for (const auto& d : c.deposits)
        if (d.assessed.isValid() && (!firstDeposit.isValid() || d.assessed < firstDeposit))
            firstDeposit = d.assessed;
    ran = ran && take(
                     QStringLiteral("Failure to deposit"), firstDeposit, with->TotalFDepositPenalty,
                     TranscriptImport::Kinds::deposit, [](TaxpayerCase&) {}, false);
    r.balanceWithout = ran ? before.TotalBalance : r.balanceWith;
    *result = std::move(r);
    return RunOutcome::Written;
}

RecordSet rows(const Result& r) {
    RecordSet set({QStringLiteral("Penalty"), QStringLiteral("Begins"), QStringLiteral("Amount"),
                   QStringLiteral("Interest On It"), QStringLiteral("Relief"), QStringLiteral("IRS Assessed")});
    const auto dollars = [](const std::optional<Money>& m) {
        return m ? QVariant(double(m->cents()) / 100.0) : QVariant();
    };
    for (const auto& p : r.penalties)
        set.append({p.kind, p.begins.isValid() ? QVariant(p.begins) : QVariant(), dollars(p.amount),
                    dollars(p.interest), dollars(p.amount + p.interest), dollars(p.irs)});
    return set;
}

QStringList notes(const Result& r) {
    const QString at = r.at.toString(QStringLiteral("MM/dd/yyyy"));
    QStringList out;
    if (r.penalties.empty())
        out << QStringLiteral("The case has no failure-to-file, failure-to-pay or deposit penalty to %1.").arg(at);
    out << QStringLiteral("Balance at %1 with the penalties: %2; without them and their interest: %3; relief asked "
                          "for: %4.")
               .arg(at, money(r.balanceWith), money(r.balanceWithout), money(r.balanceWith - r.balanceWithout));
    Money each;
    for (const auto& p : r.penalties)
        each += p.amount + p.interest;
    if (r.penalties.size() > 1 && each != r.balanceWith - r.balanceWithout)
        out << QStringLiteral("The lines add up to %1, not to the relief: a month's failure-to-file penalty is reduced "
                              "by that month's failure-to-pay penalty (IRC 6651(c)(1)), so without one the other is "
                              "larger; each line is figured with the other penalties left in.")
                   .arg(money(each));
    out << QStringLiteral("First-time abatement (IRM 20.1.1.3.3.2.1), as ticked:");
    bool all = true;
    for (qsizetype i = 0; i < conditions().size(); ++i) {
        const bool on = size_t(i) < r.ticked.size() && r.ticked[size_t(i)];
        all = all && on;
        out << (on ? QStringLiteral("[X] ") : QStringLiteral("[ ] ")) + conditions()[i];
    }
    out << (all ? QStringLiteral("Every condition is ticked: first-time abatement can be asked for these penalties "
                                 "(it does not reach an accuracy-related or estimated tax penalty).")
                : QStringLiteral("Not every condition is ticked: ask for relief for reasonable cause instead (IRM "
                                 "20.1.1.3.2), with the facts that kept the taxpayer from filing or paying on time."));
    return out;
}

} // namespace PenaltyRelief
