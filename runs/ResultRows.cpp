#include "ResultRows.h"

#include "Database.h"
#include "MoneyText.h"
#include "Names.h"
#include "Statements.h"

namespace {

// The value each kind of field has once stored: an amount its dollars, exact to the cent; a rate its decimal
// fraction; an interest factor as it is.
QVariant money(Money v) {
    return v.toDouble();
}
QVariant rate(Rate v) {
    return v.toDouble();
}
QVariant count(int v) {
    return qint64(v);
}
QVariant date(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant();
}
QVariant cents(std::optional<qint64> v) {
    return v ? money(Money::fromCents(*v)) : QVariant();
}
template <typename T> QVariant whole(std::optional<T> v) {
    return v ? QVariant(qint64(*v)) : QVariant();
}

} // namespace

RecordSet ResultRows::recordSet() const {
    RecordSet set(columns);
    for (const auto& r : rows)
        set.append(r);
    return set;
}

void ResultRows::write(Database& db) const {
    Transaction t(db);
    db.exec(Sql::deleteAll(table));
    db.insertRows(table, columns, rows);
    t.commit();
}

ResultRows ResultRows::interest(const EventLedger& ledger) {
    ResultRows r{Tables::events,
                 {Columns::date, Columns::date2, Columns::event, Columns::unpaidBalance, Columns::accruedInterest,
                  Columns::interestRate, Columns::days, Columns::interestFactor, Columns::interest},
                 {}};
    r.rows.reserve(ledger.rows.size());
    for (const auto& e : ledger.rows)
        r.rows.push_back({date(e.date), date(e.date2), e.event, money(val(e.unpaidBalance)),
                          money(val(e.accruedInterest)), rate(e.interestRate.value_or(Rate())),
                          count(e.days.value_or(0)), e.interestFactor.value_or(0.0), money(val(e.interest))});
    return r;
}

ResultRows ResultRows::penalty(const EventLedger& ledger) {
    ResultRows r{
        Tables::events,
        {Columns::event, Columns::date, Columns::failureToFilePenalty, Columns::failureToPayPenalty, Columns::tax},
        {}};
    for (const auto& e : ledger.rows)
        r.rows.push_back({e.event, date(e.date), money(val(e.failureToFilePenalty)), money(val(e.failureToPayPenalty)),
                          money(val(e.tax))});
    return r;
}

ResultRows ResultRows::deposit(const DepositLedger& ledger) {
    ResultRows r{Tables::events,
                 {Columns::requiredDepositNumber, Columns::date, Columns::event, Columns::requiredDeposit,
                  Columns::amountOfPayment, Columns::unpaidBalance, Columns::daysOverdue, Columns::penaltyPercentage,
                  Columns::penalty},
                 {}};
    for (const auto& d : ledger.rows)
        r.rows.push_back({qint64(d.requiredDepositNumber.value_or(0)), date(d.date), d.event,
                          money(val(d.requiredDeposit)), money(val(d.amountOfPayment)), money(val(d.unpaidBalance)),
                          count(d.daysOverdue.value_or(0)), rate(d.penaltyPercentage.value_or(Rate())),
                          money(val(d.penalty))});
    return r;
}

ResultRows ResultRows::summary(const SummaryTotals& s) {
    return {Tables::summary,
            {Columns::totalInterest, Columns::summaryFailureToPayPenalty, Columns::summaryFailureToFilePenalty,
             Columns::totalAccPenalty, Columns::unpaidTax, Columns::pmntsAppToInterest, Columns::pmntsAppToPenalty,
             Columns::otherPenalties, Columns::totalFDepositPenalty, Columns::total},
            {{money(s.TotalInterest), money(s.TotalFPPenalty), money(s.TotalFFPenalty), money(s.TotalAccPenalty),
              money(s.unpaidTax), money(s.TotalPmntAllctdInt), money(s.TotalPmntAllctdPen), money(s.otherPenalties),
              money(s.TotalFDepositPenalty), money(s.TotalBalance)}}};
}

QString installmentHeading(int index, const EstimatedTax::Installment& i) {
    return QStringLiteral("Installment %1 due %2: required %3, paid by the due date %4, underpayment %5")
        .arg(index + 1)
        .arg(i.due.toString(QStringLiteral("MM/dd/yyyy")), groupedDecimal(i.required, 2),
             groupedDecimal(i.paidOnTime, 2), groupedDecimal(i.underpayment, 2));
}

ResultRows ResultRows::estimated(const EstimatedTax::Result& result) {
    ResultRows r{Tables::estimatedTaxLines,
                 {Columns::line, Columns::installment, Columns::dueDate, Columns::amount, Columns::beginningDate,
                  Columns::endingDate, Columns::days, Columns::interestRate, Columns::daysInYear, Columns::penalty},
                 {}};
    qint64 line = 0;
    auto heading = [&r, &line](const QString& text, const QDate& due) {
        r.rows.push_back({++line, text, date(due), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                          QVariant(), QVariant()});
    };
    if (!result.exemption.isEmpty()) {
        heading(result.exemption, QDate());
        return r;
    }
    for (int i = 0; i < 4; ++i) {
        const auto& inst = result.installments[size_t(i)];
        const QString head = installmentHeading(i, inst);
        bool any = false;
        for (const auto& l : result.lines) {
            if (l.installment != i)
                continue;
            any = true;
            r.rows.push_back({++line, head, date(inst.due), cents(l.amount), date(l.from), date(l.to),
                              whole(std::optional<int>(l.days)), rate(l.rate), whole(std::optional<int>(l.yearDays)),
                              cents(l.penalty)});
        }
        // An installment paid in time still shows its heading.
        if (!any)
            heading(head, inst.due);
    }
    return r;
}
