#include "DepositPenalty.h"
#include "CalcSupport.h"
#include "DepositCase.h"

#include <gtest/gtest.h>

namespace {

DepositLedger calculate(PayrollCase& c, RecordingReporter& r, bool check = true) {
    const TaxpayerCase tp = c.taxpayer();
    return CalculateDepositPenalty(tp, tp.endDate, check, r);
}

QString describe(const DepositRow& r) {
    return QStringLiteral("%1 %2 #%3 dep %4 paid %5 unpaid %6 days %7 pct %8 pen %9")
        .arg(r.event, r.date.toString(Qt::ISODate))
        .arg(r.requiredDepositNumber.value_or(0))
        .arg(val(r.requiredDeposit).toDouble())
        .arg(val(r.amountOfPayment).toDouble())
        .arg(val(r.unpaidBalance).toDouble())
        .arg(r.daysOverdue.value_or(0))
        .arg(r.penaltyPercentage.value_or(Rate()).toDouble())
        .arg(val(r.penalty).toDouble());
}

QStringList describe(const DepositLedger& l) {
    QStringList out;
    for (const auto& r : l.rows)
        out << describe(r);
    return out;
}

} // namespace

// Worked example: a deposit of 1000 paid in full by one payment 5, 6, 15 or 16 days late, and with the 15 % rule.
TEST(DepositPenalty, TierBoundariesAndTheFifteenPercentRule) {
    const QDate due(2005, 2, 15);
    const struct {
        int daysLate;
        bool sec15;
        float pct;
        float penalty;
    } cases[] = {{5, false, 0.02f, 20}, {6, false, 0.05f, 50}, {15, false, 0.05f, 50}, {16, false, 0.10f, 100},
                 {5, true, 0.15f, 150}, {6, true, 0.15f, 150}, {16, true, 0.15f, 150}, {0, false, 0, 0},
                 {0, true, 0, 0},       {-3, false, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 days, 15 %: %2").arg(c.daysLate).arg(c.sec15).toStdString());
        PayrollCase p;
        RecordingReporter r;
        p.deposit(due, 1000, c.sec15);
        p.payment(due.addDays(c.daysLate), 1000, due);
        const DepositLedger l = calculate(p, r);
        ASSERT_EQ(l.rows.size(), 2u) << describe(l).join("\n").toStdString();
        EXPECT_EQ(l.rows[0].event, "Liability");
        const DepositRow& paid = l.rows[1];
        EXPECT_EQ(paid.daysOverdue.value_or(0), c.daysLate);
        EXPECT_EQ(paid.penaltyPercentage.value_or(Rate()), rate(c.pct));
        EXPECT_EQ(val(paid.penalty), usd(c.penalty));
        EXPECT_FALSE(l.rows[0].daysOverdue.has_value());
        EXPECT_TRUE(r.messages.isEmpty());
    }
}

// Worked example: deposit 1000; 600 ten days late, 700 twenty days late. With only the 600 and an end date 100
// days after the due date, the 400 still unpaid is penalised at the end date.
TEST(DepositPenalty, RunningBalancesAndTheUnpaidBalanceRow) {
    const QDate due(2005, 2, 15);
    {
        PayrollCase p;
        RecordingReporter r;
        p.deposit(due, 1000);
        p.payment(due.addDays(10), 600, due);
        p.payment(due.addDays(20), 700, due);
        EXPECT_EQ(describe(calculate(p, r)),
                  QStringList({"Liability 2005-02-15 #1 dep 1000 paid 0 unpaid 0 days 0 pct 0 pen 0",
                               "Payment 2005-02-25 #1 dep 0 paid 600 unpaid 400 days 10 pct 0.05 pen 30",
                               "Payment 2005-03-07 #1 dep 0 paid 700 unpaid -300 days 20 pct 0.1 pen 40"}));
    }
    {
        PayrollCase p(due.addDays(100));
        RecordingReporter r;
        p.deposit(due, 1000);
        p.payment(due.addDays(10), 600, due);
        p.payment(due.addDays(10), 400, QDate(2005, 3, 15)); // names no deposit: only counted in the totals
        EXPECT_EQ(describe(calculate(p, r)),
                  QStringList({"Liability 2005-02-15 #1 dep 1000 paid 0 unpaid 0 days 0 pct 0 pen 0",
                               "Payment 2005-02-25 #1 dep 0 paid 600 unpaid 400 days 10 pct 0.05 pen 30",
                               "Unpaid Balance 2005-05-26 #1 dep 0 paid 0 unpaid 400 days 100 pct 0.1 pen 40"}));
        // ... and the run says so, naming the payment and the date it names.
        EXPECT_EQ(r.messages,
                  QStringList{DepositMessages::unmatchedLiabilityDate(due.addDays(10), QDate(2005, 3, 15))});
        EXPECT_TRUE(r.messages[0].startsWith("The payment of 02/25/2005 is applied to a liability due 03/15/2005, but "
                                             "no required deposit is due on that date"));
    }
}

// A last payment of 0 marks the balance still owed: no unpaid-balance row, the marker itself is penalised.
TEST(DepositPenalty, ZeroPaymentAsAMarker) {
    const QDate due(2005, 2, 15);
    PayrollCase p;
    RecordingReporter r;
    p.deposit(due, 1000);
    p.payment(due.addDays(10), 600, due);
    p.payment(due.addDays(30), 0, due);
    EXPECT_EQ(describe(calculate(p, r)),
              QStringList({"Liability 2005-02-15 #1 dep 1000 paid 0 unpaid 0 days 0 pct 0 pen 0",
                           "Payment 2005-02-25 #1 dep 0 paid 600 unpaid 400 days 10 pct 0.05 pen 30",
                           "Payment 2005-03-17 #1 dep 0 paid 0 unpaid 400 days 30 pct 0.1 pen 40"}));
    EXPECT_EQ(r.messages, QStringList{DepositMessages::fewerPayments});
}

// A deposit already overpaid owes no penalty on a later payment: never a negative penalty.
TEST(DepositPenalty, NoNegativePenaltyAfterAnOverpayment) {
    const QDate due(2005, 2, 15);
    PayrollCase p;
    RecordingReporter r;
    p.deposit(due, 1000);
    p.payment(due.addDays(10), 1200, due);
    p.payment(due.addDays(20), 100, due);
    EXPECT_EQ(describe(calculate(p, r)),
              QStringList({"Liability 2005-02-15 #1 dep 1000 paid 0 unpaid 0 days 0 pct 0 pen 0",
                           "Payment 2005-02-25 #1 dep 0 paid 1200 unpaid -200 days 10 pct 0.05 pen 50",
                           "Payment 2005-03-07 #1 dep 0 paid 100 unpaid -300 days 20 pct 0.1 pen 0"}));
}

TEST(DepositPenalty, MatchingByDueDate) {
    PayrollCase p;
    RecordingReporter r;
    p.deposit(QDate(2005, 1, 15), 500);
    p.deposit(QDate(2005, 2, 15), 700); // nobody names it: no rows, its number is not used
    p.deposit(QDate(2005, 3, 15), 300);
    // Shares the due date: collects the same payment. In the ledger's order both deposit rows come before both
    // payment rows, so the first payment continues from the second deposit.
    p.deposit(QDate(2005, 3, 15), 200);
    p.payment(QDate(2005, 3, 10), 300, QDate(2005, 3, 15)); // before the due date
    p.payment(QDate(2005, 1, 15), 500, QDate(2005, 1, 15));
    EXPECT_EQ(describe(calculate(p, r)),
              QStringList({"Liability 2005-01-15 #1 dep 500 paid 0 unpaid 0 days 0 pct 0 pen 0",
                           "Payment 2005-01-15 #1 dep 0 paid 500 unpaid 0 days 0 pct 0 pen 0",
                           "Liability 2005-03-15 #3 dep 300 paid 0 unpaid 0 days 0 pct 0 pen 0",
                           "Liability 2005-03-15 #4 dep 200 paid 0 unpaid 0 days 0 pct 0 pen 0",
                           "Payment 2005-03-10 #3 dep 0 paid 300 unpaid -100 days -5 pct 0 pen 0",
                           "Payment 2005-03-10 #4 dep 0 paid 300 unpaid -400 days -5 pct 0 pen 0"}));
    EXPECT_EQ(r.messages, QStringList{DepositMessages::fewerPayments});
}

TEST(DepositPenalty, PaymentsWithoutALiabilityDate) {
    PayrollCase p;
    p.deposit(QDate(2005, 1, 15), 500);
    p.deposit(QDate(2005, 2, 15), 500);
    p.payment(QDate(2005, 1, 20), 1000, QDate());
    RecordingReporter checked;
    EXPECT_TRUE(calculate(p, checked).rows.empty());
    // Once for every deposit; the payment still counts in the totals, so no totals warning.
    EXPECT_EQ(checked.messages, QStringList({DepositMessages::noLiabilityDate, DepositMessages::noLiabilityDate}));
    RecordingReporter unchecked;
    EXPECT_TRUE(calculate(p, unchecked, false).rows.empty());
    EXPECT_TRUE(unchecked.messages.isEmpty());
}

// Deposits and payments equal to the cent never warn, whatever the order of the rows: six deposits of 185,727.01 in
// all, paid by the same six amounts in the other order (in singles the two sums came to 185,727.03 and 185,727.00).
// A cent short does warn.
TEST(DepositPenalty, TotalsCheckIsInWholeCents) {
    const double amounts[] = {30086.13, 27648.45, 29998.79, 41591.59, 18504.43, 37897.62};
    for (const double shortBy : {0.0, 0.01}) {
        PayrollCase p;
        RecordingReporter r;
        for (int i = 0; i < 6; ++i)
            p.deposit(QDate(2005, 1, 10 + i), amounts[i]);
        for (int i = 0; i < 6; ++i)
            p.payment(QDate(2005, 2, 10 + i), amounts[5 - i] - (i == 0 ? shortBy : 0.0), QDate(2005, 1, 15 - i));
        calculate(p, r);
        EXPECT_EQ(r.messages, shortBy > 0 ? QStringList{DepositMessages::fewerPayments} : QStringList{})
            << "short by " << shortBy;
    }
}
