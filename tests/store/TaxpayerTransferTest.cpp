#include "TaxpayerTransfer.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QStringList perTaxpayer = {"Basic Taxpayer Data", "Payment Table",      "Required Payroll Tax Deposits",
                                 "Additional Charges",  "Estimated Tax Data", "Estimated Tax Payments"};

// Adds a taxpayer with two payments, one deposit and one charge; returns its number.
int addTaxpayer(SqliteDatabase& db, const QString& name) {
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
            "[Initial Balance],[Calculate Failure To Pay Penalty]) VALUES(" +
            SqlText::quote(name) + ",#4/15/2005#,#12/31/2006#,10000,1)");
    const int n = db.query("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]").value(0, "n").toInt();
    const QString owner = SqlText::whole(n) + "," + SqlText::quote(name);
    for (const auto& [date, amount] : {std::pair{"#6/1/2005#", "300"}, std::pair{"#9/1/2005#", "450.25"}})
        db.exec(
            QStringLiteral("INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],"
                           "[Amount Of Payment],[Payment Allocated To Tax],[Use IRS Allocation]) VALUES(%1,"
                           "'Payment',%2,%3,%3,1)")
                .arg(owner, date, amount));
    db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Event],"
            "[Deposit Due Date],[Required Deposit],[Sec 6656(b)(1)(B)]) VALUES(" +
            owner + ",'Liability',#5/15/2005#,2500,1)");
    db.exec("INSERT INTO [Additional Charges]([Taxpayer Number],[Taxpayer Name],[Event],[Description],"
            "[Date Interest Starts],[Total Amount of Charge],[Charge Classified As Tax]) VALUES(" +
            owner + ",'Other Charge','Notice CP14',#7/1/2005#,50,50)");
    db.exec("INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],"
            "[Prior Year Full Year],[Withholding]) VALUES(" +
            SqlText::whole(n) + ",#12/31/2005#,7031,6116,1,3228)");
    db.exec("INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) VALUES(" +
            SqlText::whole(n) + ",#9/2/2005#,1000)");
    return n;
}

QString rowsOf(const QString& file, const QString& table, int number, bool withRow = true) {
    SqliteDatabase db(file, SqliteDatabase::Mode::ReadOnly);
    const RecordSet rows = db.queryNative(
        QStringLiteral("SELECT * FROM [%1] WHERE [Taxpayer Number]=%2 ORDER BY rowid").arg(table).arg(number));
    QString out;
    for (int r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (int c = 0; c < rows.fields().size(); ++c)
            if (withRow || rows.fields()[c] != "Row")
                cells << (rows.value(r, c).isValid() ? rows.value(r, c).toString() : QStringLiteral("NULL"));
        out += cells.join('|') + '\n';
    }
    return out;
}

QString wholeFile(const QString& file) {
    QString out;
    for (const auto& t : perTaxpayer)
        out += t + ":\n" + dumpTable(file, t);
    return out;
}

int count(const QString& file, const QString& table) {
    SqliteDatabase db(file, SqliteDatabase::Mode::ReadOnly);
    return db.queryNative("SELECT COUNT(*) FROM [" + table + "]").value(0, 0).toInt();
}

} // namespace

TEST(TaxpayerTransfer, SavedFileHoldsOneTaxpayerAndRetrievesToTheSameRows) {
    DataDir home;
    int number;
    {
        SqliteDatabase db(home.mainFile());
        addTaxpayer(db, "Other Taxpayer");
        number = addTaxpayer(db, "O'Brien & Sons");
        addTaxpayer(db, "Third");
    }
    // A folder and file name with an apostrophe and a blank.
    QDir().mkpath(home.path("client's files"));
    const QString saved = home.path("client's files/o'brien save.mdb");
    TaxpayerTransfer::save(home.mainFile(), home.templateFile(), saved, number);

    EXPECT_EQ(integrityCheck(saved), "ok");
    for (const auto& t : perTaxpayer) {
        EXPECT_EQ(dumpTable(saved, t), rowsOf(home.mainFile(), t, number)) << t.toStdString();
        EXPECT_FALSE(dumpTable(saved, t).isEmpty()) << t.toStdString();
    }
    EXPECT_EQ(TaxpayerTransfer::peek(saved).number, number);
    EXPECT_EQ(TaxpayerTransfer::peek(saved).name, "O'Brien & Sons");
    EXPECT_FALSE(QFile::exists(saved + ".part"));

    // Saving again to the same name replaces the file: it never holds two taxpayers.
    TaxpayerTransfer::save(home.mainFile(), home.templateFile(), saved, number);
    EXPECT_EQ(count(saved, "Basic Taxpayer Data"), 1);
    EXPECT_EQ(count(saved, "Payment Table"), 2);

    // Into another installation: the taxpayer keeps its number, deposits and charges keep their rows, payments
    // get new ones.
    DataDir away;
    {
        SqliteDatabase db(away.mainFile());
        addTaxpayer(db, "Resident 1"); // payments 1-2 taken
    }
    ASSERT_EQ(TaxpayerTransfer::retrieve(saved, away.mainFile()), TaxpayerTransfer::Outcome::Copied);
    EXPECT_EQ(rowsOf(away.mainFile(), "Basic Taxpayer Data", number),
              rowsOf(home.mainFile(), "Basic Taxpayer Data", number));
    EXPECT_EQ(rowsOf(away.mainFile(), "Payment Table", number, false),
              rowsOf(home.mainFile(), "Payment Table", number, false));
    EXPECT_EQ(rowsOf(away.mainFile(), "Required Payroll Tax Deposits", number),
              rowsOf(home.mainFile(), "Required Payroll Tax Deposits", number));
    EXPECT_EQ(rowsOf(away.mainFile(), "Additional Charges", number),
              rowsOf(home.mainFile(), "Additional Charges", number));
    EXPECT_EQ(rowsOf(away.mainFile(), "Estimated Tax Data", number),
              rowsOf(home.mainFile(), "Estimated Tax Data", number));
    // The estimated payments, like the payments, get new row numbers (the resident's is 1).
    EXPECT_EQ(rowsOf(away.mainFile(), "Estimated Tax Payments", number, false),
              rowsOf(home.mainFile(), "Estimated Tax Payments", number, false));
    EXPECT_EQ(count(away.mainFile(), "Estimated Tax Payments"), 2);
    SqliteDatabase check(away.mainFile(), SqliteDatabase::Mode::ReadOnly);
    const RecordSet payments =
        check.query("select * from [Payment Table] where [Taxpayer Number] = " + SqlText::whole(number));
    ASSERT_EQ(payments.size(), 2);
    EXPECT_EQ(payments.value(0, "Row").toInt(), 3);
    EXPECT_EQ(payments.value(1, "Row").toInt(), 4);
}

TEST(TaxpayerTransfer, ANumberAlreadyPresentCopiesNothing) {
    DataDir home;
    int number;
    {
        SqliteDatabase db(home.mainFile());
        number = addTaxpayer(db, "Jones");
    }
    const QString saved = home.path("jones.mdb");
    TaxpayerTransfer::save(home.mainFile(), home.templateFile(), saved, number);
    const QString before = wholeFile(home.mainFile());
    EXPECT_EQ(TaxpayerTransfer::retrieve(saved, home.mainFile()), TaxpayerTransfer::Outcome::NumberExists);
    EXPECT_EQ(wholeFile(home.mainFile()), before);
}

// A deposit or charge whose row number is taken in the main database gets a new one; nobody's rows change.
TEST(TaxpayerTransfer, TakenRowNumbersGetNewOnesWithoutTouchingOtherRows) {
    DataDir home;
    int number;
    {
        SqliteDatabase db(home.mainFile());
        number = addTaxpayer(db, "Mover"); // its deposit and charge are row 1 in their tables
        // A second deposit at row 5, free in the other database.
        db.exec("INSERT INTO [Required Payroll Tax Deposits]([Row],[Taxpayer Number],[Taxpayer Name],[Event],"
                "[Deposit Due Date],[Required Deposit]) VALUES(5," +
                SqlText::whole(number) + ",'Mover','Liability',#6/15/2005#,700)");
    }
    const QString saved = home.path("mover.mdb");
    TaxpayerTransfer::save(home.mainFile(), home.templateFile(), saved, number);

    DataDir away;
    {
        SqliteDatabase db(away.mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name]) VALUES(" +
                SqlText::whole(number + 10) + ",'Resident')");
        for (int i = 0; i < 4; ++i) // rows 1 to 4
            db.exec("INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Taxpayer Name],[Required Deposit]) "
                    "VALUES(" +
                    SqlText::whole(number + 10) + ",'Resident',1)");
        db.exec("INSERT INTO [Additional Charges]([Taxpayer Number],[Taxpayer Name]) VALUES(" +
                SqlText::whole(number + 10) + ",'Resident')");
    }
    const QString residentDeposits = rowsOf(away.mainFile(), "Required Payroll Tax Deposits", number + 10);
    const QString residentCharges = rowsOf(away.mainFile(), "Additional Charges", number + 10);

    ASSERT_EQ(TaxpayerTransfer::retrieve(saved, away.mainFile()), TaxpayerTransfer::Outcome::Copied);
    EXPECT_EQ(rowsOf(away.mainFile(), "Required Payroll Tax Deposits", number + 10), residentDeposits);
    EXPECT_EQ(rowsOf(away.mainFile(), "Additional Charges", number + 10), residentCharges);

    SqliteDatabase check(away.mainFile(), SqliteDatabase::Mode::ReadOnly);
    const RecordSet deposits =
        check.query("select * from [Required Payroll Tax Deposits] where [Taxpayer Number]=" + SqlText::whole(number) +
                    " Order by [Deposit Due Date]");
    ASSERT_EQ(deposits.size(), 2);
    EXPECT_EQ(deposits.value(0, "Row").toInt(), 6); // row 1 was taken: a new one after the kept row 5
    EXPECT_EQ(deposits.value(0, "Required Deposit").toDouble(), 2500);
    EXPECT_EQ(deposits.value(1, "Row").toInt(), 5);
    const RecordSet charges =
        check.query("select * from [Additional Charges] where [Taxpayer Number] = " + SqlText::whole(number));
    ASSERT_EQ(charges.size(), 1);
    EXPECT_EQ(charges.value(0, "Row").toInt(), 2);
    EXPECT_EQ(charges.value(0, "Description").toString(), "Notice CP14");
}

TEST(TaxpayerTransfer, BadFilesGiveAClearMessageAndChangeNothing) {
    DataDir home;
    {
        SqliteDatabase db(home.mainFile());
        addTaxpayer(db, "Resident");
    }
    const QString before = wholeFile(home.mainFile());

    const QString notDb = home.path("letter.mdb");
    {
        QFile f(notDb);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Dear client, ...");
    }
    try {
        TaxpayerTransfer::retrieve(notDb, home.mainFile());
        FAIL() << "a text file was retrieved";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.message().contains("not a database of this program")) << e.message().toStdString();
    }

    // An empty transfer file holds no taxpayer.
    EXPECT_THROW(TaxpayerTransfer::retrieve(home.templateFile(), home.mainFile()), StoreError);
    EXPECT_THROW(TaxpayerTransfer::retrieve(home.path("missing.mdb"), home.mainFile()), StoreError);
    EXPECT_FALSE(QFile::exists(home.path("missing.mdb")));
    EXPECT_EQ(wholeFile(home.mainFile()), before);
}

// A file holding a second taxpayer whose number is taken is refused as a whole: nothing of the first is copied.
TEST(TaxpayerTransfer, AnyTakenNumberCopiesNothing) {
    DataDir home;
    int first, second;
    {
        SqliteDatabase db(home.mainFile());
        first = addTaxpayer(db, "First");
        second = addTaxpayer(db, "Second");
    }
    const QString two = home.path("two.mdb");
    TaxpayerTransfer::save(home.mainFile(), home.templateFile(), two, first);
    {
        SqliteDatabase db(two);
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name]) VALUES(" +
                SqlText::whole(second) + ",'Second')");
    }
    DataDir away;
    {
        SqliteDatabase db(away.mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name]) VALUES(" +
                SqlText::whole(second) + ",'Second')");
    }
    ASSERT_EQ(TaxpayerTransfer::peek(two).number, first); // the number shown is free
    const QString before = wholeFile(away.mainFile());
    EXPECT_EQ(TaxpayerTransfer::retrieve(two, away.mainFile()), TaxpayerTransfer::Outcome::NumberExists);
    EXPECT_EQ(wholeFile(away.mainFile()), before);
}

TEST(TaxpayerTransfer, AFailedSaveLeavesTheOldFileAndNoPartialOne) {
    DataDir home;
    int number;
    {
        SqliteDatabase db(home.mainFile());
        number = addTaxpayer(db, "Kept");
    }
    const QString saved = home.path("kept.mdb");
    TaxpayerTransfer::save(home.mainFile(), home.templateFile(), saved, number);
    const QString before = wholeFile(saved);
    EXPECT_THROW(TaxpayerTransfer::save(home.mainFile(), home.templateFile(), saved, number + 1), StoreError);
    EXPECT_THROW(TaxpayerTransfer::save(home.mainFile(), home.path("no-template.mdb"), saved, number), StoreError);
    EXPECT_EQ(wholeFile(saved), before);
    EXPECT_FALSE(QFile::exists(saved + ".part"));
}

// A client's returns go into one file together, with their client code and refunds, and come back together (under
// new numbers when theirs are taken); the file's other taxpayers never go with them.
TEST(TaxpayerTransfer, AClientsReturnsTravelTogether) {
    DataDir home;
    QList<int> client;
    {
        SqliteDatabase db(home.mainFile());
        addTaxpayer(db, "Elsewhere");
        for (const QString name : {"D'Arcy 2010", "D'Arcy 2011"}) {
            const int n = addTaxpayer(db, name);
            db.exec("UPDATE [Basic Taxpayer Data] SET [Client Code]='D''ARCY' WHERE [Taxpayer Number]=" +
                    SqlText::whole(n));
            db.exec("INSERT INTO [Refund Table]([Taxpayer Number],[Event],[Date Of Refund],[Interest To Date],"
                    "[Amount Of Refund]) VALUES(" +
                    SqlText::whole(n) + ",'Refund',#7/9/2006#,#6/30/2006#,125.5)");
            client << n;
        }
    }
    const QString saved = home.path("darcy.mdb");
    TaxpayerTransfer::save(home.mainFile(), home.templateFile(), saved, client);
    EXPECT_EQ(count(saved, "Basic Taxpayer Data"), 2);
    EXPECT_EQ(count(saved, "Refund Table"), 2);
    EXPECT_EQ(count(saved, "Payment Table"), 4);
    EXPECT_EQ(TaxpayerTransfer::peek(saved).count, 2);
    for (const int n : client)
        EXPECT_EQ(rowsOf(saved, "Refund Table", n), rowsOf(home.mainFile(), "Refund Table", n));

    // A number that is not there: nothing is written.
    EXPECT_THROW(TaxpayerTransfer::save(home.mainFile(), home.templateFile(), home.path("none.mdb"), {client[0], 99}),
                 StoreError);
    EXPECT_FALSE(QFile::exists(home.path("none.mdb")));

    // Back into the same database: the numbers are taken, so both come in under new ones, with their refunds.
    QList<int> given;
    ASSERT_EQ(TaxpayerTransfer::retrieve(saved, home.mainFile(), true, &given), TaxpayerTransfer::Outcome::Copied);
    ASSERT_EQ(given.size(), 2);
    SqliteDatabase db(home.mainFile(), SqliteDatabase::Mode::ReadOnly);
    EXPECT_EQ(
        db.queryNative("SELECT COUNT(*) FROM [Basic Taxpayer Data] WHERE [Client Code]='D''ARCY'").value(0, 0).toInt(),
        4);
    for (const int n : given)
        EXPECT_EQ(db.queryNative("SELECT [Amount Of Refund] FROM [Refund Table] WHERE [Taxpayer Number]=" +
                                 QString::number(n))
                      .value(0, 0)
                      .toDouble(),
                  125.5);
}
