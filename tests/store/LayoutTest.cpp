#include "Schema.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"
#include "TestSupport.h"

#include "RatesFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Files of the first release (layout 1, as tests/data/layout1 holds them) in a program of a later layout.
namespace {

int layoutOf(const QString& file) {
    SqliteDatabase db(file, SqliteDatabase::Mode::Foreign);
    return db.queryNative("PRAGMA user_version").value(0, 0).toInt();
}

QByteArray hashOf(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The rows of a rate table, without the key layout 2 added.
QString rates(const QString& file, const QString& table) {
    SqliteDatabase db(file, SqliteDatabase::Mode::Foreign);
    const RecordSet rows =
        db.queryNative("SELECT [Beginning Date],[Ending Date],[Interest Rate] FROM [" + table + "] ORDER BY rowid");
    QString out;
    for (int r = 0; r < rows.size(); ++r)
        out +=
            rows.value(r, 0).toString() + '|' + rows.value(r, 1).toString() + '|' + rows.value(r, 2).toString() + '\n';
    return out;
}

} // namespace

// The delivered database of the first release opens, is upgraded in place with a whole copy of it beside it, and
// keeps every row; its rate rows get keys in their stored order.
TEST(Layouts, TheFirstReleasesDatabaseIsUpgradedWithACopyBesideIt) {
    DataDir dir;
    QFile::remove(dir.mainFile());
    makeDatabase(dir.mainFile(), testData("layout1/kelvadat.sql"));
    ASSERT_EQ(layoutOf(dir.mainFile()), 1);
    const QString underBefore = rates(dir.mainFile(), "Interest Table");
    const QString overBefore = rates(dir.mainFile(), "Overpayment Interest Table");
    const QByteArray original = hashOf(dir.mainFile());

    { SqliteDatabase db(dir.mainFile()); }
    EXPECT_EQ(layoutOf(dir.mainFile()), Schema::version);
    EXPECT_EQ(integrityCheck(dir.mainFile()), "ok");
    EXPECT_EQ(rates(dir.mainFile(), "Interest Table"), underBefore);
    EXPECT_EQ(rates(dir.mainFile(), "Overpayment Interest Table"), overBefore);
    SqliteDatabase db(dir.mainFile(), SqliteDatabase::Mode::ReadOnly);
    EXPECT_EQ(db.queryNative("SELECT MIN([Row]), MAX([Row]), COUNT(*) FROM [Interest Table]").value(0, 1).toInt(),
              db.queryNative("SELECT COUNT(*) FROM [Interest Table]").value(0, 0).toInt());
    // The upgraded file is exactly what a new file of this layout is: same tables, columns, checks and indexes.
    const RecordSet schema =
        db.queryNative("SELECT type, name, sql FROM sqlite_schema WHERE name <> 'sqlite_sequence'");
    ASSERT_EQ(size_t(schema.size()), Schema::objects(Schema::version).size());
    for (int i = 0; i < schema.size(); ++i) {
        bool same = false;
        for (const auto& o : Schema::objects(Schema::version))
            same = same || (o.name == schema.value(i, 1).toString() && o.sql == schema.value(i, 2).toString());
        EXPECT_TRUE(same) << schema.value(i, 1).toString().toStdString();
    }

    // The copy beside it is the file as it was, of layout 1.
    const QString copy = dir.path("bak_v1_kelvadat.mdb");
    ASSERT_TRUE(QFile::exists(copy));
    EXPECT_EQ(layoutOf(copy), 1);
    EXPECT_EQ(rates(copy, "Interest Table"), underBefore);
    EXPECT_NE(hashOf(dir.mainFile()), original);
}

// A saved taxpayer of the first release is retrieved into the current layout; the first release's samples give the
// same rows in an upgraded database as in a new one.
TEST(Layouts, AFirstReleaseTransferFileIsRetrieved) {
    for (const char* sample : {"income-tax-sample", "payroll-sample"}) {
        DataDir fresh, upgraded;
        QFile::remove(upgraded.mainFile());
        makeDatabase(upgraded.mainFile(), testData("layout1/kelvadat.sql"));
        const QString file = fresh.path(QString(sample) + ".mdb");
        makeDatabase(file, testData(QStringLiteral("layout1/%1.sql").arg(sample)));
        ASSERT_EQ(layoutOf(file), 1);
        for (const DataDir* d : {&fresh, &upgraded})
            ASSERT_EQ(TaxpayerTransfer::retrieve(file, d->mainFile()), TaxpayerTransfer::Outcome::Copied) << sample;
        for (const char* table : {"Basic Taxpayer Data", "Payment Table", "Required Payroll Tax Deposits",
                                  "Additional Charges", "Interest Table", "Overpayment Interest Table"})
            EXPECT_EQ(dumpTable(upgraded.mainFile(), table), dumpTable(fresh.mainFile(), table)) << table;
        EXPECT_EQ(layoutOf(file), 1); // the file itself is read, never changed
    }
}

// A file of a later layout is refused with both layouts named, and left exactly as it was.
TEST(Layouts, ANewerLayoutIsRefusedAndLeftAlone) {
    DataDir dir;
    {
        SqliteDatabase db(dir.mainFile());
        db.execNative("PRAGMA user_version = 99");
    }
    const QByteArray before = hashOf(dir.mainFile());
    try {
        SqliteDatabase db(dir.mainFile());
        FAIL() << "a file of layout 99 was opened";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("was made by a newer Talvoro (layout 99); this program reads "
                                                        "layouts up to %1.")
                                             .arg(Schema::version)))
            << e.message().toStdString();
    }
    EXPECT_EQ(hashOf(dir.mainFile()), before);
    EXPECT_FALSE(QFile::exists(dir.path("bak_v99_kelvadat.mdb")));
}

// The template of the first release is upgraded before a save uses it: a save writes the current layout.
TEST(Layouts, ASaveWritesTheCurrentLayout) {
    DataDir dir;
    QFile::remove(dir.templateFile());
    makeDatabase(dir.templateFile(), testData("layout1/kelvaSav.sql"));
    {
        SqliteDatabase db(dir.mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Saved')");
    }
    const QString saved = dir.path("saved.mdb");
    TaxpayerTransfer::save(dir.mainFile(), dir.templateFile(), saved, 1);
    EXPECT_EQ(layoutOf(saved), Schema::version);
    EXPECT_EQ(layoutOf(dir.templateFile()), Schema::version);
    EXPECT_EQ(layoutOf(dir.path("bak_v1_kelvaSav.mdb")), 1);
    EXPECT_EQ(TaxpayerTransfer::peek(saved).name, "Saved");
}

namespace {

// What opening `file` for work is refused with; empty when it opens.
QString refusalOf(const QString& file) {
    try {
        SqliteDatabase db(file);
        return QString();
    } catch (const StoreError& e) {
        return e.message();
    }
}

} // namespace

// A file that claims a layout its tables are not (a layout-1 file marked 2) is refused before anything is written:
// upgrading it from the layout it claims would leave a file of neither layout.
TEST(Layouts, AWrongLayoutMarkIsRefusedBeforeAnyStep) {
    DataDir dir;
    QFile::remove(dir.mainFile());
    makeDatabase(dir.mainFile(), testData("layout1/kelvadat.sql") + "\nPRAGMA user_version = 2;\n");
    ASSERT_EQ(layoutOf(dir.mainFile()), 2);
    const QByteArray before = hashOf(dir.mainFile());
    const QString why = refusalOf(dir.mainFile());
    EXPECT_TRUE(why.contains("says it has layout 2, but the table [Interest Table] has other columns. It is not "
                             "upgraded and is left as it was."))
        << why.toStdString();
    EXPECT_EQ(hashOf(dir.mainFile()), before);
    EXPECT_EQ(layoutOf(dir.mainFile()), 2);
    EXPECT_FALSE(QFile::exists(dir.path("bak_v2_kelvadat.mdb")));

    // A layout-2 file that already has a table of a later layout would fail inside the step that makes it.
    QFile::remove(dir.mainFile());
    makeDatabase(dir.mainFile(), testData("layout1/kelvadat.sql") + "\nPRAGMA user_version = 1;\n" +
                                     "CREATE TABLE [Failure To File Minimum Table] (x);\n");
    EXPECT_TRUE(refusalOf(dir.mainFile())
                    .contains("says it has layout 1, but it already has the table [Failure To File Minimum Table] of "
                              "a later layout"));
    EXPECT_EQ(layoutOf(dir.mainFile()), 1);
}

// An installed rates or minimums file that holds only its header would upgrade a file to empty tables of published
// figures: the upgrade is refused, and the file stays as it was.
TEST(Layouts, AnUpgradeFromInstalledFilesWithoutFiguresIsRefused) {
    DataDir dir;
    QTemporaryDir installed;
    for (const QString& name : {DataFiles::rates, DataFiles::minimums})
        ASSERT_TRUE(QFile::copy(DataFiles::path(name), installed.filePath(name)));
    QFile::remove(dir.mainFile());
    makeDatabase(dir.mainFile(), testData("layout1/kelvadat.sql"));
    const QByteArray before = hashOf(dir.mainFile());
    for (const QString& emptied : {DataFiles::rates, DataFiles::minimums}) {
        SCOPED_TRACE(emptied.toStdString());
        QFile f(installed.filePath(emptied));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const QByteArray header = f.readLine();
        f.resize(0);
        f.write(header);
        f.close();
        DataFiles::setFolder(installed.path());
        const QString why = refusalOf(dir.mainFile());
        DataFiles::setFolder(QString());
        EXPECT_TRUE(why.contains("could not be upgraded from layout 1") && why.contains("holds no"))
            << why.toStdString();
        EXPECT_EQ(hashOf(dir.mainFile()), before);
        QFile::remove(installed.filePath(emptied));
        ASSERT_TRUE(QFile::copy(DataFiles::path(emptied), installed.filePath(emptied)));
    }
}

// Another program holding the database locked is said as that, not as a file of another program, at the open and in
// any statement afterwards.
TEST(Layouts, ALockedDatabaseIsInUseNotForeign) {
    DataDir dir;
    SqliteDatabase worker(dir.mainFile());
    QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
    holder.setDatabaseName(dir.mainFile());
    ASSERT_TRUE(holder.open());
    QSqlQuery lock(holder);
    ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
    const QString why = refusalOf(dir.mainFile());
    EXPECT_TRUE(why.contains("is in use by another program") && !why.contains("not a database of this program"))
        << why.toStdString();
    try {
        worker.query("SELECT * FROM [Basic Taxpayer Data]");
        ADD_FAILURE() << "read through a lock";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.kind(), StoreError::Kind::InUse);
        EXPECT_FALSE(e.message().contains("SELECT")) << e.message().toStdString();
    }
    lock.exec("ROLLBACK");
    holder.close();
    holder = QSqlDatabase();
    QSqlDatabase::removeDatabase("holder");
    EXPECT_EQ(refusalOf(dir.mainFile()), QString());
}

namespace {

// A database of layout 4, where a taxpayer had one row of estimated-tax figures and its payments had no year.
void makeLayout4(const QString& file) {
    SqliteDatabase db(file, SqliteDatabase::Mode::Create);
    for (const QString& statement : Schema::createStatements(4))
        db.execNative(statement);
    db.execNative("INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name]) VALUES(1,'Ben'),(2,'Ann')");
    db.execNative("INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax]) "
                  "VALUES(1,'2005-12-31',7031)");
    db.execNative("INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) "
                  "VALUES(1,'2005-09-02',1000),(1,'2006-01-12',1000),(2,'2006-01-12',50)");
}

} // namespace

// Layout 5 gives estimated payments their tax year: a taxpayer's payments become its one year's, in the upgrade and in
// the retrieve of a saved taxpayer of layout 4; a payment of a taxpayer without figures keeps no year.
TEST(Layouts, EstimatedPaymentsGetTheYearOfTheirFigures) {
    DataDir dir;
    QFile::remove(dir.mainFile());
    makeLayout4(dir.mainFile());
    { SqliteDatabase db(dir.mainFile()); }
    ASSERT_EQ(layoutOf(dir.mainFile()), Schema::version);
    {
        SqliteDatabase db(dir.mainFile(), SqliteDatabase::Mode::ReadOnly);
        EXPECT_EQ(db.queryNative("SELECT COUNT(*) FROM [Estimated Tax Payments] WHERE [Taxpayer Number]=1 AND "
                                 "[Tax Year End]='2005-12-31'")
                      .value(0, 0)
                      .toInt(),
                  2);
        EXPECT_EQ(db.queryNative("SELECT COUNT(*) FROM [Estimated Tax Payments] WHERE [Taxpayer Number]=2 AND "
                                 "[Tax Year End] IS NULL")
                      .value(0, 0)
                      .toInt(),
                  1);
        EXPECT_EQ(db.queryNative("SELECT [Row] FROM [Estimated Tax Data]").value(0, 0).toInt(), 1);
    }

    DataDir target;
    const QString saved = target.path("ben-layout4.mdb");
    makeLayout4(saved);
    {
        SqliteDatabase db(saved, SqliteDatabase::Mode::Foreign);
        db.execNative("DELETE FROM [Basic Taxpayer Data] WHERE [Taxpayer Number]=2");
        db.execNative("DELETE FROM [Estimated Tax Payments] WHERE [Taxpayer Number]=2");
        db.execNative("UPDATE [Basic Taxpayer Data] SET [Taxpayer Number]=7");
        db.execNative("UPDATE [Estimated Tax Data] SET [Taxpayer Number]=7");
        db.execNative("UPDATE [Estimated Tax Payments] SET [Taxpayer Number]=7");
    }
    ASSERT_EQ(TaxpayerTransfer::retrieve(saved, target.mainFile()), TaxpayerTransfer::Outcome::Copied);
    SqliteDatabase db(target.mainFile(), SqliteDatabase::Mode::ReadOnly);
    EXPECT_EQ(db.queryNative("SELECT COUNT(*) FROM [Estimated Tax Payments] WHERE [Taxpayer Number]=7 AND "
                             "[Tax Year End]='2005-12-31'")
                  .value(0, 0)
                  .toInt(),
              2);
    EXPECT_EQ(layoutOf(saved), 4); // the saved file itself is only read
}

// Layout 6 adds the client code, the refunds and the rate on a corporate overpayment above $10,000: a database of
// layout 5 keeps its taxpayers (with no client code) and gets the shipped rates of the new table, from 1995 on.
TEST(Layouts, LayoutSixAddsClientsRefundsAndTheLowerCorporateRate) {
    DataDir dir;
    QFile::remove(dir.mainFile());
    {
        SqliteDatabase db(dir.mainFile(), SqliteDatabase::Mode::Create);
        for (const QString& statement : Schema::createStatements(5))
            db.execNative(statement);
        db.execNative("INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name]) VALUES(3,'Kept')");
    }
    { SqliteDatabase db(dir.mainFile()); }
    ASSERT_EQ(layoutOf(dir.mainFile()), Schema::version);
    SqliteDatabase db(dir.mainFile(), SqliteDatabase::Mode::ReadOnly);
    const RecordSet kept = db.queryNative("SELECT [Taxpayer Name],[Client Code] FROM [Basic Taxpayer Data]");
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept.value(0, 0).toString(), "Kept");
    EXPECT_FALSE(kept.value(0, 1).isValid());
    EXPECT_EQ(db.queryNative("SELECT COUNT(*) FROM [Refund Table]").value(0, 0).toInt(), 0);
    const RecordSet first = db.queryNative("SELECT [Beginning Date],[Interest Rate] FROM [Large Corporate Overpayment "
                                           "Interest Table] ORDER BY [Beginning Date] LIMIT 1");
    EXPECT_EQ(first.value(0, 0).toString(), "1995-01-01");
    EXPECT_DOUBLE_EQ(first.value(0, 1).toDouble(), 0.065);
}
