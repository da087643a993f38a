#include "Schema.h"
#include "SqliteDatabase.h"
#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <sys/stat.h>

// Two processes on one data folder (the window and a script, or two users), and files that are not what their names
// say: nothing is lost, no message misleads, and nothing hangs.
namespace {

QProcess* start(const QStringList& args) {
    auto* p = new QProcess;
    p->start(QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"), args);
    return p;
}

int layoutOf(const QString& file) {
    SqliteDatabase db(file, SqliteDatabase::Mode::Foreign);
    return db.queryNative("PRAGMA user_version").value(0, 0).toInt();
}

// Holds `file` locked, as another program writing to it does, for as long as it lives.
class Lock {
public:
    explicit Lock(const QString& file) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "lock");
        db.setDatabaseName(file);
        db.open();
        QSqlQuery(db).exec("BEGIN EXCLUSIVE");
    }
    ~Lock() {
        {
            QSqlDatabase db = QSqlDatabase::database("lock");
            QSqlQuery(db).exec("ROLLBACK");
            db.close();
        }
        QSqlDatabase::removeDatabase("lock");
    }
};

} // namespace

// Two saves of different taxpayers to one file at once used to share TARGET.part: one said Done while the file held
// no taxpayer, or two. Each now writes a file of its own and renames it whole.
TEST(TwoProcesses, TwoSavesToOneFileEachWriteAWholeFile) {
    DataDir dir;
    {
        SqliteDatabase db(dir.mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('First')");
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Second')");
    }
    const QString target = dir.path("shared.mdb");
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        std::unique_ptr<QProcess> one(start({"--data-dir", dir.newpath(), "--save-taxpayer", "1", target}));
        std::unique_ptr<QProcess> two(start({"--data-dir", dir.newpath(), "--save-taxpayer", "2", target}));
        for (QProcess* p : {one.get(), two.get()}) {
            ASSERT_TRUE(p->waitForFinished(30000));
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
            EXPECT_EQ(p->readAllStandardOutput(), "Done\n");
        }
        SqliteDatabase saved(target, SqliteDatabase::Mode::ReadOnly);
        const RecordSet held = saved.query("SELECT [Taxpayer Number] FROM [Basic Taxpayer Data]");
        ASSERT_EQ(held.size(), 1);
        const int number = held.value(0, 0).toInt();
        EXPECT_TRUE(number == 1 || number == 2);
    }
    EXPECT_EQ(QDir(dir.path(".")).entryList({"shared.mdb*"}, QDir::Files | QDir::Hidden), QStringList{"shared.mdb"});
}

// Two processes opening a file of an older layout at once: one upgrades it, the other waits and finds it done;
// neither says "disk I/O error" or "table already exists".
TEST(TwoProcesses, TwoUpgradesAtOnceLeaveOneUpgradedFileAndNoError) {
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        DataDir dir;
        QFile::remove(dir.mainFile());
        makeDatabase(dir.mainFile(), testData("layout1/kelvadat.sql"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
            db.setDatabaseName(dir.mainFile());
            db.open();
            QSqlQuery(db).exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],"
                               "[End Date],[Initial Balance]) VALUES('Old','2005-04-15','2005-12-31',1000.0)");
            db.close();
        }
        QSqlDatabase::removeDatabase("fill");
        const QStringList args = {"--data-dir", dir.newpath(), "--taxpayer", "1", "--report", "summary"};
        std::unique_ptr<QProcess> one(start(args)), two(start(args));
        for (QProcess* p : {one.get(), two.get()}) {
            ASSERT_TRUE(p->waitForFinished(60000));
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
            EXPECT_EQ(p->readAllStandardError(), "");
        }
        EXPECT_EQ(layoutOf(dir.mainFile()), Schema::version);
        EXPECT_EQ(layoutOf(dir.path("bak_v1_kelvadat.mdb")), 1);
        EXPECT_EQ(integrityCheck(dir.mainFile()), "ok");
    }
}

// A database another program holds locked is "in use", and the whole book ends with that instead of lines of it.
TEST(TwoProcesses, ALockHeldByAnotherProgramIsSaidAsSuch) {
    DataDir dir;
    {
        SqliteDatabase db(dir.mainFile());
        db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
                "[Initial Balance]) VALUES('Held',#4/15/2005#,#12/31/2005#,1000)");
    }
    QFile::copy(dir.mainFile(), dir.path("saved.mdb"));
    const Lock lock(dir.mainFile());
    const QStringList runs[] = {{"--taxpayer", "1", "--report", "interest"},
                                {"--all", "--report", "summary", "--csv", dir.path("book.csv")},
                                {"--retrieve", dir.path("saved.mdb")}};
    for (const QStringList& args : runs) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProcessResult r = runTalvoro(QStringList{"--data-dir", dir.newpath()} + args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("is in use by another program")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("not a database of this program")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.path("book.csv")));
}

// A pipe as the rates file waited for ever, and /dev/zero ended in an uncaught bad_alloc: both are refused at once.
TEST(TwoProcesses, ARatesFileThatIsNotAFileIsRefusedAtOnce) {
    DataDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path("rates.csv")).constData(), 0600), 0);
    for (const QString& file : {dir.path("rates.csv"), QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(file.toStdString());
        const ProcessResult r = runTalvoro({"--data-dir", dir.newpath(), "--update-rates", file}, 10000);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("is not a regular file")) << r.err.toStdString();
    }
}
