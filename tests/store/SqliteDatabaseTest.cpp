#include "SqliteDatabase.h"
#include "Schema.h"
#include "Settings.h"
#include "SqlText.h"
#include "StoreError.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QString errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StoreError& e) {
        return e.message();
    }
    return QString();
}

} // namespace

TEST(OpeningTheStore, AMissingFileFailsClearlyAndIsNotCreated) {
    DataDir dir;
    const QString missing = dir.path("nothing/kelvadat.mdb");
    const QString message = errorOf([&] { SqliteDatabase db(missing); });
    EXPECT_TRUE(message.contains("does not exist")) << message.toStdString();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(missing)));
    EXPECT_FALSE(QFile::exists(missing));

    // A "Newpath" without its trailing separator glues the file name to the folder's name.
    const QString glued = Settings::databasePath(dir.newpath().chopped(1));
    EXPECT_TRUE(glued.endsWith("kelvadat.mdb") && !glued.endsWith("/kelvadat.mdb"));
    EXPECT_THROW(SqliteDatabase db(glued), StoreError);
    EXPECT_FALSE(QFile::exists(glued));
}

TEST(OpeningTheStore, FilesThatAreNotOurDatabasesAreRefused) {
    DataDir dir;
    const QString text = dir.path("notes.mdb");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    QString message = errorOf([&] { SqliteDatabase db(text); });
    EXPECT_TRUE(message.contains("not a database of this program")) << message.toStdString();

    // Another program's database; and one that carries this program's mark and layout but lacks a table.
    const QString other = dir.path("other.mdb");
    {
        SqliteDatabase db(other, SqliteDatabase::Mode::Create);
        db.execNative("CREATE TABLE [Payment Table](x)");
    }
    message = errorOf([&] { SqliteDatabase db(other); });
    EXPECT_TRUE(message.contains("not a database of this program")) << message.toStdString();
    {
        SqliteDatabase db(other, SqliteDatabase::Mode::Foreign);
        db.execNative(QStringLiteral("PRAGMA application_id = %1").arg(Schema::applicationId));
        db.execNative(QStringLiteral("PRAGMA user_version = %1").arg(Schema::version));
    }
    message = errorOf([&] { SqliteDatabase db(other); });
    EXPECT_TRUE(message.contains("it has no table [Basic Taxpayer Data]")) << message.toStdString();

    const QString empty = dir.path("empty.mdb");
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_THROW(SqliteDatabase db(empty), StoreError);
}

TEST(OpeningTheStore, ReadOnlyConnectionsWriteNothing) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile(), SqliteDatabase::Mode::ReadOnly);
    EXPECT_THROW(db.exec("DELETE * FROM [Interest Table]"), StoreError);
}

// Names with apostrophes, quotes and other characters go through every statement as one literal.
TEST(StatementsOnTheStore, AnyNameIsOneLiteral) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    const QStringList names = {
        "O'Brien", "Smith \"Jr\"", "100% Co.", "Zoë Ærø", "'; DELETE * FROM [Interest Table]; --", "#1/1/2000#"};
    for (const auto& name : names)
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return]) VALUES(" +
                SqlText::quote(name) + "," + SqlText::date(QDate(2005, 4, 15)) + ")");
    for (const auto& name : names) {
        const RecordSet rows =
            db.query("select * from [Basic Taxpayer Data] WHERE [Taxpayer Name]=" + SqlText::quote(name));
        ASSERT_EQ(rows.size(), 1) << name.toStdString();
        EXPECT_EQ(rows.value(0, "Taxpayer Name").toString(), name);
        EXPECT_EQ(rows.value(0, "Original Due Date Of Return").toDate(), QDate(2005, 4, 15));
    }
    EXPECT_GT(db.query("select * FROM [Interest Table]").size(), 0);
}

TEST(StatementsOnTheStore, DateLiteralsCompareAsDates) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    for (const QDate d : {QDate(2004, 12, 31), QDate(2005, 1, 1), QDate(2005, 10, 2), QDate(2005, 9, 30)})
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Date Of Payment]) VALUES(7," + SqlText::date(d) + ")");
    // Text order of m/d/yyyy would put 10/2/2005 before 9/30/2005; the stored form orders by date.
    const RecordSet rows = db.query("SELECT * FROM [Payment Table] WHERE [Date Of Payment]<=#9/30/2005# And "
                                    "[Taxpayer Number]=7 ORDER BY [Date Of Payment]");
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.value(0, "Date Of Payment").toDate(), QDate(2004, 12, 31));
    EXPECT_EQ(rows.value(2, "Date Of Payment").toDate(), QDate(2005, 9, 30));
}

TEST(StatementsOnTheStore, ATransactionIsWrittenWholeOrNotAtAll) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    const QString before = dumpTable(dir.mainFile(), "Event Table");
    try {
        Transaction t(db);
        db.exec("DELETE * FROM [Interest Table]");
        db.exec("INSERT INTO [Event Table]([Date]) VALUES(#2/30/2005#)"); // not a date: fails
        t.commit();
        FAIL() << "the bad date was accepted";
    } catch (const StoreError&) {
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_GT(db.query("select * FROM [Interest Table]").size(), 150);
    EXPECT_EQ(dumpTable(dir.mainFile(), "Event Table"), before);
}

TEST(StatementsOnTheStore, AnotherFileCannotBeOpenedInsideATransaction) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    Transaction t(db);
    EXPECT_THROW(db.exec("INSERT INTO [Interest Table] IN " + SqlText::quote(dir.templateFile()) +
                         " 'Access' SELECT * FROM [Interest Table]"),
                 StoreError);
}

TEST(StatementsOnTheStore, AnInClauseNeverCreatesAFile) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    const QString missing = dir.path("missing.mdb");
    EXPECT_THROW(db.exec("INSERT INTO [Interest Table] IN " + SqlText::quote(missing) +
                         " 'Access' SELECT * FROM [Interest Table]"),
                 StoreError);
    EXPECT_FALSE(QFile::exists(missing));
}

// A refused statement is said in words: the message names the file and what to do, never the SQL; what SQLite said
// and the statement are the details, for the error report. A damaged file names the backup copies beside it.
TEST(StatementsOnTheStore, RefusalsAreSaidWithoutTheirStatement) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    try {
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Amount Of Payment]) VALUES(1,'lots')");
        FAIL() << "text in an amount was accepted";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.message().startsWith("Could not write to the database")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("a value is not one the database takes")) << e.message().toStdString();
        for (const char* sql : {"INSERT", "[Payment Table]", "CHECK", "typeof"})
            EXPECT_FALSE(e.message().contains(sql)) << sql;
        EXPECT_TRUE(e.details().contains("Statement: INSERT INTO [Payment Table]")) << e.details().toStdString();
        EXPECT_TRUE(e.details().contains("constraint")) << e.details().toStdString();
    }

    QFile::copy(dir.mainFile(), dir.path("bak_2_kelvadat.mdb"));
    const QString said = damaged(dir.mainFile());
    EXPECT_TRUE(said.contains("is damaged")) << said.toStdString();
    EXPECT_TRUE(said.contains("bak_2_kelvadat.mdb (")) << said.toStdString();
    QFile::remove(dir.path("bak_2_kelvadat.mdb"));
    EXPECT_TRUE(damaged(dir.mainFile()).contains("There is no backup copy of it in its folder"));
}
