#include "DepositReportRun.h"
#include "CalcSupport.h"
#include "DepositCase.h"
#include "DepositPenalty.h"
#include "RunStop.h"

#include <gtest/gtest.h>

TEST(DepositReportRun, WritesEveryRowWithItsNineColumns) {
    PayrollCase p;
    RecordingReporter r;
    const QDate due(2005, 2, 15);
    p.deposit(due, 123456.78);
    p.payment(due.addDays(20), 123456.78, due);
    p.deposit(QDate(2005, 3, 15), 1234567.89);
    p.deposit(QDate(2005, 4, 15), 9999.99);
    p.payment(QDate(2005, 4, 15), 9999.99, QDate(2005, 4, 15));
    DepositReportRun run(p.db, r);
    ASSERT_EQ(run.run(p.taxpayer()), RunOutcome::Written);
    EXPECT_EQ(r.progressValues, std::vector<int>({20, 40, 60, 80, 100}));
    EXPECT_EQ(r.messages, QStringList{DepositMessages::fewerPayments});
    EXPECT_EQ(dumpTable(p.dir.mainFile(), "Event Table"),
              // Date, Date2, Event, Unpaid Balance, Accrued Interest, Interest Rate, Days, Interest Factor, Interest,
              // Failure To File, Failure To Pay, Tax, Number, Required Deposit, Amount Of Payment, Days Overdue,
              // Penalty Percentage, Penalty, Due Date Of Liability
              "2005-02-15|NULL|Liability|0|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|1|123456.78|0|0|0|0|NULL\n"
              "2005-03-07|NULL|Payment|0|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|1|0|123456.78|20|0.1|12345.68|NULL\n"
              "2005-04-15|NULL|Liability|0|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|3|9999.99|0|0|0|0|NULL\n"
              "2005-04-15|NULL|Payment|0|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|3|0|9999.99|0|0|0|NULL\n");

    // Three rows: the same interval.
    PayrollCase three;
    RecordingReporter r3;
    three.deposit(due, 1000);
    three.payment(due.addDays(3), 600, due);
    three.payment(due.addDays(4), 400, due);
    EXPECT_EQ(DepositReportRun(three.db, r3).run(three.taxpayer()), RunOutcome::Written);
}

TEST(DepositReportRun, WithoutDepositsOnlyTheNotice) {
    PayrollCase p;
    RecordingReporter first;
    p.deposit(QDate(2005, 2, 15), 10);
    p.payment(QDate(2005, 2, 15), 10, QDate(2005, 2, 15));
    ASSERT_EQ(DepositReportRun(p.db, first).run(p.taxpayer()), RunOutcome::Written);
    const QString before = dumpTable(p.dir.mainFile(), "Event Table");

    p.db.exec("DELETE * FROM [Required Payroll Tax Deposits]");
    RecordingReporter r;
    EXPECT_EQ(DepositReportRun(p.db, r).run(p.taxpayer()), RunOutcome::Notice);
    EXPECT_EQ(r.notices, QStringList{Messages::noDeposits});
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(dumpTable(p.dir.mainFile(), "Event Table"), before);

    // Deposits that no payment names: the table is emptied and the report opens empty.
    p.deposit(QDate(2005, 2, 15), 10);
    p.db.exec("DELETE * FROM [Payment Table]");
    RecordingReporter empty;
    EXPECT_EQ(DepositReportRun(p.db, empty).run(p.taxpayer()), RunOutcome::Written);
    EXPECT_EQ(dumpTable(p.dir.mainFile(), "Event Table"), "");
}

TEST(DepositReportRun, MissingDatesAreNamed) {
    PayrollCase p;
    p.db.exec("UPDATE [Basic Taxpayer Data] SET [Start Date]=NULL");
    RecordingReporter r;
    EXPECT_EQ(DepositReportRun(p.db, r).run(p.taxpayer()), RunOutcome::Stopped);
    EXPECT_EQ(r.messages, QStringList{"The 'Quarter Start Date' is missing."});
    EXPECT_FALSE(r.visible);
}
