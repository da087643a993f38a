#include "Schema.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TaxpayerTransfer.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QFile>

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
