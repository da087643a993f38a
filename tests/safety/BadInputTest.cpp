#include "SqlText.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"
#include "TestSupport.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

// Bad input end to end, through the command-line runner on a database file: each case gets a clear message or a
// correct result, and no stored row changes unless the run wrote its result.
namespace {

struct RunResult {
    int exitCode;
    QString out, err;
};

RunResult run(const DataDir& dir, int taxpayer, const QString& report) {
    QProcess p;
    p.start(QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"),
            {"--data-dir", dir.newpath(), "--taxpayer", QString::number(taxpayer), "--report", report});
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

int addTaxpayer(const DataDir& dir, const QString& name, const QString& due, const QString& end,
                const QString& balance) {
    SqliteDatabase db(dir.mainFile());
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
            "[Initial Balance]) VALUES(" +
            SqlText::quote(name) + "," + due + "," + end + "," + balance + ")");
    return db.query("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
}

QString everything(const DataDir& dir) {
    QString out;
    for (const char* t : {"Basic Taxpayer Data", "Payment Table", "Required Payroll Tax Deposits", "Additional Charges",
                          "Interest Table", "Overpayment Interest Table", "Event Table", "Summary Table"})
        out += dumpTable(dir.mainFile(), t);
    return out;
}

} // namespace

TEST(BadInput, NamesOfEveryKindAreCalculated) {
    DataDir dir;
    for (const QString& name : {QStringLiteral("O'Brien"), QStringLiteral("\"Quoted\" Co"), QStringLiteral("100% Pure"),
                                QStringLiteral("Zoë Ærøskøbing ÅB"), QStringLiteral("#1/1/2000# [x] `y`")}) {
        const int n = addTaxpayer(dir, name, "#4/15/2005#", "#12/31/2005#", "10000");
        const RunResult r = run(dir, n, "interest");
        EXPECT_EQ(r.exitCode, 0) << name.toStdString() << r.err.toStdString();
        EXPECT_EQ(r.err, "");
    }
}

TEST(BadInput, ExtremeDatesGiveAMessageAndChangeNothing) {
    DataDir dir;
    const int good = addTaxpayer(dir, "Good", "#4/15/2005#", "#12/31/2005#", "10000");
    ASSERT_EQ(run(dir, good, "interest").exitCode, 0);
    // Year 100 to 9999: no rate was published for those days.
    const int wide = addTaxpayer(dir, "Wide", "#1/1/0100#", "#12/31/9999#", "10000");
    const QString before = everything(dir);
    const RunResult r = run(dir, wide, "interest");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "There is a missing interest rate figure in the computation period. The underpayment rate table "
                     "begins on 01/01/1983.\n");
    EXPECT_EQ(everything(dir), before);

    // An end date before the due date: nothing accrues, the result is the balance alone.
    const int early = addTaxpayer(dir, "Early", "#4/15/2005#", "#1/1/2005#", "10000");
    EXPECT_EQ(run(dir, early, "interest").exitCode, 0);
    EXPECT_EQ(dumpTable(dir.mainFile(), "Event Table"),
              "2005-04-15|2005-04-15|Initial Balance|10000|0|0|0|0|0|NULL|NULL|"
              "NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL\n");
}

TEST(BadInput, AmountsFromZeroToBeyondTheSingleRange) {
    DataDir dir;
    for (const char* amount : {"0", "-2500", "0.01"}) {
        const int n = addTaxpayer(dir, amount, "#4/15/2005#", "#12/31/2005#", amount);
        EXPECT_EQ(run(dir, n, "summary").exitCode, 0) << amount;
    }
    const int n = addTaxpayer(dir, "Zero", "#4/15/2005#", "#12/31/2005#", "0");
    run(dir, n, "interest");
    const QString before = everything(dir);
    // 1E+12 fits a single, but its interest in cents does not fit the 32 bits a period's interest is held in; 1E+39
    // does not fit a single at all. Both say so and change nothing.
    for (const char* amount : {"1E+12", "1E+39"}) {
        const int big = addTaxpayer(dir, amount, "#4/15/2005#", "#12/31/2005#", amount);
        const QString with = everything(dir);
        const RunResult r = run(dir, big, "interest");
        EXPECT_EQ(r.exitCode, 1) << amount;
        EXPECT_TRUE(r.err.startsWith("Overflow: an amount in the calculation is too large.")) << r.err.toStdString();
        EXPECT_EQ(everything(dir), with);
    }
    EXPECT_NE(before, everything(dir)); // only the two taxpayers were added
}

TEST(BadInput, FilesThatAreNotWhatTheyShouldBe) {
    DataDir dir;
    const QString before = everything(dir);
    const QString letter = dir.path("letter.mdb");
    {
        QFile f(letter);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Dear client,");
    }
    try {
        TaxpayerTransfer::retrieve(letter, dir.mainFile());
        FAIL();
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.message().contains("is not a database of this program")) << e.message().toStdString();
    }
    // A data directory that does not exist.
    QProcess p;
    p.start(QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"),
            {"--data-dir", dir.path("no such folder"), "--taxpayer", "1", "--report", "interest"});
    p.waitForFinished();
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("does not exist"));
    EXPECT_FALSE(QFile::exists(dir.path("no such folder/kelvadat.mdb")));
    EXPECT_EQ(everything(dir), before);
}

// Payments of 9.3E+16, or two of 6E+16, in a database (the editors refuse such amounts, an older database may hold
// them): the payment report says it overflows, exit 1, and writes no file; it never aborts or prints a wrapped total.
TEST(BadInput, HugeAmountsInTheReportsAreAnOverflow) {
    for (const QStringList& amounts : {QStringList{"9.3E+16"}, QStringList{"6E+16", "6E+16"}}) {
        DataDir dir;
        const int n = addTaxpayer(dir, "Huge", "#4/15/2005#", "#12/31/2005#", "0");
        {
            SqliteDatabase db(dir.mainFile());
            for (const auto& a : amounts)
                db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Amount Of Payment]) "
                        "VALUES(" +
                        SqlText::whole(n) + ",'Payment',#5/1/2005#," + a + ")");
        }
        QProcess p;
        p.start(QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"),
                {"--data-dir", dir.newpath(), "--taxpayer", QString::number(n), "--report", "payment", "--csv",
                 dir.path("payments.csv")});
        p.waitForFinished(60000);
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << amounts.join(",").toStdString();
        EXPECT_EQ(p.exitCode(), 1);
        EXPECT_TRUE(p.readAllStandardError().startsWith("Overflow: an amount in the calculation is too large."));
        EXPECT_FALSE(QFile::exists(dir.path("payments.csv")));
    }
}
