#include "PenaltySteps.h"
#include "CalcSupport.h"
#include "RunStop.h"

#include <gtest/gtest.h>

namespace {

// The failure-to-file minimum by year as data/ftf-minimum.csv has it.
const FailureToFileMinimum minimums({{1900, usd(100)},
                                     {2009, usd(135)},
                                     {2016, usd(205)},
                                     {2018, usd(210)},
                                     {2019, usd(215)},
                                     {2020, usd(435)},
                                     {2023, usd(450)},
                                     {2024, usd(485)},
                                     {2025, usd(510)},
                                     {2026, usd(525)}});

struct Case {
    QVariantMap row;
    TaxpayerCase tp;
    EventLedger ledger;
    RecordingReporter reporter;

    explicit Case(QVariantMap r) : row(std::move(r)), tp(taxpayerRow(row)) {
        const QDate org = row.value("Original Due Date Of Return").toDate();
        ledger.add("Initial Balance", org, org).initialBalance = usd(row.value("Initial Balance").toDouble());
    }
    // The penalty steps in the order of the full run.
    PenaltySteps run(bool gather = true) {
        PenaltySteps s(tp, ledger, reporter, minimums);
        s.accuracyRelated();
        s.partialMonth();
        s.failureToPaySchedule();
        s.failureToFileRows();
        s.amounts();
        if (gather) {
            s.gatherFailureToPay();
            s.gatherFailureToFile();
        }
        return s;
    }
    std::vector<const LedgerRow*> rowsOf(const QString& event) const {
        std::vector<const LedgerRow*> out;
        for (const auto& r : ledger.rows)
            if (r.event == event)
                out.push_back(&r);
        return out;
    }
};

QVariantMap base(const QDate& due, const QDate& end) {
    return {{"Original Due Date Of Return", due},
            {"Extended Due Date Of Return", due},
            {"End Date", end},
            {"Initial Balance", 10000.0}};
}

} // namespace

// Worked example: normal rate, due 4/15/2005, end 12/31/2005: the partial month counts, nine months.
TEST(FailureToPay, NineMonthlyRowsAtHalfAPercent) {
    QVariantMap row = base(d(4, 15, 2005), d(12, 31, 2005));
    row["Calculate Failure To Pay Penalty"] = true;
    Case c(row);
    const PenaltySteps s = c.run(false);
    EXPECT_EQ(s.admnth, 1);
    EXPECT_EQ(s.TotFPPenMnths, 9);
    const auto ftp = c.rowsOf("Penalty - Failure To Pay");
    ASSERT_EQ(ftp.size(), 9u);
    EXPECT_EQ(ftp.front()->date, d(4, 16, 2005));
    EXPECT_EQ(ftp.back()->date, d(12, 16, 2005));
    for (const auto* r : ftp)
        EXPECT_EQ(val(r->failureToPayPenalty), usd(50.0));
}

TEST(FailureToPay, TwentyFivePercentLimit) {
    // Sixty months at 0.5 % would be 30 points: the limit leaves fifty months, 25 points.
    QVariantMap row = base(d(4, 15, 2005), d(4, 10, 2010));
    row["Calculate Failure To Pay Penalty"] = true;
    row["Assessment Date For Failure To Pay Penalty"] = d(4, 10, 2010);
    Case c(row);
    PenaltySteps s = c.run(false);
    EXPECT_EQ(s.TotalPenPoints, 25);
    EXPECT_EQ(s.TotFPPenMnths, 50);
    Money total;
    for (const auto* r : c.rowsOf("Penalty - Failure To Pay"))
        total += val(r->failureToPayPenalty);
    EXPECT_EQ(c.rowsOf("Penalty - Failure To Pay").size(), 50u);
    EXPECT_EQ(total, usd(2500));

    // Gathered into one row at the assessment date.
    s.gatherFailureToPay();
    ASSERT_EQ(c.rowsOf("Penalty - Failure To Pay").size(), 1u);
    EXPECT_EQ(c.rowsOf("Penalty - Failure To Pay")[0]->date, d(4, 10, 2010));
    EXPECT_EQ(val(c.rowsOf("Penalty - Failure To Pay")[0]->failureToPayPenalty), usd(2500.0));
}

// Worked example: increased rate with 9 months before the change and 30 after. The limit leaves 20 after it
// (24.5 points), so there are 30 months and the 30th is charged at 0.5 %.
TEST(FailureToPay, IncreasedRateLastMonthAtHalfAPercent) {
    QVariantMap row = base(d(4, 15, 2005), d(7, 10, 2008));
    row["Calculate Failure To Pay Penalty"] = true;
    row["Calculate Increased Failure To Pay Penalty"] = true;
    row["Date To Begin Increased Failure To Pay Penalty"] = d(1, 10, 2006);
    Case c(row);
    const PenaltySteps s = c.run(false);
    EXPECT_EQ(s.TotPenMnthsPreIncrease, 9);
    EXPECT_EQ(s.TotPenMnthsPostIncrease, 20);
    EXPECT_EQ(s.TotalPenPoints, 24.5);
    EXPECT_EQ(s.TotFPPenMnths, 30);
    EXPECT_TRUE(s.LastPenaltyHalfPercent);
    const auto ftp = c.rowsOf("Penalty - Failure To Pay");
    ASSERT_EQ(ftp.size(), 30u);
    for (size_t m = 0; m < ftp.size(); ++m) {
        const Money expected = (m < 9 || m == 29) ? usd(50) : usd(100);
        EXPECT_EQ(val(ftp[m]->failureToPayPenalty), expected) << "month " << m + 1;
    }
}

// A month with no unpaid tax gets no amount and does not count towards the months at a rate.
TEST(FailureToPay, MonthsWithoutUnpaidTaxDoNotCount) {
    QVariantMap row = base(d(4, 15, 2005), d(12, 31, 2005));
    row["Calculate Failure To Pay Penalty"] = true;
    row["Calculate Increased Failure To Pay Penalty"] = true;
    row["Date To Begin Increased Failure To Pay Penalty"] = d(7, 10, 2005);
    Case c(row);
    c.ledger.add("Payment", d(6, 1, 2005), d(6, 1, 2005)).paymentAllocatedToTax = usd(10000.);
    c.ledger.add("Other Charge", d(8, 1, 2005), d(8, 1, 2005)).chargeClassifiedAsTax = usd(10000.);
    const PenaltySteps s = c.run(false);
    EXPECT_EQ(s.TotPenMnthsPreIncrease, 3);
    EXPECT_EQ(s.TotFPPenMnths, 9);
    EXPECT_EQ(s.MnthsCalculated, 7);
    const auto ftp = c.rowsOf("Penalty - Failure To Pay");
    ASSERT_EQ(ftp.size(), 9u);
    const std::vector<std::optional<Money>> expected = {usd(50),  usd(50),  std::nullopt, std::nullopt, usd(50),
                                                        usd(100), usd(100), usd(100),     usd(100)};
    for (size_t m = 0; m < ftp.size(); ++m)
        EXPECT_EQ(ftp[m]->failureToPayPenalty, expected[m]) << "month " << m + 1;
}

TEST(FailureToPay, AssessmentAfterTheEndDateLeavesNoGatheredRow) {
    QVariantMap row = base(d(4, 15, 2005), d(12, 31, 2005));
    row["Calculate Failure To Pay Penalty"] = true;
    row["Assessment Date For Failure To Pay Penalty"] = d(2, 1, 2006);
    Case c(row);
    c.run();
    EXPECT_TRUE(c.rowsOf("Penalty - Failure To Pay").empty());

    // Not later than the end date, with no monthly row before it: a row with total 0.
    row["Assessment Date For Failure To Pay Penalty"] = d(4, 15, 2005);
    Case early(row);
    early.run();
    early.ledger.sort(EventLedger::Order::DateAscEventAsc);
    const auto ftp = early.rowsOf("Penalty - Failure To Pay");
    ASSERT_EQ(ftp.size(), 10u); // nine monthly rows after it stay
    EXPECT_EQ(ftp[0]->date, d(4, 15, 2005));
}

TEST(FailureToPay, BothChangesOnOneDayAreRefused) {
    QVariantMap row = base(d(4, 15, 2005), d(12, 31, 2005));
    row["Calculate Failure To Pay Penalty"] = true;
    row["Calculate Increased Failure To Pay Penalty"] = true;
    row["Calculate Decreased Failure To Pay Penalty"] = true;
    row["Date To Begin Increased Failure To Pay Penalty"] = d(8, 1, 2005);
    Case c(row);
    try {
        c.run();
        FAIL();
    } catch (const RunStop& s) {
        EXPECT_EQ(s.text(), "The 'Date To Begin Decreased Failure To Pay Penalty' is missing.");
    }
    row["Date To Begin Decreased Failure To Pay Penalty"] = d(8, 1, 2005);
    Case same(row);
    try {
        same.run();
        FAIL();
    } catch (const RunStop& s) {
        EXPECT_EQ(s.text(), Messages::sameChangeDates);
    }
}

// Filed 20 days after the extended due date, in the same month: one month at 5 % less that month's failure-to-pay.
TEST(FailureToFile, OneMonthLessThatMonthsFailureToPay) {
    QVariantMap row = base(d(4, 1, 2005), d(12, 31, 2005));
    row["Calculate Failure To Pay Penalty"] = true;
    row["Calculate Failure To File Penalty"] = true;
    row["Date Return Filed"] = d(4, 21, 2005);
    row["Assessment Date For Failure To Pay Penalty"] = d(12, 31, 2005);
    Case c(row);
    const PenaltySteps s = c.run();
    EXPECT_EQ(s.TotPenMnths, 1);
    const auto ftf = c.rowsOf("Penalty - Failure To File");
    ASSERT_EQ(ftf.size(), 1u);
    EXPECT_EQ(ftf[0]->date, d(4, 1, 2005)); // gathered at the extended due date
    EXPECT_EQ(val(ftf[0]->failureToFilePenalty), usd(450.0));
}

// The months of lateness run from the extended due date to the filing date, whatever the End Date: due 04/15/2022,
// filed 08/01/2022, is four months (the filing falls in the fourth), with End Date 12/31/2023 as with 12/15/2023.
TEST(FailureToFile, MonthsDoNotDependOnTheEndDate) {
    for (const QDate& end : {d(12, 31, 2023), d(12, 15, 2023)}) {
        QVariantMap row = base(d(4, 15, 2022), end);
        row["Calculate Failure To Pay Penalty"] = true;
        row["Calculate Failure To File Penalty"] = true;
        row["Date Return Filed"] = d(8, 1, 2022);
        row["Assessment Date For Failure To Pay Penalty"] = end;
        Case c(row);
        const PenaltySteps s = c.run();
        EXPECT_EQ(s.TotPenMnths, 4) << end.toString().toStdString();
        const auto ftf = c.rowsOf("Penalty - Failure To File");
        ASSERT_EQ(ftf.size(), 1u);
        EXPECT_EQ(val(ftf[0]->failureToFilePenalty), usd(1800.0)); // 4 x (500 - 50)
    }
}

// A month ends on the day matching the extended due date, or on the last day of a month without that day.
TEST(FailureToFile, MonthBoundaries) {
    const struct {
        QDate ext, filed;
        int months;
    } cases[] = {
        {d(1, 31, 2022), d(3, 1, 2022), 2},   // 02/01-02/28 is the first month
        {d(1, 31, 2022), d(2, 28, 2022), 1},  // the first month ends on February's last day
        {d(4, 15, 2022), d(8, 15, 2022), 4},  // the fourth month ends on 08/15
        {d(4, 15, 2022), d(8, 16, 2022), 5},  // one day into the fifth
        {d(4, 15, 2022), d(4, 20, 2022), 1},  // same month, days late
        {d(4, 15, 2022), d(4, 15, 2022), 0},  // on time
        {d(10, 17, 2022), d(1, 17, 2023), 3}, // over a year end
    };
    for (const auto& k : cases) {
        QVariantMap row = base(k.ext, d(12, 31, 2023));
        row["Extended Due Date Of Return"] = k.ext;
        row["Calculate Failure To File Penalty"] = true;
        row["Date Return Filed"] = k.filed;
        Case c(row);
        const PenaltySteps s = c.run(false);
        EXPECT_EQ(s.TotPenMnths, k.months)
            << k.ext.toString().toStdString() << " to " << k.filed.toString().toStdString();
    }
}

TEST(FailureToFile, LimitedToFiveMonths) {
    QVariantMap row = base(d(4, 15, 2005), d(12, 31, 2006));
    row["Calculate Failure To File Penalty"] = true;
    row["Date Return Filed"] = d(12, 20, 2005);
    Case c(row);
    const PenaltySteps s = c.run(false);
    EXPECT_EQ(s.TotPenMnths, 5);
    EXPECT_EQ(c.rowsOf("Penalty - Failure To File").size(), 5u);
    for (const auto* r : c.rowsOf("Penalty - Failure To File"))
        EXPECT_EQ(val(r->failureToFilePenalty), usd(500.0)); // 5 % of the tax due at the due date
}

// Filed 61 days late with a failure-to-file total of 80: 100 in the first positive month, no other month.
TEST(FailureToFile, MinimumOfOneHundred) {
    QVariantMap row = base(d(4, 15, 2005), d(7, 10, 2005));
    row["Initial Balance"] = 800.0;
    row["Calculate Failure To File Penalty"] = true;
    row["Date Return Filed"] = d(6, 15, 2005);
    Case c(row);
    const PenaltySteps s = c.run(false);
    EXPECT_EQ(s.DaysOverDue, 61);
    auto ftf = c.rowsOf("Penalty - Failure To File");
    ASSERT_EQ(ftf.size(), 1u);
    EXPECT_EQ(ftf[0]->date, d(4, 16, 2005));
    EXPECT_EQ(val(ftf[0]->failureToFilePenalty), usd(100.0));

    // 60 days late: no minimum.
    row["Date Return Filed"] = d(6, 14, 2005);
    Case onTime(row);
    onTime.run(false);
    EXPECT_EQ(onTime.rowsOf("Penalty - Failure To File").size(), 2u);
}

// The minimum of a return filed more than 60 days late is the lesser of the year's amount (by the extended due
// date's year) and the net amount due.
TEST(FailureToFile, MinimumByYearAndNetAmountDue) {
    const struct {
        const char* what;
        QDate due, filed;
        double owed;
        bool failureToPay;
        double penalty;
    } cases[] = {
        {"2024, 50.00 due: all of it", d(4, 15, 2024), d(7, 15, 2024), 50, false, 50.00},
        {"2024, 1,000.00 due: the year's 485.00", d(4, 15, 2024), d(7, 15, 2024), 1000, true, 485.00},
        {"2005, 300.00 due: 100.00", d(4, 15, 2005), d(6, 25, 2005), 300, false, 100.00},
        {"2024, 60 days: no minimum, two months at 5 % of 1,000.00", d(4, 15, 2024), d(6, 14, 2024), 1000, false,
         100.00},
        {"2024, 60 days, 50.00 due: 2 x 2.50", d(4, 15, 2024), d(6, 14, 2024), 50, false, 5.00},
        {"nothing due: no penalty", d(4, 15, 2024), d(7, 15, 2024), 0, false, 0},
        {"2026: 525.00", d(4, 15, 2026), d(7, 15, 2026), 1000, false, 525.00},
        {"2026, more than the minimum anyway", d(4, 15, 2026), d(10, 15, 2026), 20000, false, 5000.00},
    };
    for (const auto& k : cases) {
        QVariantMap row = base(k.due, d(12, 31, 2026));
        row["Initial Balance"] = k.owed;
        row["Calculate Failure To File Penalty"] = true;
        row["Calculate Failure To Pay Penalty"] = k.failureToPay;
        row["Assessment Date For Failure To Pay Penalty"] = d(12, 31, 2026);
        row["Date Return Filed"] = k.filed;
        Case c(row);
        c.run();
        const auto ftf = c.rowsOf("Penalty - Failure To File");
        ASSERT_EQ(ftf.size(), 1u) << k.what;
        EXPECT_EQ(val(ftf[0]->failureToFilePenalty), usd(k.penalty)) << k.what;
    }
}

// A database without its table of minimums stops the run of a return filed more than 60 days late instead of
// leaving the minimum out; within 60 days the table is not needed.
TEST(FailureToFile, MinimumsMissing) {
    QVariantMap row = base(d(4, 15, 2024), d(12, 31, 2024));
    row["Initial Balance"] = 50;
    row["Calculate Failure To File Penalty"] = true;
    row["Date Return Filed"] = d(7, 15, 2024);
    auto runWithout = [](const QVariantMap& r) {
        Case c(r);
        const FailureToFileMinimum none;
        PenaltySteps s(c.tp, c.ledger, c.reporter, none);
        s.partialMonth();
        s.failureToPaySchedule();
        s.failureToFileRows();
        s.amounts();
    };
    EXPECT_THROW(runWithout(row), RunStop);
    row["Date Return Filed"] = d(6, 14, 2024);
    EXPECT_NO_THROW(runWithout(row));
}

TEST(FailureToFile, NoMonthStillLeavesAGatheredRowOfZero) {
    QVariantMap row = base(d(4, 15, 2005), d(12, 10, 2005));
    row["Calculate Failure To File Penalty"] = true;
    row["Date Return Filed"] = d(4, 15, 2005);
    Case c(row);
    c.run();
    const auto ftf = c.rowsOf("Penalty - Failure To File");
    ASSERT_EQ(ftf.size(), 1u);
    EXPECT_EQ(val(ftf[0]->failureToFilePenalty), usd(0.0));
}

TEST(AccuracyRelated, TwentyPercentAtTheExtendedDueDate) {
    QVariantMap row = base(d(4, 15, 2005), d(12, 31, 2005));
    row["Calculate Accuracy Related Penalty"] = true;
    row["Extended Due Date Of Return"] = d(10, 15, 2005);
    Case missing(row);
    try {
        missing.run();
        FAIL();
    } catch (const RunStop& s) {
        EXPECT_EQ(s.text(), "The 'Accuracy Related Underpayment' is missing.");
    }
    row["Accuracy Related Underpayment"] = 1234.56;
    Case c(row);
    c.run();
    const auto acc = c.rowsOf("Penalty - Accuracy");
    ASSERT_EQ(acc.size(), 1u);
    EXPECT_EQ(acc[0]->date, d(10, 15, 2005));
    EXPECT_EQ(*acc[0]->accuracyRelatedPenalty, usd(246.91)); // 20 % of 1,234.56 is 246.912
}

// Payroll: the failure-to-file base is the tax due by the due date; a deposit without a due date counts in it.
TEST(FailureToFile, PayrollBaseCountsUndatedDeposits) {
    QVariantMap row = base(d(4, 30, 2005), d(12, 31, 2005));
    row["Payroll Tax Situation"] = true;
    row["Initial Balance"] = 0.0;
    row["Calculate Failure To File Penalty"] = true;
    row["Extended Due Date Of Return"] = d(4, 30, 2005);
    row["Date Return Filed"] = d(6, 10, 2005);
    Case c(row);
    c.ledger.rows.clear();
    c.ledger.add("Liability", d(4, 30, 2005), d(4, 30, 2005)).requiredDeposit = usd(1000);
    c.ledger.add("Liability", QDate(), QDate()).requiredDeposit = usd(500);
    c.ledger.add("Liability", d(5, 15, 2005), d(5, 15, 2005)).requiredDeposit = usd(300); // due after: not in the base
    c.run(false);
    const auto ftf = c.rowsOf("Penalty - Failure To File");
    ASSERT_EQ(ftf.size(), 2u);
    for (const auto* r : ftf)
        EXPECT_EQ(val(r->failureToFilePenalty), usd(75.0));
}
