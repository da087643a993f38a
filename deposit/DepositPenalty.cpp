#include "DepositPenalty.h"

#include "RunReporter.h"
#include "RunStop.h"

#include <QHash>
#include <QSet>

namespace {

// Adds an amount that must be there to a total.
void addTo(Money& total, const std::optional<Money>& v, const QString& what, const QDate& date) {
    if (!v)
        throw RunStop(
            QStringLiteral("The %1 dated %2 has no amount.").arg(what, date.toString(QStringLiteral("MM/dd/yyyy"))));
    total += *v;
}

// The penalty of a deposit made `days` late: 2 % up to 5 days, 5 % up to 15, 10 % after (IRC 6656(b)(1)(A)).
Rate tier(int days) {
    if (days > 0 && days < 6)
        return Rate::fromMillionths(20000);
    if (days > 5 && days < 16)
        return Rate::fromMillionths(50000);
    return Rate::fromMillionths(100000);
}
constexpr Rate rule6656b1B = Rate::fromMillionths(150000); // 15 %

class NoProgress : public DepositProgress {};

} // namespace

QString DepositMessages::unmatchedLiabilityDate(const QDate& paid, const QDate& liability) {
    const QString format = QStringLiteral("MM/dd/yyyy");
    return QStringLiteral("The payment of %1 is applied to a liability due %2, but no required deposit is due on "
                          "that date, so the deposit penalty leaves the payment out. Correct its liability due date "
                          "under Transactions, Payments & Deposits.")
        .arg(paid.toString(format), liability.toString(format));
}

DepositLedger CalculateDepositPenalty(const TaxpayerCase& tp, const QDate& endDate, bool checkLiabilityDates,
                                      RunReporter& reporter, DepositProgress* progress) {
    NoProgress none;
    DepositProgress& steps = progress ? *progress : none;
    const auto& deposits = tp.deposits;
    const auto& payments = tp.payments;
    DepositLedger ledger;
    auto& rows = ledger.rows;

    // Payments are matched to deposits by the deposit's due date alone. Payments are grouped by the due date they
    // name once, so matching costs deposits + payments; the rows come out as a walk of every payment for every
    // deposit would give them.
    steps.before(DepositProgress::Step::Build);
    QHash<QDate, std::vector<int>> byLiability;
    std::vector<int> withoutLiability;
    for (int p = 0; p < int(payments.size()); ++p) {
        const QDate liability = payments[size_t(p)].liabilityDueDate;
        if (liability.isValid())
            byLiability[liability].push_back(p);
        else
            withoutLiability.push_back(p);
    }
    if (checkLiabilityDates) {
        QSet<QDate> dueDates;
        for (const auto& d : deposits)
            dueDates.insert(d.due);
        for (const auto& p : payments)
            if (p.liabilityDueDate.isValid() && !dueDates.contains(p.liabilityDueDate))
                reporter.message(DepositMessages::unmatchedLiabilityDate(p.date, p.liabilityDueDate));
    }
    for (int d = 0; d < int(deposits.size()); ++d) {
        const TaxpayerCase::Deposit& required = deposits[size_t(d)];
        const qint16 number = Rounding::toInt16(d + 1);
        if (checkLiabilityDates)
            for (size_t i = 0; i < withoutLiability.size(); ++i)
                reporter.message(DepositMessages::noLiabilityDate);
        const QDate due = required.due;
        const auto matched = due.isValid() ? byLiability.constFind(due) : byLiability.constEnd();
        if (matched == byLiability.constEnd())
            continue;
        const QDate assessed = required.assessed;
        const bool sec = required.sec6656b1B;
        DepositRow deposit;
        deposit.event = required.event;
        deposit.date = due;
        deposit.requiredDeposit = required.required;
        deposit.requiredDepositNumber = number;
        deposit.dueDateOfLiability = due;
        deposit.assessmentDateOfLiability = assessed;
        deposit.sec6656b1B = sec;
        rows.push_back(deposit);
        for (const int p : *matched) {
            const TaxpayerCase::Payment& paid = payments[size_t(p)];
            DepositRow r;
            r.event = paid.event;
            r.date = paid.date;
            r.amountOfPayment = paid.toTax;
            r.requiredDepositNumber = number;
            r.dueDateOfLiability = due;
            r.assessmentDateOfLiability = assessed;
            r.sec6656b1B = sec;
            rows.push_back(r);
        }
    }
    ledger.sort();
    steps.after(DepositProgress::Step::Build);

    Money paid;
    Money required;
    for (const auto& p : payments)
        addTo(paid, p.toTax, QStringLiteral("payment"), p.date);
    for (const auto& d : deposits)
        addTo(required, d.required, QStringLiteral("required deposit"), d.due);
    if (required - paid >= Money::fromCents(1))
        reporter.message(DepositMessages::fewerPayments);
    steps.after(DepositProgress::Step::Totals);

    // The first payment of a deposit starts from the deposit; each later one from the payment before it.
    steps.before(DepositProgress::Step::Balances);
    for (size_t i = 1; i < rows.size(); ++i) {
        const DepositRow& before = rows[i - 1];
        DepositRow& r = rows[i];
        if (r.event != EventTexts::payment)
            continue;
        if (val(before.requiredDeposit) > Money())
            r.unpaidBalance = val(before.requiredDeposit) - val(r.amountOfPayment);
        else
            r.unpaidBalance = val(before.unpaidBalance) - val(r.amountOfPayment);
    }
    steps.after(DepositProgress::Step::Balances);

    // What the last payment of a deposit left unpaid is owed from the due date to the end date.
    steps.before(DepositProgress::Step::UnpaidRows);
    std::vector<DepositRow> unpaid;
    for (size_t i = 0; i < rows.size(); ++i) {
        const DepositRow& r = rows[i];
        const bool lastOfDeposit = i + 1 == rows.size() || rows[i + 1].dueDateOfLiability != r.dueDateOfLiability;
        if (val(r.unpaidBalance) > Money() && val(r.amountOfPayment) > Money() && lastOfDeposit) {
            DepositRow u;
            u.event = EventTexts::unpaidBalance;
            u.date = endDate;
            u.unpaidBalance = r.unpaidBalance;
            u.requiredDepositNumber = r.requiredDepositNumber;
            u.dueDateOfLiability = r.dueDateOfLiability;
            u.assessmentDateOfLiability = r.assessmentDateOfLiability;
            u.sec6656b1B = r.sec6656b1B;
            unpaid.push_back(u);
        }
    }
    ledger.mergeIn(unpaid);
    steps.after(DepositProgress::Step::UnpaidRows);

    steps.before(DepositProgress::Step::DaysOverdue);
    for (auto& r : rows)
        if (r.date.isValid() && r.dueDateOfLiability.isValid() && r.date != r.dueDateOfLiability)
            r.daysOverdue = int(r.dueDateOfLiability.daysTo(r.date));
    steps.after(DepositProgress::Step::DaysOverdue);

    steps.before(DepositProgress::Step::Penalties);
    for (auto& r : rows) {
        const int days = r.daysOverdue.value_or(0);
        if (!(days > 0))
            continue;
        const Rate pct = r.sec6656b1B.value_or(false) ? rule6656b1B : tier(days);
        r.penaltyPercentage = pct;
        const Money amount = val(r.amountOfPayment);
        const Money balance = val(r.unpaidBalance);
        const Money none;
        if (amount > none && balance >= none)
            r.penalty = amount.times(pct);
        else if (balance > none)
            r.penalty = balance.times(pct);
        else if (balance < none && amount > none)
            // What was still owed just before this payment; a deposit already overpaid owes no penalty.
            r.penalty = std::max(none, amount + balance).times(pct);
    }
    steps.after(DepositProgress::Step::Penalties);
    return ledger;
}
