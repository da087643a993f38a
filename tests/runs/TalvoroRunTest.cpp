#include "SqliteDatabase.h"
#include "TestSupport.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Result {
    int exitCode;
    QString out;
    QString err;
};

Result talvoroRun(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// An income-tax return filed late: accuracy-related, failure-to-pay and failure-to-file penalties, a payment split
// three ways, an additional charge, and a rate change from 6 % to 7 % on 10/1/2005.
void incomeTaxCase(const QString& file) {
    SqliteDatabase db(file);
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],"
            "[Extended Due Date Of Return],[Date Return Filed],[End Date],[Initial Balance],"
            "[Calculate Failure To File Penalty],[Calculate Failure To Pay Penalty],"
            "[Assessment Date For Failure To Pay Penalty],[Calculate Accuracy Related Penalty],"
            "[Accuracy Related Underpayment]) VALUES('O''Neil Ltd',#4/15/2005#,#8/15/2005#,#10/20/2005#,#12/31/2005#,"
            "10000,1,1,#12/31/2005#,1,2000)");
    db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],"
            "[Amount Of Payment],[Payment Allocated To Tax],[Payment Allocated To Penalties],"
            "[Payment Allocated To Interest]) VALUES(1,'O''Neil Ltd','Payment',#7/10/2005#,1000,600,300,100)");
    db.exec("INSERT INTO [Additional Charges]([Taxpayer Number],[Taxpayer Name],[Event],[Description],"
            "[Date Liability Incurred],[Date Interest Starts],[Total Amount of Charge],[Charge Classified As Tax],"
            "[Charge Classified As Penalty],[Charge Unclassified]) VALUES(1,'O''Neil Ltd','Other Charge','Notice',"
            "#8/20/2005#,#9/1/2005#,575,500,50,25)");
}

// Interest of a period worked out by hand: daily compounding at rate/365 over the days, in whole cents.
double interest(double base, double rate, int days) {
    return std::nearbyint(double(float(base)) * (std::pow(1 + rate / 365.0, days) - 1) * 100) / 100;
}

struct Row {
    QString from, to, event;
    double unpaid, accrued, rate;
    int days;
    double interest;
};

} // namespace

TEST(TalvoroRun, IncomeTaxCaseRowByRow) {
    DataDir dir;
    incomeTaxCase(dir.mainFile());
    const Result r = talvoroRun({"--data-dir", dir.newpath(), "--taxpayer", "1", "--report", "interest"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "Timer7 500\n");

    // Penalties: accuracy 20 % of 2,000; failure to file 5 % of 10,000 less each month's failure-to-pay
    // (453 + 450.50 + 450.50); failure to pay 0.5 % a month of the unpaid tax: 3 x 50 + 2 x 47 + 4 x 49.50.
    const double i1 = interest(10000, 0.06, 76);
    const double i2 = interest(10000 + i1, 0.06, 10);
    const double a5 = i1 + i2 - 100;
    const double i3 = interest(9100 + a5, 0.06, 36);
    const double a8 = a5 + i3;
    const double i4 = interest(10854 + a8, 0.06, 17);
    const double a10 = a8 + i4;
    const double i5 = interest(11429 + a10, 0.06, 29);
    const double a11 = a10 + i5;
    const double i6 = interest(11429 + a11, 0.07, 92);
    const std::vector<Row> expected = {
        {"2005-04-15", "2005-04-15", "Initial Balance", 10000, 0, 0, 0, 0},
        {"2005-04-16", "2005-06-30", "Interest", 10000, 0, 0.06, 76, i1},
        {"2005-07-01", "2005-07-10", "Interest", 10000, i1, 0.06, 10, i2},
        {"2005-07-10", "2005-07-10", "Payment", 9100, i1 + i2, 0, 0, 0},
        {"2005-07-11", "2005-08-15", "Interest", 9100, a5, 0.06, 36, i3},
        {"2005-08-15", "2005-08-15", "Penalty - Accuracy", 9500, a8, 0, 0, 0},
        {"2005-08-15", "2005-08-15", "Penalty - Failure To File", 10854, a8, 0, 0, 0},
        {"2005-08-16", "2005-09-01", "Interest", 10854, a8, 0.06, 17, i4},
        {"2005-09-01", "2005-09-01", "Other Charge", 11429, a10, 0, 0, 0},
        {"2005-09-02", "2005-09-30", "Interest", 11429, a10, 0.06, 29, i5},
        {"2005-10-01", "2005-12-31", "Interest", 11429, a11, 0.07, 92, i6},
        {"2005-12-31", "2005-12-31", "Penalty - Failure To Pay", 11871, a11 + i6, 0, 0, 0},
    };
    SqliteDatabase db(dir.mainFile(), SqliteDatabase::Mode::ReadOnly);
    const RecordSet rows = db.queryNative("SELECT * FROM [Event Table] ORDER BY rowid");
    ASSERT_EQ(rows.size(), int(expected.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const Row& e = expected[size_t(i)];
        SCOPED_TRACE(QStringLiteral("row %1 %2").arg(i + 1).arg(e.event).toStdString());
        EXPECT_EQ(rows.value(i, "Date").toDate().toString(Qt::ISODate), e.from);
        EXPECT_EQ(rows.value(i, "Date2").toDate().toString(Qt::ISODate), e.to);
        EXPECT_EQ(rows.value(i, "Event").toString(), e.event);
        EXPECT_EQ(rows.value(i, "Unpaid Balance").toDouble(), e.unpaid);
        EXPECT_NEAR(rows.value(i, "Accrued Interest").toDouble(), e.accrued, 0.001);
        EXPECT_EQ(rows.value(i, "Interest Rate").toDouble(), e.rate);
        EXPECT_EQ(rows.value(i, "Days").toInt(), e.days);
        EXPECT_NEAR(rows.value(i, "Interest").toDouble(), e.interest, 1e-9);
    }

    // The same case's summary.
    const Result s = talvoroRun({"--data-dir", dir.newpath(), "--taxpayer", "1", "--report", "summary"});
    EXPECT_EQ(s.exitCode, 0) << s.err.toStdString();
    EXPECT_EQ(s.out, "Timer5 500\n");
    const RecordSet sum = db.query("select * from [Summary Table]");
    ASSERT_EQ(sum.size(), 1);
    const double totalInterest = i1 + i2 + i3 + i4 + i5 + i6;
    EXPECT_NEAR(sum.value(0, "TotalInterest").toDouble(), totalInterest, 1e-9);
    EXPECT_EQ(sum.value(0, "FailureToPayPenalty").toDouble(), 442);
    EXPECT_EQ(sum.value(0, "FailureToFilePenalty").toDouble(), 1354);
    EXPECT_EQ(sum.value(0, "TotalAccPenalty").toDouble(), 400);
    EXPECT_EQ(sum.value(0, "UnpaidTax").toDouble(), 9900);
    EXPECT_EQ(sum.value(0, "PmntsAppToInterest").toDouble(), 100);
    EXPECT_EQ(sum.value(0, "PmntsAppToPenalty").toDouble(), 300);
    EXPECT_EQ(sum.value(0, "OtherPenalties").toDouble(), 50);
    EXPECT_EQ(sum.value(0, "TotalFDepositPenalty").toDouble(), 0);
    EXPECT_NEAR(sum.value(0, "Total").toDouble(), totalInterest + 442 + 1354 + 9900 + 50 + 400 - 100 - 300, 1e-9);
    // The summary run leaves the interest report's rows.
    EXPECT_EQ(db.query("select * from [Event Table]").size(), 12);
}

TEST(TalvoroRun, IncomeTaxCasePenaltyReportMonthByMonth) {
    DataDir dir;
    incomeTaxCase(dir.mainFile());
    const Result r = talvoroRun({"--data-dir", dir.newpath(), "--taxpayer", "1", "--report", "penalty"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Timer1 500\n");
    SqliteDatabase db(dir.mainFile(), SqliteDatabase::Mode::ReadOnly);
    const RecordSet rows = db.queryNative("SELECT * FROM [Event Table] ORDER BY rowid");
    QStringList got;
    for (int i = 0; i < rows.size(); ++i)
        got << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(rows.value(i, "Date").toDate().toString(Qt::ISODate), rows.value(i, "Event").toString())
                   .arg(rows.value(i, "Failure To File Penalty").toDouble())
                   .arg(rows.value(i, "Failure To Pay Penalty").toDouble())
                   .arg(rows.value(i, "Tax").toDouble());
    EXPECT_EQ(got, QStringList({
                       "2005-04-15 Initial Balance 0 0 10000",
                       "2005-04-16 Penalty - Failure To Pay 0 50 10000",
                       "2005-05-16 Penalty - Failure To Pay 0 50 10000",
                       "2005-06-16 Penalty - Failure To Pay 0 50 10000",
                       "2005-07-10 Payment 0 0 9400",
                       "2005-07-16 Penalty - Failure To Pay 0 47 9400",
                       "2005-08-16 Penalty - Failure To Pay 0 47 9400",
                       "2005-08-16 Penalty - Failure To File 453 0 9400",
                       "2005-09-01 Other Charge 0 0 9900",
                       "2005-09-16 Penalty - Failure To Pay 0 49.5 9900",
                       "2005-09-16 Penalty - Failure To File 450.5 0 9900",
                       "2005-10-16 Penalty - Failure To Pay 0 49.5 9900",
                       "2005-10-16 Penalty - Failure To File 450.5 0 9900",
                       "2005-11-16 Penalty - Failure To Pay 0 49.5 9900",
                       "2005-12-16 Penalty - Failure To Pay 0 49.5 9900",
                   }));
}

TEST(TalvoroRun, ExitStatusAndMessages) {
    DataDir dir;
    {
        SqliteDatabase db(dir.mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[End Date]) VALUES('No due date',#12/31/2005#)");
    }
    Result r = talvoroRun({"--data-dir", dir.newpath(), "--taxpayer", "1", "--report", "interest"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "The 'Original Due Date Of Return' is missing.\n");
    EXPECT_EQ(r.out, "");

    r = talvoroRun({"--data-dir", dir.newpath(), "--taxpayer", "7", "--report", "interest"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("no taxpayer number 7")) << r.err.toStdString();
    r = talvoroRun({"--data-dir", dir.newpath(), "--taxpayer", "1", "--report", "weekly"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("unknown report")) << r.err.toStdString();
    r = talvoroRun({"--data-dir", dir.newpath(), "--taxpayer", "x1", "--report", "interest"});
    EXPECT_EQ(r.exitCode, 2);
    r = talvoroRun({"--data-dir", dir.path("missing"), "--taxpayer", "1", "--report", "interest"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("does not exist")) << r.err.toStdString();
}

// A payroll-tax quarter: three deposits, one paid on time, one 10 days late, one 16 days late; the late-deposit
// penalties are assessed on 6/1/2005.
TEST(TalvoroRun, PayrollQuarterEndToEnd) {
    DataDir dir;
    {
        SqliteDatabase db(dir.mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Start Date],[Original Due Date Of Return],"
                "[End Date],[Payroll Tax Situation]) VALUES('Payroll Co',#1/1/2005#,#4/30/2005#,#12/31/2005#,1)");
        for (const char* deposit : {"#2/15/2005#,1000", "#3/15/2005#,2000", "#4/15/2005#,1500"})
            db.exec(QStringLiteral("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],"
                                   "[Deposit Due Date],[Required Deposit],[Assessment Date]) VALUES(1,'Liability',%1,"
                                   "#6/1/2005#)")
                        .arg(deposit));
        for (const char* payment : {"#2/15/2005#,1000,0,#2/15/2005#", "#3/25/2005#,2000,0,#3/15/2005#",
                                    "#5/1/2005#,1500,0,#4/15/2005#", "#8/15/2005#,0,50,#4/15/2005#"})
            db.exec(QStringLiteral("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],"
                                   "[Payment Allocated To Tax],[Payment Allocated To Penalties],"
                                   "[Due Date Of Liability]) VALUES(1,'Payment',%1)")
                        .arg(payment));
    }
    const QStringList base = {"--data-dir", dir.newpath(), "--taxpayer", "1"};
    SqliteDatabase db(dir.mainFile(), SqliteDatabase::Mode::ReadOnly);

    Result r = talvoroRun(base + QStringList{"--report", "deposit"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Timer6 500\n");
    RecordSet rows = db.queryNative("SELECT * FROM [Event Table] ORDER BY rowid");
    QStringList got;
    for (int i = 0; i < rows.size(); ++i)
        got << QStringLiteral("#%1 %2 %3 days %4 pct %5 penalty %6")
                   .arg(rows.value(i, "Required Deposit Number").toInt())
                   .arg(rows.value(i, "Event").toString(), rows.value(i, "Date").toDate().toString(Qt::ISODate))
                   .arg(rows.value(i, "Days Overdue").toInt())
                   .arg(rows.value(i, "Penalty Percentage").toDouble())
                   .arg(rows.value(i, "Penalty").toDouble());
    EXPECT_EQ(
        got,
        QStringList(
            {"#1 Liability 2005-02-15 days 0 pct 0 penalty 0", "#1 Payment 2005-02-15 days 0 pct 0 penalty 0",
             "#2 Liability 2005-03-15 days 0 pct 0 penalty 0", "#2 Payment 2005-03-25 days 10 pct 0.05 penalty 100",
             "#3 Liability 2005-04-15 days 0 pct 0 penalty 0", "#3 Payment 2005-05-01 days 16 pct 0.1 penalty 150",
             "#3 Payment 2005-08-15 days 122 pct 0.1 penalty 0"}));

    // The interest run: the two penalties are events at their assessment date and bear interest from there.
    r = talvoroRun(base + QStringList{"--report", "interest"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    rows = db.queryNative("SELECT * FROM [Event Table] ORDER BY rowid");
    QStringList late;
    int after = -1;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows.value(i, "Event").toString() == "Penalty - Late Deposit") {
            late << rows.value(i, "Date").toDate().toString(Qt::ISODate);
            after = i + 1;
        }
    }
    EXPECT_EQ(late, QStringList({"2005-06-01", "2005-06-01"}));
    ASSERT_GT(after, 0);
    EXPECT_EQ(rows.value(after, "Event").toString(), "Interest");
    EXPECT_EQ(rows.value(after, "Date").toDate(), QDate(2005, 6, 2));
    EXPECT_EQ(rows.value(after, "Date2").toDate(), QDate(2005, 6, 30));
    EXPECT_EQ(rows.value(after, "Unpaid Balance").toDouble(), 250);
    EXPECT_GT(rows.value(after, "Interest").toDouble(), 0);

    // The balances on the 8/15/2005 payment: no tax, the penalties less the 50 paid, the interest so far.
    r = talvoroRun(base + QStringList{"--balance-at", "08/15/2005"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const double i1 = interest(1500, 0.06, 1);                // 4/30 to 5/1 on the last deposit
    const double i2 = interest(0 + i1, 0.06, 31);             // 5/2 to 6/1: nothing but the interest itself
    const double i3 = interest(250 + i1 + i2, 0.06, 29);      // 6/2 to 6/30 on the penalties
    const double i4 = interest(250 + i1 + i2 + i3, 0.06, 46); // 7/1 to 8/15
    EXPECT_EQ(r.out, QStringLiteral("Tax Due: .00\nInterest Due: %1\nPenalties Due: 200.00\n")
                         .arg(QString::number(i1 + i2 + i3 + i4, 'f', 2)));
}
