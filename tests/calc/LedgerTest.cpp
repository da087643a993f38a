#include "CalcSupport.h"
#include "EventLedger.h"

#include <gtest/gtest.h>

namespace {

QStringList events(const EventLedger& l) {
    QStringList out;
    for (const auto& r : l.rows)
        out << r.event;
    return out;
}

} // namespace

TEST(EventLedger, SortOrdersOnOneDate) {
    EventLedger l;
    const QDate day = d(7, 10, 2005);
    for (const char* e :
         {"Penalty - Failure To Pay", "Payment", "Interest", "Penalty - Failure To File", "Initial Balance",
          "Liability", "Other Charge", "Penalty - Accuracy", "Penalty - Late Deposit"})
        l.add(e, day, day);
    l.add("Payment", d(7, 9, 2005), d(7, 9, 2005));
    l.sort(EventLedger::Order::DateAscEventAsc);
    EXPECT_EQ(events(l), QStringList({"Payment", "Initial Balance", "Interest", "Liability", "Other Charge", "Payment",
                                      "Penalty - Accuracy", "Penalty - Failure To File", "Penalty - Failure To Pay",
                                      "Penalty - Late Deposit"}));
    l.sort(EventLedger::Order::DateAscEventDesc);
    EXPECT_EQ(l.rows[1].event, "Penalty - Late Deposit");
    EXPECT_EQ(l.rows[2].event, "Penalty - Failure To Pay");
    EXPECT_EQ(l.rows[3].event, "Penalty - Failure To File");

    // Deleted rows sort last, whatever their date.
    l.rows[0].deleteFlag = true;
    l.sort(EventLedger::Order::DeleteAscDateAscEventAsc);
    EXPECT_TRUE(l.rows.back().isDeleted());
    l.removeDeleted();
    EXPECT_EQ(l.size(), 9);
}

TEST(EventLedger, RunningTaxBalance) {
    EventLedger l;
    l.add("Other Charge", d(9, 1, 2005), d(9, 1, 2005)).chargeClassifiedAsTax = usd(50);
    l.rows.back().chargeClassifiedAsPenalty = usd(20); // penalties, interest and unclassified charges do not count
    l.rows.back().chargeUnclassified = usd(5);
    auto& p = l.add("Payment", d(7, 10, 2005), d(7, 10, 2005));
    p.paymentAllocatedToTax = usd(300);
    p.paymentAllocatedToInterest = usd(40);
    l.add("Initial Balance", d(4, 15, 2005), d(4, 15, 2005)).initialBalance = usd(1000);
    l.add("Interest", d(6, 30, 2005), d(6, 30, 2005)).interest = usd(12);
    l.runningTaxBalance();
    ASSERT_EQ(events(l), QStringList({"Initial Balance", "Interest", "Payment", "Other Charge"}));
    EXPECT_EQ(val(l.rows[0].tax), usd(1000));
    EXPECT_EQ(val(l.rows[1].tax), usd(1000));
    EXPECT_EQ(val(l.rows[2].tax), usd(700));
    EXPECT_EQ(val(l.rows[3].tax), usd(750));
}
