#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TestSupport.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <map>

namespace {

QStringList sorted(QStringList l) {
    l.sort();
    return l;
}

QStringList columnsOf(SqliteDatabase& db, const QString& table) {
    const RecordSet rows = db.queryNative(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table));
    QStringList names;
    for (int i = 0; i < rows.size(); ++i)
        names << rows.value(i, 0).toString();
    return names;
}

// The tables and columns as the program's documentation lists them, written out here independently of the
// code that makes the files.
const std::map<QString, QStringList> documentedTables = {
    {"Basic Taxpayer Data",
     {"Taxpayer Number",
      "Taxpayer Name",
      "Start Date",
      "End Date",
      "Original Due Date Of Return",
      "Extended Due Date Of Return",
      "Date Return Filed",
      "Initial Balance",
      "Calculate Failure To File Penalty",
      "Calculate Failure To Pay Penalty",
      "Assessment Date For Failure To Pay Penalty",
      "Calculate Increased Failure To Pay Penalty",
      "Date To Begin Increased Failure To Pay Penalty",
      "Calculate Decreased Failure To Pay Penalty",
      "Date To Begin Decreased Failure To Pay Penalty",
      "Calculate Accuracy Related Penalty",
      "Accuracy Related Underpayment",
      "Payroll Tax Situation",
      "Corporate Taxpayer",
      "Large Corporate Underpayment",
      "Date Large Corporate Rate Begins",
      "Client Code"}},
    {"Payment Table",
     {"Row", "Taxpayer Number", "Taxpayer Name", "Event", "Date Of Payment", "Amount Of Payment",
      "Payment Allocated To Tax", "Payment Allocated To Penalties", "Payment Allocated To Interest",
      "Due Date Of Liability", "Use IRS Allocation", "Allocated To Liability"}},
    {"Required Payroll Tax Deposits",
     {"Row", "Taxpayer Number", "Taxpayer Name", "Event", "Deposit Due Date", "Assessment Date", "Required Deposit",
      "Sec 6656(b)(1)(B)"}},
    {"Additional Charges",
     {"Row", "Taxpayer Number", "Taxpayer Name", "Event", "Description", "Date Liability Incurred",
      "Date Interest Starts", "Total Amount of Charge", "Charge Classified As Tax", "Charge Classified As Penalty",
      "Charge Unclassified"}},
    // Layout 2 gives the rate tables a key of their own, [Row].
    {"Interest Table", {"Row", "Beginning Date", "Ending Date", "Interest Rate"}},
    {"Overpayment Interest Table", {"Row", "Beginning Date", "Ending Date", "Interest Rate"}},
    // Layout 3: the large corporate underpayment rate and the failure-to-file minimum by year.
    {"Large Corporate Underpayment Interest Table", {"Row", "Beginning Date", "Ending Date", "Interest Rate"}},
    {"Failure To File Minimum Table", {"First Year", "Amount"}},
    // Layout 4: the estimated-tax penalty, with names other tools can fill.
    {"Estimated Tax Data",
     {"Row", "Taxpayer Number", "Tax Year End", "Current Year Tax", "Prior Year Tax", "Prior Year Full Year",
      "High Income Prior Year", "Large Corporation", "Withholding", "Withholding On Actual Dates"}},
    {"Estimated Tax Payments", {"Row", "Taxpayer Number", "Tax Year End", "Date Of Payment", "Amount Of Payment"}},
    {"Estimated Tax Table",
     {"Line", "Installment", "Due Date", "Amount", "Beginning Date", "Ending Date", "Days", "Interest Rate",
      "Days In Year", "Penalty"}},
    // Layout 6: a client's several returns: refunds, and the rate on a corporate overpayment above $10,000.
    {"Refund Table", {"Row", "Taxpayer Number", "Event", "Date Of Refund", "Interest To Date", "Amount Of Refund"}},
    {"Large Corporate Overpayment Interest Table", {"Row", "Beginning Date", "Ending Date", "Interest Rate"}},
    // Layout 7: the penalties and interest the IRS assessed, from an account transcript.
    {"IRS Figures Table", {"Row", "Taxpayer Number", "Transaction Code", "Event", "Description", "Date", "Amount"}},
    {"Event Table",
     {"Date", "Date2", "Event", "Unpaid Balance", "Accrued Interest", "Interest Rate", "Days", "Interest Factor",
      "Interest", "Failure To File Penalty", "Failure To Pay Penalty", "Tax", "Required Deposit Number",
      "Required Deposit", "Amount Of Payment", "Days Overdue", "Penalty Percentage", "Penalty",
      "Due Date Of Liability"}},
    {"Summary Table",
     {"TotalInterest", "FailureToPayPenalty", "FailureToFilePenalty", "TotalAccPenalty", "UnpaidTax",
      "PmntsAppToInterest", "PmntsAppToPenalty", "OtherPenalties", "TotalFDepositPenalty", "Total", "Beginning Date",
      "Ending Date"}},
};

void expectDocumentedTables(const QString& file) {
    SqliteDatabase db(file, SqliteDatabase::Mode::ReadOnly);
    const RecordSet tables = db.queryNative(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name");
    QStringList names;
    for (int i = 0; i < tables.size(); ++i)
        names << tables.value(i, 0).toString();
    QStringList expected;
    for (const auto& [name, columns] : documentedTables)
        expected << name;
    EXPECT_EQ(sorted(names), sorted(expected)) << file.toStdString();
    for (const auto& [name, columns] : documentedTables)
        EXPECT_EQ(sorted(columnsOf(db, name)), sorted(columns)) << name.toStdString();
}

} // namespace

TEST(DeliveredDatabases, HoldTheDocumentedTablesWithTheirColumns) {
    expectDocumentedTables(deliveredFile("kelvadat.mdb"));
    expectDocumentedTables(deliveredFile("kelvaSav.mdb"));
    EXPECT_EQ(integrityCheck(deliveredFile("kelvadat.mdb")), "ok");
}

TEST(DeliveredDatabases, TemplateHasNoRows) {
    SqliteDatabase db(deliveredFile("kelvaSav.mdb"), SqliteDatabase::Mode::ReadOnly);
    for (const auto& [name, columns] : documentedTables)
        EXPECT_EQ(db.queryNative("SELECT COUNT(*) FROM [" + name + "]").value(0, 0).toInt(), 0) << name.toStdString();
}

TEST(DeliveredDatabases, RateTablesHoldEveryPublishedRate) {
    QFile csv(TALVORO_SOURCE_DIR "/data/irs-rates.csv");
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&csv);
    in.readLine();
    QStringList under, over, large;
    while (!in.atEnd()) {
        const QStringList c = in.readLine().split(',');
        if (c.size() < 6)
            continue;
        under << c[0] + "|" + c[1] + "|" + QString::number(c[2].toDouble());
        over << c[0] + "|" + c[1] + "|" + QString::number(c[3].toDouble());
        if (!c[5].isEmpty())
            large << c[0] + "|" + c[1] + "|" + QString::number(c[5].toDouble());
    }
    EXPECT_EQ(large.first().left(10), "1991-01-01");
    ASSERT_GT(under.size(), 150);

    SqliteDatabase db(deliveredFile("kelvadat.mdb"), SqliteDatabase::Mode::ReadOnly);
    auto read = [&](const QString& table) {
        // Stored order: the rate look-up takes the first matching row in it.
        const RecordSet rows = db.query("select * FROM [" + table + "]");
        QStringList out;
        for (int i = 0; i < rows.size(); ++i)
            out << rows.value(i, "Beginning Date").toDate().toString(Qt::ISODate) + "|" +
                       rows.value(i, "Ending Date").toDate().toString(Qt::ISODate) + "|" +
                       QString::number(rows.value(i, "Interest Rate").toDouble());
        return out;
    };
    EXPECT_EQ(read("Interest Table"), under);
    EXPECT_EQ(read("Overpayment Interest Table"), over);
    EXPECT_EQ(read("Large Corporate Underpayment Interest Table"), large);

    // And the failure-to-file minimums, line by line.
    QFile minimums(TALVORO_SOURCE_DIR "/data/ftf-minimum.csv");
    ASSERT_TRUE(minimums.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList lines = QString::fromUtf8(minimums.readAll()).split('\n', Qt::SkipEmptyParts);
    lines.removeFirst();
    const RecordSet stored = db.query("SELECT [First Year], [Amount] FROM [Failure To File Minimum Table]");
    QStringList held;
    for (int i = 0; i < stored.size(); ++i)
        held << stored.value(i, 0).toString() + "," + QString::number(stored.value(i, 1).toDouble());
    EXPECT_EQ(held, lines);
}

// The file keeps each value in its documented encoding, whichever program writes to it.
TEST(DeliveredDatabases, RefuseValuesOutsideTheirEncoding) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    const auto refused = [&](const QString& statement) {
        EXPECT_THROW(db.execNative(statement), StoreError) << statement.toStdString();
    };
    refused("INSERT INTO [Payment Table]([Date Of Payment]) VALUES('April 15')");
    refused("INSERT INTO [Payment Table]([Date Of Payment]) VALUES('2005-02-30')");
    refused("INSERT INTO [Payment Table]([Date Of Payment]) VALUES('2005-4-15')");
    refused("INSERT INTO [Payment Table]([Amount Of Payment]) VALUES('12,50')");
    refused("INSERT INTO [Interest Table]([Interest Rate]) VALUES('five')");
    refused("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('" + QString(151, 'x') + "')");
    refused("INSERT INTO [Basic Taxpayer Data]([Payroll Tax Situation]) VALUES(2)");
    refused("INSERT INTO [Event Table]([Event]) VALUES('" + QString(31, 'e') + "')");
    refused("INSERT INTO [Event Table]([Days]) VALUES(1.5)");

    db.execNative("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[End Date],[Initial Balance]) VALUES('" +
                  QString(150, 'x') + "','9999-12-31',12)");
    const RecordSet row = db.query("select * from [Basic Taxpayer Data]");
    ASSERT_EQ(row.size(), 1);
    EXPECT_EQ(row.value(0, "End Date").toDate(), QDate(9999, 12, 31));
    EXPECT_EQ(row.value(0, "Initial Balance").typeId(), QMetaType::Double);
    EXPECT_EQ(row.value(0, "Corporate Taxpayer").toBool(), false);
    EXPECT_FALSE(row.value(0, "Start Date").isValid()); // empty stays empty
}

TEST(DeliveredDatabases, CountersAreNeverReused) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    db.exec("INSERT INTO [Payment Table]([Taxpayer Number]) VALUES(1)");
    db.exec("INSERT INTO [Payment Table]([Taxpayer Number]) VALUES(1)");
    db.exec("DELETE * FROM [Payment Table]");
    db.exec("INSERT INTO [Payment Table]([Taxpayer Number]) VALUES(1)");
    EXPECT_EQ(db.query("SELECT [Row] FROM [Payment Table]").value(0, "Row").toInt(), 3);
}
