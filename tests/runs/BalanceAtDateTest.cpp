#include "CalcSupport.h"
#include "CalculationRun.h"
#include "CaseReader.h"
#include "DepositCase.h"
#include "MoneyText.h"
#include "RunStop.h"

#include <gtest/gtest.h>

TEST(BalanceText, AsThePaymentFormShowsIt) {
    EXPECT_EQ(balanceText(Money()), ".00");
    EXPECT_EQ(balanceText(usd(0.5)), ".50");
    EXPECT_EQ(balanceText(usd(1234567.88)), "1,234,567.88");
    EXPECT_EQ(balanceText(usd(4298405.31)), "4,298,405.31");
    EXPECT_EQ(balanceText(usd(1000)), "1,000.00");
    EXPECT_EQ(balanceText(usd(-1234.5)), "-1,234.50");
    EXPECT_EQ(balanceText(usd(-0.25)), "-.25");
    EXPECT_EQ(balanceText(usd(1e12)), "1,000,000,000,000.00");
}

namespace {

struct IncomeCase {
    DataDir dir;
    SqliteDatabase db{dir.mainFile()};

    int taxpayer(const QString& name) {
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
                "[Initial Balance]) VALUES(" +
                SqlText::quote(name) + ",#4/15/2005#,#12/31/2005#,10000)");
        return db.query("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
    }
    void payment(int n, const QString& name, const QDate& date, double tax, double interest) {
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],"
                "[Payment Allocated To Tax],[Payment Allocated To Interest]) VALUES(" +
                SqlText::whole(n) + "," + SqlText::quote(name) + ",'Payment'," + SqlText::date(date) + "," +
                SqlText::dbl(tax) + "," + SqlText::dbl(interest) + ")");
    }
    CalculationRun::Balances at(int n, const QDate& date, RecordingReporter& r,
                                RunOutcome expected = RunOutcome::Written) {
        CalculationRun::Balances b;
        CalculationRun run(db, r);
        EXPECT_EQ(run.balanceAt(*CaseReader(db).read(n), date, &b), expected);
        return b;
    }
};

} // namespace

TEST(BalanceAtDate, ThroughThePaymentDateWithEverythingDatedOnIt) {
    IncomeCase c;
    const int n = c.taxpayer("Smith");
    RecordingReporter r;
    c.at(n, QDate(2005, 9, 30), r, RunOutcome::Stopped);
    EXPECT_EQ(r.messages, QStringList{Messages::noPayment});

    // A payment on a quarter end: the quarter's interest row and the payment itself are included.
    c.payment(n, "Smith", QDate(2005, 9, 30), 1000, 100);
    RecordingReporter ok;
    const auto b = c.at(n, QDate(2005, 9, 30), ok);
    EXPECT_TRUE(ok.messages.isEmpty());
    EXPECT_TRUE(ok.progressValues.empty()) << "the balance calculation drives no progress bar";
    EXPECT_EQ(b.tax, usd(9000));
    EXPECT_EQ(b.penalties, Money());
    // The second and third quarters are one balance period, up to the payment: 76 and 92 days at 6 %, rounded once.
    const qint64 interest =
        qint64(std::nearbyint(1000000 * (std::pow(1 + 0.06 / 365, 76) * std::pow(1 + 0.06 / 365, 92) - 1)));
    EXPECT_EQ(b.interest, Money::fromCents(interest - 10000));

    // After the end date: every row, the balances at the end date.
    const auto end = c.at(n, QDate(2007, 1, 1), ok);
    const auto atEnd = c.at(n, QDate(2005, 12, 31), ok);
    EXPECT_EQ(end.tax, atEnd.tax);
    EXPECT_EQ(end.interest, atEnd.interest);
    EXPECT_GT(end.interest, b.interest);

    // Before the calculation's first event: a clear message, no balances.
    RecordingReporter early;
    c.at(n, QDate(2005, 1, 1), early, RunOutcome::Stopped);
    ASSERT_EQ(early.messages.size(), 1);
    EXPECT_TRUE(early.messages[0].startsWith("There is no balance on 01/01/2005")) << early.messages[0].toStdString();
}

// Two taxpayers of the same name keep their own payments.
TEST(BalanceAtDate, TaxpayersWithTheSameNameDoNotMix) {
    IncomeCase c;
    const int first = c.taxpayer("Jones");
    const int second = c.taxpayer("Jones");
    c.payment(first, "Jones", QDate(2005, 6, 1), 2000, 0);
    c.payment(second, "Jones", QDate(2005, 6, 1), 7000, 0);
    RecordingReporter r;
    EXPECT_EQ(c.at(first, QDate(2005, 6, 1), r).tax, usd(8000));
    EXPECT_EQ(c.at(second, QDate(2005, 6, 1), r).tax, usd(3000));
}

TEST(BalanceAtDate, PayrollCaseWithoutDepositsAndTheDecreasedRate) {
    PayrollCase p;
    p.payment(QDate(2005, 5, 1), 100, QDate(2005, 4, 15));
    RecordingReporter r;
    CalculationRun::Balances b;
    EXPECT_EQ(CalculationRun(p.db, r).balanceAt(p.taxpayer(), QDate(2005, 5, 1), &b), RunOutcome::Notice);
    EXPECT_EQ(r.notices, QStringList{"You must enter at least one required payroll tax deposit."});

    // The decreased failure-to-pay rate is not applied, nor is its date checked.
    IncomeCase c;
    const int n = c.taxpayer("Decrease");
    c.db.exec("UPDATE [Basic Taxpayer Data] SET [Calculate Failure To Pay Penalty]=1,"
              "[Calculate Decreased Failure To Pay Penalty]=1,[Assessment Date For Failure To Pay Penalty]=#6/1/2005#");
    c.payment(n, "Decrease", QDate(2005, 6, 1), 0, 0);
    RecordingReporter d;
    const auto balances = c.at(n, QDate(2005, 6, 1), d);
    EXPECT_TRUE(d.messages.isEmpty()) << d.messages.join("|").toStdString();
    EXPECT_EQ(balances.penalties, usd(100)); // 4/16 and 5/16 at 0.5 % of 10,000
}
