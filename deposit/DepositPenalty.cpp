#include "DepositPenalty.h"

#include "RunReporter.h"
#include "RunStop.h"

#include <QHash>

namespace {

Amount amountOf(const std::optional<double>& v) {
    return v ? Amount(Rounding::toSingle(*v)) : std::nullopt;
}

// Adds an amount that must be there to a total in whole cents: a sum of singles would be off by cents at
// six-figure totals, and by how much would depend on the order of the rows.
void addTo(qint64& cents, const std::optional<double>& v, const QString& what, const QDate& date) {
    if (!v)
        throw RunStop(
            QStringLiteral("The %1 dated %2 has no amount.").arg(what, date.toString(QStringLiteral("MM/dd/yyyy"))));
    cents += Rounding::toCentsHalfEven(*v);
}

double tier(double days) {
    if (days > 0 && days < 6)
        return 0.02;
    if (days > 5 && days < 16)
        return 0.05;
    return 0.10;
}

class NoProgress : public DepositProgress {};

} // namespace

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
        deposit.requiredDeposit = amountOf(required.required);
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
            r.amountOfPayment = amountOf(paid.toTax);
            r.requiredDepositNumber = number;
            r.dueDateOfLiability = due;
            r.assessmentDateOfLiability = assessed;
            r.sec6656b1B = sec;
            rows.push_back(r);
        }
    }
    ledger.sort();
    steps.after(DepositProgress::Step::Build);

    qint64 paid = 0;
    qint64 required = 0;
    for (const auto& p : payments)
        addTo(paid, p.toTax, QStringLiteral("payment"), p.date);
    for (const auto& d : deposits)
        addTo(required, d.required, QStringLiteral("required deposit"), d.due);
    if (required - paid >= 1)
        reporter.message(DepositMessages::fewerPayments);
    steps.after(DepositProgress::Step::Totals);

    // The first payment of a deposit starts from the deposit; each later one from the payment before it.
    steps.before(DepositProgress::Step::Balances);
    for (size_t i = 1; i < rows.size(); ++i) {
        const DepositRow& before = rows[i - 1];
        DepositRow& r = rows[i];
        if (r.event != EventTexts::payment)
            continue;
        if (val(before.requiredDeposit) > 0)
            put(r.unpaidBalance, val(before.requiredDeposit) - val(r.amountOfPayment));
        else
            put(r.unpaidBalance, val(before.unpaidBalance) - val(r.amountOfPayment));
    }
    steps.after(DepositProgress::Step::Balances);

    // What the last payment of a deposit left unpaid is owed from the due date to the end date.
    steps.before(DepositProgress::Step::UnpaidRows);
    std::vector<DepositRow> unpaid;
    for (size_t i = 0; i < rows.size(); ++i) {
        const DepositRow& r = rows[i];
        const bool lastOfDeposit = i + 1 == rows.size() || rows[i + 1].dueDateOfLiability != r.dueDateOfLiability;
        if (val(r.unpaidBalance) > 0 && val(r.amountOfPayment) > 0 && lastOfDeposit) {
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
            put(r.daysOverdue, double(r.dueDateOfLiability.daysTo(r.date)));
    steps.after(DepositProgress::Step::DaysOverdue);

    steps.before(DepositProgress::Step::Penalties);
    for (auto& r : rows) {
        const double days = val(r.daysOverdue);
        if (!(days > 0))
            continue;
        put(r.penaltyPercentage, r.sec6656b1B.value_or(false) ? 0.15 : tier(days));
        const double pct = val(r.penaltyPercentage);
        const double amount = val(r.amountOfPayment);
        const double balance = val(r.unpaidBalance);
        if (amount > 0 && balance >= 0)
            put(r.penalty, amount * pct);
        else if (balance > 0)
            put(r.penalty, balance * pct);
        else if (balance < 0 && amount > 0)
            // What was still owed just before this payment; a deposit already overpaid owes no penalty.
            put(r.penalty, std::max(0.0, amount + balance) * pct);
    }
    steps.after(DepositProgress::Step::Penalties);
    return ledger;
}
