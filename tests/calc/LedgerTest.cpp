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
    l.add("Other Charge", d(9, 1, 2005), d(9, 1, 2005)).chargeClassifiedAsTax = 50.f;
    l.rows.back().chargeClassifiedAsPenalty = 20.f; // penalties, interest and unclassified charges do not count
    l.rows.back().chargeUnclassified = 5.f;
    auto& p = l.add("Payment", d(7, 10, 2005), d(7, 10, 2005));
    p.paymentAllocatedToTax = 300.f;
    p.paymentAllocatedToInterest = 40.f;
    l.add("Initial Balance", d(4, 15, 2005), d(4, 15, 2005)).initialBalance = 1000.f;
    l.add("Interest", d(6, 30, 2005), d(6, 30, 2005)).interest = 12.f;
    l.runningTaxBalance();
    ASSERT_EQ(events(l), QStringList({"Initial Balance", "Interest", "Payment", "Other Charge"}));
    EXPECT_EQ(val(l.rows[0].tax), 1000);
    EXPECT_EQ(val(l.rows[1].tax), 1000);
    EXPECT_EQ(val(l.rows[2].tax), 700);
    EXPECT_EQ(val(l.rows[3].tax), 750);
}
