#include "CalculationRun.h"
#include "CalcSupport.h"
#include "CaseReader.h"
#include "RateTable.h"
#include "Rounding.h"
#include "RunStop.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct Store {
    DataDir dir;
    SqliteDatabase db{dir.mainFile()};
    RecordingReporter reporter;

    int addTaxpayer(const QString& columns, const QString& values) {
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]," + columns + ") VALUES('Case'," + values + ")");
        return db.query("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
    }
    void addPayment(int n, const QDate& date, double toTax) {
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax]) "
                "VALUES(" +
                SqlText::whole(n) + ",'Payment'," + SqlText::date(date) + "," + SqlText::dbl(toTax) + ")");
    }
    TaxpayerCase taxpayer(int n) { return *CaseReader(db).read(n); }
    int rows(const QString& table) { return db.query("select * from [" + table + "]").size(); }
};

} // namespace

// A missing value is said once and ends the run; the previous result stays whole.
TEST(CalculationRun, AMissingValueShowsOneMessageAndWritesNothing) {
    Store s;
    const int good =
        s.addTaxpayer("[Original Due Date Of Return],[End Date],[Initial Balance]", "#4/15/2005#,#12/31/2005#,1000");
    CalculationRun run(s.db, s.reporter);
    ASSERT_EQ(run.interestReport(s.taxpayer(good), CalculationRun::interestCode), CalculationRun::Outcome::Written);
    const QString before = dumpTable(s.dir.mainFile(), "Event Table");
    ASSERT_FALSE(before.isEmpty());

    const struct {
        QString columns, values, message;
    } cases[] = {
        {"[End Date]", "#12/31/2005#", "The 'Original Due Date Of Return' is missing."},
        {"[Original Due Date Of Return],[Initial Balance]", "#4/15/2005#,1", "The 'End Date' is missing."},
        {"[Original Due Date Of Return],[End Date]", "#4/15/2005#,#12/31/2005#", "The 'Initial Balance' is missing."},
        {"[Original Due Date Of Return],[End Date],[Payroll Tax Situation]", "#4/15/2005#,#12/31/2005#,1",
         "The 'Quarter Start Date' is missing."},
        {"[Original Due Date Of Return],[End Date],[Initial Balance],[Calculate Failure To Pay Penalty]",
         "#4/15/2005#,#12/31/2005#,1,1", "The 'Assessment Date For Failure To Pay Penalty' is missing."},
    };
    for (const auto& c : cases) {
        RecordingReporter reporter;
        CalculationRun failing(s.db, reporter);
        const int n = s.addTaxpayer(c.columns, c.values);
        EXPECT_EQ(failing.interestReport(s.taxpayer(n), CalculationRun::interestCode),
                  CalculationRun::Outcome::Stopped);
        EXPECT_EQ(reporter.messages, QStringList{c.message});
        EXPECT_FALSE(reporter.visible);
        EXPECT_EQ(reporter.progressValues.back(), 0);
        EXPECT_EQ(dumpTable(s.dir.mainFile(), "Event Table"), before);
    }

    // The penalty report run asks for the filing date even with both penalties off.
    RecordingReporter reporter;
    CalculationRun penalty(s.db, reporter);
    EXPECT_EQ(penalty.penaltyReport(s.taxpayer(good)), CalculationRun::Outcome::Stopped);
    EXPECT_EQ(reporter.messages, QStringList{"The 'Date Return Filed' is missing."});
}

TEST(CalculationRun, PayrollCaseWithoutDepositsGetsTheNoticeOnly) {
    Store s;
    const int n = s.addTaxpayer("[Original Due Date Of Return],[Start Date],[End Date],[Payroll Tax Situation],"
                                "[Date Return Filed]",
                                "#4/30/2005#,#1/1/2005#,#12/31/2005#,1,#4/30/2005#");
    for (int code : {CalculationRun::interestCode, CalculationRun::summaryCode}) {
        RecordingReporter reporter;
        CalculationRun run(s.db, reporter);
        EXPECT_EQ(run.interestReport(s.taxpayer(n), code), CalculationRun::Outcome::Notice);
        EXPECT_EQ(reporter.notices, QStringList{Messages::noDeposits});
        EXPECT_TRUE(reporter.messages.isEmpty());
        EXPECT_FALSE(reporter.visible);
    }
    CalculationRun penalty(s.db, s.reporter);
    EXPECT_EQ(penalty.penaltyReport(s.taxpayer(n)), CalculationRun::Outcome::Notice);
}

// A run writes every row of its result, however many, and drives the progress bar through its stages.
TEST(CalculationRun, EveryRowIsWritten) {
    Store s;
    const int n = s.addTaxpayer("[Original Due Date Of Return],[End Date],[Initial Balance],[Date Return Filed]",
                                "#3/31/2005#,#6/30/2005#,10000,#3/31/2005#");
    // Ten rows. The initial balance and two quarter rows, three payments each ending a period, one on the
    // quarter end.
    for (int day = 1; day <= 3; ++day)
        s.addPayment(n, d(4, day, 2005), 10);
    s.addPayment(n, d(6, 30, 2005), 10);
    {
        CalculationRun ten(s.db, s.reporter);
        ASSERT_EQ(ten.interestReport(s.taxpayer(n), CalculationRun::interestCode), CalculationRun::Outcome::Written);
        s.reporter.progressValues.clear();
        s.db.exec("DELETE * FROM [Payment Table]");
    }
    // Initial balance and two quarter rows, 18 payments each ending a period, one on the quarter end: 40 rows.
    for (int day = 1; day <= 18; ++day)
        s.addPayment(n, d(4, day, 2005), 10);
    s.addPayment(n, d(6, 30, 2005), 10);
    CalculationRun run(s.db, s.reporter);
    ASSERT_EQ(run.interestReport(s.taxpayer(n), CalculationRun::interestCode), CalculationRun::Outcome::Written);
    EXPECT_EQ(s.rows("Event Table"), 40);
    EXPECT_EQ(s.reporter.progressValues, std::vector<int>({40, 60, 80, 100}));
    EXPECT_TRUE(s.reporter.visible);

    // The penalty report: the initial balance and 19 payments, no interest rows.
    ASSERT_EQ(run.penaltyReport(s.taxpayer(n)), CalculationRun::Outcome::Written);
    EXPECT_EQ(s.rows("Event Table"), 20);
    for (int day = 19; day <= 23; ++day)
        s.addPayment(n, d(4, day, 2005), 10);
    run.penaltyReport(s.taxpayer(n));

    for (int day = 1; day <= 600; ++day)
        s.addPayment(n, d(4, 1, 2005).addDays(day % 85), 1);
    run.interestReport(s.taxpayer(n), CalculationRun::interestCode);
    EXPECT_GT(s.rows("Event Table"), 600);

    run.interestReport(s.taxpayer(n), CalculationRun::summaryCode);
}

// The interest run writes [Event Table] only, the summary run [Summary Table] only; a run that fails part-way
// leaves the previous result of its table.
TEST(CalculationRun, EachRunWritesItsOwnTableWhole) {
    Store s;
    const int n =
        s.addTaxpayer("[Original Due Date Of Return],[End Date],[Initial Balance]", "#4/15/2005#,#12/31/2005#,10000");
    CalculationRun run(s.db, s.reporter);
    ASSERT_EQ(run.interestReport(s.taxpayer(n), CalculationRun::summaryCode), CalculationRun::Outcome::Written);
    ASSERT_EQ(run.interestReport(s.taxpayer(n), CalculationRun::summaryCode), CalculationRun::Outcome::Written);
    EXPECT_EQ(s.rows("Summary Table"), 1);
    EXPECT_EQ(s.rows("Event Table"), 0);
    ASSERT_EQ(run.interestReport(s.taxpayer(n), CalculationRun::interestCode), CalculationRun::Outcome::Written);
    EXPECT_EQ(s.rows("Summary Table"), 1);
    const QString events = dumpTable(s.dir.mainFile(), "Event Table");
    const QString summary = dumpTable(s.dir.mainFile(), "Summary Table");

    s.db.exec("DELETE * FROM [Interest Table] WHERE [Beginning Date]=#10/1/2005#");
    RecordingReporter reporter;
    CalculationRun failing(s.db, reporter);
    EXPECT_EQ(failing.interestReport(s.taxpayer(n), CalculationRun::interestCode), CalculationRun::Outcome::Stopped);
    EXPECT_EQ(failing.interestReport(s.taxpayer(n), CalculationRun::summaryCode), CalculationRun::Outcome::Stopped);
    // A gap in a rate table: the message says where.
    const QString gap = Messages::missingRate + " The underpayment rate table has no rate for 12/31/2005.";
    EXPECT_EQ(reporter.messages, QStringList({gap, gap}));
    EXPECT_EQ(dumpTable(s.dir.mainFile(), "Event Table"), events);
    EXPECT_EQ(dumpTable(s.dir.mainFile(), "Summary Table"), summary);
}

// A name with an apostrophe and an event text with one go through every statement.
TEST(CalculationRun, ApostrophesInNamesAndEvents) {
    Store s;
    s.db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
              "[Initial Balance]) VALUES('O''Brien',#4/15/2005#,#12/31/2005#,10000)");
    s.db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],"
              "[Payment Allocated To Tax]) VALUES(1,'O''Brien','Owner''s payment',#7/1/2005#,100)");
    CalculationRun run(s.db, s.reporter);
    ASSERT_EQ(run.interestReport(s.taxpayer(1), CalculationRun::interestCode), CalculationRun::Outcome::Written);
    EXPECT_TRUE(dumpTable(s.dir.mainFile(), "Event Table").contains("Owner's payment"));
}

// The totals of a summary are exact however large: nine months of 0.5 % on a billion are 45,000,000.00 of penalty
// (beyond the 32 bits of cents the totals were once held in). A summary whose totals cannot be written (the database
// held by another program) goes to the global error handler and leaves the previous row.
TEST(CalculationRun, SummaryFailureReachesTheGlobalHandler) {
    Store s;
    const int n = s.addTaxpayer("[Original Due Date Of Return],[End Date],[Initial Balance],"
                                "[Calculate Failure To Pay Penalty],[Assessment Date For Failure To Pay Penalty]",
                                "#4/15/2005#,#12/31/2005#,1000000000,1,#12/31/2005#");
    s.db.exec("UPDATE [Interest Table] SET [Interest Rate]=0");
    CalculationRun run(s.db, s.reporter);
    ASSERT_EQ(run.interestReport(s.taxpayer(n), CalculationRun::summaryCode), CalculationRun::Outcome::Written);
    EXPECT_EQ(run.totals().TotalFPPenalty, usd(45000000));
    EXPECT_EQ(run.totals().TotalBalance, usd(1045000000));
    const QString summary = dumpTable(s.dir.mainFile(), "Summary Table");

    const TaxpayerCase tp = s.taxpayer(n);
    QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
    holder.setDatabaseName(s.dir.mainFile());
    ASSERT_TRUE(holder.open());
    QSqlQuery(holder).exec("BEGIN EXCLUSIVE");
    RecordingReporter reporter;
    CalculationRun locked(s.db, reporter);
    EXPECT_EQ(locked.interestReport(tp, CalculationRun::summaryCode), CalculationRun::Outcome::Stopped);
    ASSERT_EQ(reporter.globalFailures.size(), 1);
    EXPECT_TRUE(reporter.globalFailures[0].contains("is in use by another program"));
    EXPECT_TRUE(reporter.messages.isEmpty());
    QSqlQuery(holder).exec("ROLLBACK");
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
    EXPECT_EQ(dumpTable(s.dir.mainFile(), "Summary Table"), summary);
}

// A corporation's large underpayment (IRC 6621(c)): 500,000.00 unpaid from the due date 3/15/2019, the applicable
// date 8/1/2019, calculated to 12/31/2019. The higher rate is charged "for periods after the applicable date": the row
// ends on 8/1 and the large corporate rate runs from 8/2. No event comes between, so the whole is one balance period,
// its days compounded at rate/365 without rounding and its interest rounded once. Worked by hand:
//   3/16–3/31  16 days at 6 %   (the underpayment rate of the 1st quarter)
//   4/1–6/30   91 days at 6 %
//   7/1–8/1    32 days at 5 %   (the row ends on the applicable date)
//   8/2–9/30   60 days at 7 %   (the large corporate rate of the 3rd quarter: 5 % + 2)
//   10/1–12/31 92 days at 7 %
// 500,000.00 × (the product of the rows' factors − 1) = 26,223.93; the rows show the period's rounded interest at each
// row's end less that at its start: 1,316.69, 7,554.89, 2,235.42, 5,914.63, 9,202.30.
TEST(CalculationRun, LargeCorporateUnderpaymentRate) {
    Store s;
    const int n = s.addTaxpayer("[Original Due Date Of Return],[End Date],[Initial Balance],[Corporate Taxpayer],"
                                "[Large Corporate Underpayment],[Date Large Corporate Rate Begins]",
                                "#3/15/2019#,#12/31/2019#,500000,1,1,#8/1/2019#");
    CalculationRun run(s.db, s.reporter);
    ASSERT_EQ(run.interestReport(s.taxpayer(n), CalculationRun::interestCode), CalculationRun::Outcome::Written)
        << s.reporter.messages.join("|").toStdString();

    const struct {
        QDate from, to;
        double rate;
        int days;
    } periods[] = {{d(3, 16, 2019), d(3, 31, 2019), 0.06, 16},
                   {d(4, 1, 2019), d(6, 30, 2019), 0.06, 91},
                   {d(7, 1, 2019), d(8, 1, 2019), 0.05, 32},
                   {d(8, 2, 2019), d(9, 30, 2019), 0.07, 60},
                   {d(10, 1, 2019), d(12, 31, 2019), 0.07, 92}};
    double product = 1;
    qint64 before = 0; // cents
    std::vector<Money> expected;
    for (const auto& p : periods) {
        product *= std::pow(1 + p.rate / 365.0, p.days);
        const qint64 toDate = qint64(std::nearbyint(50000000 * (product - 1)));
        expected.push_back(Money::fromCents(toDate - before));
        before = toDate;
    }
    std::vector<Money> got;
    int i = 0;
    for (const auto& r : run.ledger().rows) {
        if (r.event != "Interest")
            continue;
        ASSERT_LT(i, 5);
        EXPECT_EQ(r.date, periods[i].from);
        EXPECT_EQ(r.date2, periods[i].to);
        EXPECT_EQ(*r.interestRate, rate(periods[i].rate));
        EXPECT_EQ(r.days.value_or(0), periods[i].days);
        got.push_back(*r.interest);
        ++i;
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(expected, std::vector<Money>({usd(1316.69), usd(7554.89), usd(2235.42), usd(5914.63), usd(9202.30)}));

    // Without its date the run says what is missing; a taxpayer that is no corporation keeps the regular rate.
    s.db.exec("UPDATE [Basic Taxpayer Data] SET [Date Large Corporate Rate Begins]=NULL");
    RecordingReporter missing;
    EXPECT_EQ(CalculationRun(s.db, missing).interestReport(s.taxpayer(n), CalculationRun::interestCode),
              CalculationRun::Outcome::Stopped);
    EXPECT_EQ(missing.messages, QStringList{"The 'Large Corporate Rate Applicable Date' is missing."});
    s.db.exec("UPDATE [Basic Taxpayer Data] SET [Corporate Taxpayer]=0");
    CalculationRun regular(s.db, s.reporter);
    ASSERT_EQ(regular.interestReport(s.taxpayer(n), CalculationRun::interestCode), CalculationRun::Outcome::Written);
    for (const auto& r : regular.ledger().rows) {
        if (r.event == "Interest" && r.date.month() >= 8) {
            EXPECT_EQ(*r.interestRate, rate(0.05));
        }
    }
}

// 150,000.00 owed by a corporation from 03/15/2005, the applicable date 04/09/2007, to 03/15/2008: the higher rate from
// 04/10/2007. Worked by hand, day by day, with the published underpayment and large corporate rates of each quarter
// and one rounding (no event comes between): 40,296.90. Starting the higher rate on the applicable date itself and
// rounding each row, as the program did, gave 40,307.34: 10.44 too high.
TEST(CalculationRun, TheLargeCorporateRateRunsFromTheDayAfterTheApplicableDate) {
    Store s;
    const int n = s.addTaxpayer("[Original Due Date Of Return],[End Date],[Initial Balance],[Corporate Taxpayer],"
                                "[Large Corporate Underpayment],[Date Large Corporate Rate Begins]",
                                "#3/15/2005#,#3/15/2008#,150000,1,1,#4/9/2007#");
    CalculationRun run(s.db, s.reporter);
    ASSERT_EQ(run.interestReport(s.taxpayer(n), CalculationRun::interestCode), CalculationRun::Outcome::Written);
    Money total;
    for (const auto& r : run.ledger().rows)
        total += val(r.interest);

    // The hand computation: each day at its quarter's rate (the large corporate one after the applicable date) over
    // the days of its year.
    const TaxpayerCase tp = s.taxpayer(n);
    const RateTable under(tp.figures->underpayment), large(tp.figures->largeCorporate);
    double product = 1;
    for (QDate day = d(3, 16, 2005); day <= d(3, 15, 2008); day = day.addDays(1)) {
        const Rate r = *(day > d(4, 9, 2007) ? large : under).find(day)->rate;
        product *= 1 + r.toDouble() / QDate(day.year(), 1, 1).daysInYear();
    }
    EXPECT_EQ(total, Money::fromCents(qint64(std::nearbyint(15000000 * (product - 1)))));
    EXPECT_EQ(total, usd(40296.90));
    // The row before the higher rate ends on the applicable date.
    const auto applicable = std::find_if(run.ledger().rows.begin(), run.ledger().rows.end(), [](const LedgerRow& r) {
        return r.event == "Interest" && r.date2 == d(4, 9, 2007);
    });
    ASSERT_NE(applicable, run.ledger().rows.end());
    EXPECT_EQ(*applicable->interestRate, rate(0.08));
    EXPECT_EQ(*(applicable + 1)->interestRate, rate(0.10));
    EXPECT_EQ((applicable + 1)->date, d(4, 10, 2007));
}
