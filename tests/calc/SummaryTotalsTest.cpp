#include "SummaryTotals.h"
#include "CalcSupport.h"

#include <gtest/gtest.h>

// Worked example: tax 10,000.00, interest rows summing to 512.34, a failure-to-pay penalty of 250.00 and one payment
// of 3,000.00 split 2,500.00 / 400.00 / 100.00 give unpaid tax 7,500.00 and a total of 7,762.34.
TEST(SummaryTotals, WorkedExample) {
    EventLedger l;
    l.add("Initial Balance", d(4, 15, 2005), d(4, 15, 2005)).initialBalance = 10000;
    l.add("Interest", d(6, 30, 2005), d(6, 30, 2005)).interest = 300.125f; // exactly half a cent: 300.12, to even
    l.add("Interest", d(9, 30, 2005), d(9, 30, 2005)).interest = 212.22f;
    LedgerRow& p = l.add("Payment", d(10, 1, 2005), d(10, 1, 2005));
    p.paymentAllocatedToTax = 2500;
    p.paymentAllocatedToInterest = 400;
    p.paymentAllocatedToPenalties = 100;
    l.add("Penalty - Failure To Pay", d(12, 31, 2005), d(12, 31, 2005)).failureToPayPenalty = 250;
    l.runningTaxBalance(false);
    const SummaryTotals t = SummaryTotals::of(l);
    EXPECT_EQ(t.TotalInterest, 5123400);
    EXPECT_EQ(val(l.rows[1].interest), double(300.12f)); // written back in whole cents
    EXPECT_EQ(t.TotalFPPenalty, 2500000);
    EXPECT_EQ(t.TotalFFPenalty, 0);
    EXPECT_EQ(t.unpaidTax, 7500);
    EXPECT_EQ(t.TotalPmntAllctdInt, 400);
    EXPECT_EQ(t.TotalPmntAllctdPen, 100);
    EXPECT_EQ(t.TotalBalance, 77623400);
}

TEST(SummaryTotals, PenaltiesAreSummedInWholeCentsAndOverpaymentInterestLowersTheTotal) {
    EventLedger l;
    l.add("Initial Balance", d(4, 15, 2005), d(4, 15, 2005)).initialBalance = 0;
    l.add("Penalty - Failure To Pay", d(5, 1, 2005), d(5, 1, 2005)).failureToPayPenalty = 10.005f;
    l.add("Penalty - Failure To File", d(5, 1, 2005), d(5, 1, 2005)).failureToFilePenalty = 0.5f;
    l.add("Interest", d(6, 30, 2005), d(6, 30, 2005)).interest = -12.34f;
    LedgerRow& c = l.add("Other Charge", d(7, 1, 2005), d(7, 1, 2005));
    c.chargeClassifiedAsPenalty = 20;
    c.chargeUnclassified = 1000; // enters no total
    l.add("Penalty - Late Deposit", d(7, 2, 2005), d(7, 2, 2005)).failureToDepositPenalty = 5;
    l.runningTaxBalance(false);
    const SummaryTotals t = SummaryTotals::of(l);
    EXPECT_EQ(t.TotalFPPenalty, qint64(std::nearbyint(double(10.005f) * 100)) * 100);
    EXPECT_EQ(t.TotalFFPenalty, 5000);
    EXPECT_EQ(t.TotalInterest, -123400);
    EXPECT_EQ(t.otherPenalties, 20);
    EXPECT_EQ(t.TotalFDepositPenalty, 5);
    EXPECT_EQ(t.TotalBalance, t.TotalFPPenalty + 5000 - 123400 + 200000 + 50000);
}
