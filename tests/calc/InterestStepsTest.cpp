#include "InterestSteps.h"
#include "CalcSupport.h"
#include "RunStop.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// One rate for every quarter from 1990 to 2010, unless a test gives its own.
RateTable flat(double fraction) {
    return RateTable({{d(1, 1, 1990), d(12, 31, 2010), rate(fraction)}});
}

struct InterestCase {
    EventLedger ledger;
    RecordingReporter reporter;
    RateTable under = flat(0.07);
    RateTable over = flat(0.06);
    bool corporate = false;

    LedgerRow& initial(const QDate& due, double dollars) {
        LedgerRow& r = ledger.add("Initial Balance", due, due);
        r.initialBalance = usd(dollars);
        return r;
    }
    void run(const QDate& due, const QDate& end) {
        InterestSteps(ledger, reporter, under, over, due, end, corporate).run();
    }
    std::vector<const LedgerRow*> interestRows() const {
        std::vector<const LedgerRow*> out;
        for (const auto& r : ledger.rows)
            if (r.event == "Interest")
                out.push_back(&r);
        return out;
    }
};

// Every day from the day after the due date to the end date lies in exactly one interest period.
void expectExactCover(const InterestCase& r, const QDate& due, const QDate& end) {
    QDate next = due.addDays(1);
    double days = 0;
    for (const auto* row : r.interestRows()) {
        if (row->days.value_or(0) == 0)
            continue;
        EXPECT_EQ(row->date, next) << row->date2.toString().toStdString();
        EXPECT_EQ(row->date.daysTo(row->date2) + 1, qint64(row->days.value_or(0)));
        days += row->days.value_or(0);
        next = row->date2.addDays(1);
    }
    EXPECT_EQ(next, end.addDays(1));
    EXPECT_EQ(days, double(due.daysTo(end)));
}

} // namespace

// Worked example: 0.07 over the 92 days of a 365-day year on 10,000.00 gives 177.99.
TEST(Interest, SevenPercentOverNinetyTwoDays) {
    InterestCase r;
    r.initial(d(9, 30, 2005), 10000);
    r.run(d(9, 30, 2005), d(12, 31, 2005));
    const auto rows = r.interestRows();
    ASSERT_EQ(rows.size(), 2u);
    // A due date that is itself a quarter end: a first period of 0 days.
    EXPECT_EQ(rows[0]->days.value_or(0), 0);
    EXPECT_EQ(rows[0]->interestFactor.value_or(0), 0);
    EXPECT_EQ(val(rows[0]->interest), Money());
    EXPECT_EQ(rows[1]->days.value_or(0), 92);
    EXPECT_NEAR(*rows[1]->interestFactor, 0.0177986858, 1e-10);
    EXPECT_EQ(*rows[1]->interestFactor, std::pow(1 + 0.07 / 365.0, 92.0) - 1);
    EXPECT_EQ(*rows[1]->interest, usd(177.99));
    EXPECT_EQ(rows[1]->date, d(10, 1, 2005));
    EXPECT_EQ(rows[1]->date2, d(12, 31, 2005));
}

TEST(Interest, QuarterRowsAndEventRows) {
    InterestCase r;
    r.initial(d(4, 15, 2005), 10000);
    // Two payments on one day end one period; a payment on a quarter end ends none beyond the quarter's.
    for (int i = 0; i < 2; ++i)
        r.ledger.add("Payment", d(8, 1, 2005), d(8, 1, 2005)).paymentAllocatedToTax = usd(100);
    r.ledger.add("Payment", d(9, 30, 2005), d(9, 30, 2005)).paymentAllocatedToTax = usd(100);
    r.run(d(4, 15, 2005), d(11, 15, 2005));
    QList<QDate> ends;
    for (const auto* row : r.interestRows())
        ends << row->date2;
    EXPECT_EQ(ends, QList<QDate>({d(6, 30, 2005), d(8, 1, 2005), d(9, 30, 2005), d(11, 15, 2005)}));
    expectExactCover(r, d(4, 15, 2005), d(11, 15, 2005));
    EXPECT_EQ(r.reporter.progressValues, std::vector<int>({60}));
}

// A payment on the end date, which is no quarter end: the last period ends on the end date once, and the
// payment's amounts still lower the balances.
TEST(Interest, EventOnTheEndDateCountsEachDayOnce) {
    InterestCase r;
    r.initial(d(4, 15, 2005), 10000);
    LedgerRow& p = r.ledger.add("Payment", d(11, 15, 2005), d(11, 15, 2005));
    p.paymentAllocatedToTax = usd(4000);
    p.paymentAllocatedToInterest = usd(50);
    // A monthly failure-to-pay row past the end date stays, without interest after the end date.
    r.ledger.add("Penalty - Failure To Pay", d(11, 16, 2005), d(11, 16, 2005)).failureToPayPenalty = usd(20);
    r.run(d(4, 15, 2005), d(11, 15, 2005));
    expectExactCover(r, d(4, 15, 2005), d(11, 15, 2005));
    ASSERT_EQ(r.interestRows().size(), 3u);
    const LedgerRow& last = r.ledger.rows.back();
    EXPECT_EQ(last.event, "Penalty - Failure To Pay");
    EXPECT_EQ(val(last.unpaidBalance), usd(6020));
    // The payment's part allocated to interest is taken off the interest carried past it.
    Money interest;
    for (const auto* row : r.interestRows())
        interest += val(row->interest);
    EXPECT_EQ(val(last.accruedInterest), interest - usd(50));
}

TEST(Interest, LeapYearsDivideByThreeHundredSixtySix) {
    InterestCase r;
    r.initial(d(3, 31, 2004), 10000);
    r.run(d(3, 31, 2004), d(6, 30, 2004));
    const auto rows = r.interestRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1]->days.value_or(0), 91);
    EXPECT_EQ(*rows[1]->interestFactor, std::pow(1 + 0.07 / 366.0, 91.0) - 1);
}

TEST(Interest, OverpaymentsEarnNegativeInterestAndZeroEarnsNothing) {
    InterestCase r;
    r.initial(d(3, 31, 2005), 0);
    r.ledger.add("Payment", d(5, 1, 2005), d(5, 1, 2005)).paymentAllocatedToTax = usd(1000);
    r.run(d(3, 31, 2005), d(6, 30, 2005));
    const auto rows = r.interestRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(*rows[1]->interestRate, rate(0.07)); // base 0: the underpayment table
    EXPECT_EQ(val(rows[1]->interest), Money());
    EXPECT_EQ(*rows[2]->interestRate, rate(0.06)); // base -1000: the overpayment table
    const qint64 expected = qint64(std::nearbyint(-100000.0 * (std::pow(1 + 0.06 / 365.0, 60.0) - 1)));
    EXPECT_EQ(*rows[2]->interest, Money::fromCents(expected));
    EXPECT_LT(val(rows[2]->interest), Money());
}

TEST(Interest, CorporateOverpaymentRuleFromJanuary1999) {
    for (const bool corporate : {false, true}) {
        InterestCase r;
        r.corporate = corporate;
        r.initial(d(9, 30, 1998), -10000);
        r.run(d(9, 30, 1998), d(3, 31, 1999));
        const auto rows = r.interestRows();
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[1]->date2, d(12, 31, 1998));
        EXPECT_EQ(*rows[1]->interestRate, rate(0.06));
        EXPECT_EQ(*rows[2]->interestRate, corporate ? rate(0.05) : rate(0.06));
    }
    // Underpayments of a corporation are never reduced.
    InterestCase u;
    u.corporate = true;
    u.initial(d(12, 31, 1998), 10000);
    u.run(d(12, 31, 1998), d(3, 31, 1999));
    EXPECT_EQ(*u.interestRows()[1]->interestRate, rate(0.07));
}

TEST(Interest, RateLookUpByThePeriodsLastDay) {
    InterestCase r;
    r.under = RateTable({{d(4, 1, 2005), d(6, 30, 2005), rate(0.06)},
                         {d(7, 1, 2005), d(9, 30, 2005), rate(0.06)},
                         {d(10, 1, 2005), d(12, 31, 2005), rate(0.07)},
                         {d(10, 1, 2005), d(12, 31, 2005), rate(0.07)}}); // a repeated row changes nothing
    r.initial(d(4, 15, 2005), 10000);
    r.run(d(4, 15, 2005), d(12, 31, 2005));
    const auto rows = r.interestRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(*rows[1]->interestRate, rate(0.06));
    EXPECT_EQ(*rows[2]->interestRate, rate(0.07));

    // Two rows with different rates for a day the run needs: the rate would depend on the order of storage.
    InterestCase twice;
    twice.under = RateTable({{d(4, 1, 2005), d(6, 30, 2005), rate(0.06)},
                             {d(7, 1, 2005), d(12, 31, 2005), rate(0.06)},
                             {d(10, 1, 2005), d(12, 31, 2005), rate(0.09)}});
    twice.initial(d(4, 15, 2005), 10000);
    try {
        twice.run(d(4, 15, 2005), d(12, 31, 2005));
        FAIL();
    } catch (const RunStop& s) {
        EXPECT_EQ(s.text(), "The underpayment rate table has two rows with different rates for 12/31/2005: 07/01/2005 "
                            "to 12/31/2005 and 10/01/2005 to 12/31/2005. Delete or correct one of them.");
    }

    InterestCase gap;
    gap.under = RateTable({{d(4, 1, 2005), d(6, 30, 2005), rate(0.06)}});
    gap.initial(d(4, 15, 2005), 10000);
    try {
        gap.run(d(4, 15, 2005), d(12, 31, 2005));
        FAIL();
    } catch (const RunStop& s) {
        EXPECT_EQ(s.text(), "There is a missing interest rate figure in the computation period. The underpayment rate "
                            "table ends on 06/30/2005.");
    }
}

// A payment before the due date lowers the balance but interest still starts at the due date.
TEST(Interest, PaymentBeforeTheDueDate) {
    InterestCase r;
    r.initial(d(4, 15, 2005), 10000);
    r.ledger.add("Payment", d(3, 1, 2005), d(3, 1, 2005)).paymentAllocatedToTax = usd(4000);
    r.run(d(4, 15, 2005), d(6, 30, 2005));
    const auto rows = r.interestRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]->days.value_or(0), 76);
    EXPECT_EQ(val(rows[0]->unpaidBalance), usd(6000));
    EXPECT_EQ(rows[0]->date, d(4, 16, 2005));
}

// IRM 20.2.14, Figure 20.2.14-13, first line: 53,000.00 owed by a corporation from 03/15/2007 to 08/03/2008, with no
// event between, is one balance period across six quarter ends and three changes of rate (8 % to 7 %, 6 % and 5 %).
// The IRS compounds its days without rounding and rounds once: 5,617.29. Rounding each quarter's interest and
// compounding the rounded figures, as the program did, gave 5,617.30.
TEST(Interest, OneRoundingPerBalancePeriod) {
    InterestCase r;
    r.corporate = true;
    r.under = RateTable({{d(1, 1, 2007), d(12, 31, 2007), rate(0.08)},
                         {d(1, 1, 2008), d(3, 31, 2008), rate(0.07)},
                         {d(4, 1, 2008), d(6, 30, 2008), rate(0.06)},
                         {d(7, 1, 2008), d(9, 30, 2008), rate(0.05)}});
    r.initial(d(3, 15, 2007), 53000);
    r.run(d(3, 15, 2007), d(8, 3, 2008));
    const auto rows = r.interestRows();
    ASSERT_EQ(rows.size(), 7u);
    Money total;
    double product = 1;
    qint64 perRow = 0, carried = 5300000; // cents
    for (const auto* row : rows) {
        total += val(row->interest);
        const double growth = 1 + *row->interestFactor;
        product *= growth;
        const qint64 rowCents = qint64(std::nearbyint(double(carried) * (growth - 1)));
        perRow += rowCents;
        carried += rowCents;
        // Each row shows the period's rounded interest at its end less that at its start.
        EXPECT_EQ(val(row->accruedInterest) + val(row->interest),
                  Money::fromCents(qint64(std::nearbyint(5300000 * (product - 1)))));
    }
    EXPECT_EQ(total, usd(5617.29));
    EXPECT_EQ(Money::fromCents(perRow), usd(5617.30));
    EXPECT_EQ(val(rows[4]->accruedInterest), usd(3490.12)); // 03/31/2008, where the rate first changes
}
