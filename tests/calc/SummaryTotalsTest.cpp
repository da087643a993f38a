#include "SummaryTotals.h"
#include "CalcSupport.h"

#include <gtest/gtest.h>

// Worked example: tax 10,000.00, interest rows of 300.13 and 212.22 (512.35), a failure-to-pay penalty of 250.00 and
// one payment of 3,000.00 split 2,500.00 / 400.00 / 100.00 give unpaid tax 7,500.00 and a total of
// 10,000.00 − 2,500.00 + 512.35 + 250.00 − 400.00 − 100.00 = 7,762.35.
TEST(SummaryTotals, WorkedExample) {
    EventLedger l;
    l.add("Initial Balance", d(4, 15, 2005), d(4, 15, 2005)).initialBalance = usd(10000);
    l.add("Interest", d(6, 30, 2005), d(6, 30, 2005)).interest = usd(300.13);
    l.add("Interest", d(9, 30, 2005), d(9, 30, 2005)).interest = usd(212.22);
    LedgerRow& p = l.add("Payment", d(10, 1, 2005), d(10, 1, 2005));
    p.paymentAllocatedToTax = usd(2500);
    p.paymentAllocatedToInterest = usd(400);
    p.paymentAllocatedToPenalties = usd(100);
    l.add("Penalty - Failure To Pay", d(12, 31, 2005), d(12, 31, 2005)).failureToPayPenalty = usd(250);
    l.runningTaxBalance(false);
    const SummaryTotals t = SummaryTotals::of(l);
    EXPECT_EQ(t.TotalInterest, usd(512.35));
    EXPECT_EQ(t.TotalFPPenalty, usd(250));
    EXPECT_EQ(t.TotalFFPenalty, Money());
    EXPECT_EQ(t.unpaidTax, usd(7500));
    EXPECT_EQ(t.TotalPmntAllctdInt, usd(400));
    EXPECT_EQ(t.TotalPmntAllctdPen, usd(100));
    EXPECT_EQ(t.TotalBalance, usd(7762.35));
}

// Every total is the exact sum of its kind; overpayment interest lowers the total, and unclassified charges enter no
// total of their own.
TEST(SummaryTotals, EveryTotalIsTheExactSumOfItsKind) {
    EventLedger l;
    l.add("Initial Balance", d(4, 15, 2005), d(4, 15, 2005)).initialBalance = Money();
    l.add("Penalty - Failure To Pay", d(5, 1, 2005), d(5, 1, 2005)).failureToPayPenalty = usd(10.01);
    l.add("Penalty - Failure To File", d(5, 1, 2005), d(5, 1, 2005)).failureToFilePenalty = usd(0.5);
    l.add("Interest", d(6, 30, 2005), d(6, 30, 2005)).interest = usd(-12.34);
    LedgerRow& c = l.add("Other Charge", d(7, 1, 2005), d(7, 1, 2005));
    c.chargeClassifiedAsPenalty = usd(20);
    c.chargeUnclassified = usd(1000); // enters no total
    l.add("Penalty - Late Deposit", d(7, 2, 2005), d(7, 2, 2005)).failureToDepositPenalty = usd(5);
    // Amounts of a corporate case, beyond what single precision held to the cent.
    l.add("Penalty - Failure To Pay", d(8, 1, 2005), d(8, 1, 2005)).failureToPayPenalty = usd(4298405.31);
    l.runningTaxBalance(false);
    const SummaryTotals t = SummaryTotals::of(l);
    EXPECT_EQ(t.TotalFPPenalty, usd(4298415.32));
    EXPECT_EQ(t.TotalFFPenalty, usd(0.5));
    EXPECT_EQ(t.TotalInterest, usd(-12.34));
    EXPECT_EQ(t.otherPenalties, usd(20));
    EXPECT_EQ(t.TotalFDepositPenalty, usd(5));
    EXPECT_EQ(t.TotalBalance, usd(4298415.32 + 0.5 - 12.34 + 20 + 5));
}
