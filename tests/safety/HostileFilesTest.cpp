#include "SqliteDatabase.h"
#include "TaxpayerTransfer.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// Files from elsewhere, through `talvoro-run --retrieve` as a user would script it: whatever a file holds, the
// retrieve ends within ten seconds with a message, exit status 1, and kelvadat.mdb byte for byte as it was.
namespace {

struct RunResult {
    int exitCode;
    QString out, err;
    qint64 ms;
};

RunResult talvoroRun(const QStringList& args) {
    QElapsedTimer clock;
    clock.start();
    QProcess p;
    p.start(QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"), args);
    if (!p.waitForFinished(30000))
        p.kill();
    p.waitForFinished();
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError()),
            clock.elapsed()};
}

QByteArray hashOf(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

// Writes into a transfer file as a hostile program would: without this program's connection, its defenses or its
// checks.
void raw(const QString& file, const QStringList& statements) {
    const QString name = QStringLiteral("raw-%1").arg(quintptr(&file));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const auto& s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString() << ": " << q.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

// A genuine saved taxpayer: number 9105 with a payment, a deposit and a charge, written by the program's own Save.
QString genuine(const DataDir& dir, const QString& name) {
    DataDir source;
    raw(source.mainFile(),
        {"INSERT INTO [Basic Taxpayer Data]([Taxpayer Number],[Taxpayer Name],[Original Due Date Of Return],"
         "[End Date],[Initial Balance]) VALUES(9105,'Visitor','2005-04-15','2005-12-31',10000.0)",
         "INSERT INTO [Payment Table]([Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],"
         "[Amount Of Payment],[Payment Allocated To Tax]) VALUES(9105,'Visitor','Payment','2005-07-01',100.0,100.0)",
         "INSERT INTO [Required Payroll Tax Deposits]([Taxpayer Number],[Event],[Deposit Due Date],[Required Deposit]) "
         "VALUES(9105,'Liability','2005-05-15',50.0)",
         "INSERT INTO [Additional Charges]([Taxpayer Number],[Event],[Date Interest Starts],[Charge Unclassified]) "
         "VALUES(9105,'Other Charge','2005-08-01',25.0)",
         "INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax]) "
         "VALUES(9105,'2005-12-31',7031.0)",
         "INSERT INTO [Estimated Tax Payments]([Taxpayer Number],[Date Of Payment],[Amount Of Payment]) "
         "VALUES(9105,'2005-09-02',1000.0)"});
    const QString file = dir.path(name);
    TaxpayerTransfer::save(source.mainFile(), source.templateFile(), file, 9105);
    return file;
}

struct Hostile {
    const char* what;
    std::function<QString(const DataDir&)> make; // returns the file to retrieve
    const char* says;                            // a part of the message
};

QString bypassing(const DataDir& dir, const QString& name, const QString& statement) {
    const QString file = genuine(dir, name);
    raw(file, {"PRAGMA ignore_check_constraints = ON", statement});
    return file;
}

const Hostile hostiles[] = {
    {"text in an amount",
     [](const DataDir& d) {
         return bypassing(d, "text.mdb", "UPDATE [Basic Taxpayer Data] SET [Initial Balance]='ten thousand'");
     },
     "[Basic Taxpayer Data].[Initial Balance] holds \"ten thousand\", which is not an amount"},
    {"a 5,000-character name",
     [](const DataDir& d) {
         return bypassing(d, "long.mdb", "UPDATE [Basic Taxpayer Data] SET [Taxpayer Name]=printf('%.5000c', 'x')");
     },
     "[Basic Taxpayer Data].[Taxpayer Name] holds \"xxxx"},
    {"a 40 MB name",
     [](const DataDir& d) {
         return bypassing(d, "huge.mdb", "UPDATE [Basic Taxpayer Data] SET [Taxpayer Name]=printf('%.40000000c', 'x')");
     },
     "which is not a text of at most 150 characters"},
    {"02/30 as a date",
     [](const DataDir& d) {
         return bypassing(d, "date.mdb", "UPDATE [Payment Table] SET [Date Of Payment]='2005-02-30'");
     },
     "[Payment Table].[Date Of Payment] holds \"2005-02-30\", which is not a date"},
    {"a blob as a name",
     [](const DataDir& d) {
         return bypassing(d, "blob.mdb", "UPDATE [Basic Taxpayer Data] SET [Taxpayer Name]=x'00ff00ff'");
     },
     "holds binary data"},
    {"an amount beyond the largest",
     [](const DataDir& d) { return bypassing(d, "big.mdb", "UPDATE [Payment Table] SET [Amount Of Payment]=9.3e16"); },
     "[Payment Table].[Amount Of Payment] holds \"9.3e+16\", which is not an amount of at most 999,999,999,999.99"},
    {"text in an estimated payment",
     [](const DataDir& d) {
         return bypassing(d, "estimated.mdb", "UPDATE [Estimated Tax Payments] SET [Amount Of Payment]='a thousand'");
     },
     "[Estimated Tax Payments].[Amount Of Payment] holds \"a thousand\", which is not an amount"},
    {"estimated figures of another taxpayer",
     [](const DataDir& d) {
         const QString f = genuine(d, "estimated-other.mdb");
         raw(f, {"UPDATE [Estimated Tax Data] SET [Taxpayer Number]=1"});
         return f;
     },
     "[Estimated Tax Data] holds a row of taxpayer 1, which the file does not hold"},
    {"a taxpayer number beyond 32 bits",
     [](const DataDir& d) {
         const QString f = genuine(d, "wide.mdb");
         raw(f, {"UPDATE [Basic Taxpayer Data] SET [Taxpayer Number]=4294967301",
                 "UPDATE [Payment Table] SET [Taxpayer Number]=NULL", "DELETE FROM [Required Payroll Tax Deposits]",
                 "DELETE FROM [Additional Charges]"});
         return f;
     },
     "[Basic Taxpayer Data].[Taxpayer Number] holds \"4294967301\", which is not a whole number from 1 to "
     "2,147,483,647"},
    {"a payment's taxpayer number beyond 32 bits",
     [](const DataDir& d) {
         return bypassing(d, "wide-payment.mdb", "UPDATE [Payment Table] SET [Taxpayer Number]=4294967301");
     },
     "[Payment Table].[Taxpayer Number] holds \"4294967301\""},
    {"a payment of another taxpayer",
     [](const DataDir& d) {
         const QString f = genuine(d, "stray.mdb");
         raw(f, {"UPDATE [Payment Table] SET [Taxpayer Number]=1"});
         return f;
     },
     "[Payment Table] holds a row of taxpayer 1, which the file does not hold"},
    {"a view in place of a table, on a query that never ends",
     [](const DataDir& d) {
         const QString f = genuine(d, "view.mdb");
         raw(f, {"DROP TABLE [Basic Taxpayer Data]",
                 "CREATE VIEW [Basic Taxpayer Data] AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
                 "SELECT i AS [Taxpayer Number], 'x' AS [Taxpayer Name] FROM n"});
         return f;
     },
     "is not a database of this program"},
    {"a view that reads the main file's name",
     [](const DataDir& d) {
         const QString f = genuine(d, "spy.mdb");
         raw(f, {"ALTER TABLE [Basic Taxpayer Data] RENAME TO [Real Data]",
                 "CREATE VIEW [Basic Taxpayer Data] AS SELECT [Taxpayer Number], (SELECT group_concat(file) FROM "
                 "pragma_database_list) AS [Taxpayer Name] FROM [Real Data]"});
         return f;
     },
     "is not a database of this program"},
    {"a trigger",
     [](const DataDir& d) {
         const QString f = genuine(d, "trigger.mdb");
         raw(f, {"CREATE TRIGGER t AFTER INSERT ON [Payment Table] BEGIN DELETE FROM [Payment Table]; END"});
         return f;
     },
     "is not a database of this program"},
    {"a table of another program",
     [](const DataDir& d) {
         const QString f = genuine(d, "extra.mdb");
         raw(f, {"CREATE TABLE [Stuff](a)"});
         return f;
     },
     "is not a database of this program"},
    {"another application id",
     [](const DataDir& d) {
         const QString f = genuine(d, "foreign.mdb");
         raw(f, {"PRAGMA application_id = 42"});
         return f;
     },
     "is not a database of this program"},
    {"a newer layout",
     [](const DataDir& d) {
         const QString f = genuine(d, "newer.mdb");
         raw(f, {"PRAGMA user_version = 99"});
         return f;
     },
     "was made by a newer Talvoro (layout 99)"},
    {"a damaged file",
     [](const DataDir& d) {
         const QString f = genuine(d, "damaged.mdb");
         QFile file(f);
         file.resize(file.size() / 2); // the pages of its last tables gone
         return f;
     },
     "cannot be retrieved"},
    {"a letter",
     [](const DataDir& d) {
         QFile f(d.path("letter.mdb"));
         f.open(QIODevice::WriteOnly);
         f.write(QByteArray("Dear client,\n").repeated(20));
         return f.fileName();
     },
     "is not a database of this program"},
    {"an empty file",
     [](const DataDir& d) {
         QFile f(d.path("empty.mdb"));
         f.open(QIODevice::WriteOnly);
         return f.fileName();
     },
     "is not a database of this program"},
    {"a directory", [](const DataDir& d) { return d.path(""); }, "is not a database of this program"},
    {"a FIFO",
     [](const DataDir& d) {
         const QString f = d.path("pipe.mdb");
         ::mkfifo(QFile::encodeName(f).constData(), 0600);
         return f;
     },
     "is not a database of this program"},
    {"a device", [](const DataDir&) { return QStringLiteral("/dev/zero"); }, "is not a database of this program"},
};

} // namespace

TEST(HostileFiles, AreRefusedQuicklyAndChangeNothing) {
    for (const auto& h : hostiles) {
        SCOPED_TRACE(h.what);
        DataDir dir;
        const QString file = h.make(dir);
        const QByteArray before = hashOf(dir.mainFile());
        const RunResult r = talvoroRun({"--data-dir", dir.newpath(), "--retrieve", file});
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(h.says))) << r.err.toStdString();
        EXPECT_LT(r.ms, 10000);
        EXPECT_EQ(hashOf(dir.mainFile()), before);
    }
}

// The genuine file the hostile ones were made from is retrieved; and once its number is in the database, it is
// refused with the two lines of the dialog.
TEST(HostileFiles, AGenuineFileIsRetrievedOnce) {
    DataDir dir;
    const QString file = genuine(dir, "visitor.mdb");
    const RunResult r = talvoroRun({"--data-dir", dir.newpath(), "--retrieve", file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(dumpTable(dir.mainFile(), "Basic Taxpayer Data").section('|', 0, 1), "9105|Visitor");
    const RunResult again = talvoroRun({"--data-dir", dir.newpath(), "--retrieve", file});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, "Cannot copy this taxpayer.\nA taxpayer with this number already exists.\n");

    // Saved again from here, by number: the same file, and an unknown number is a bad argument.
    const RunResult saved = talvoroRun({"--data-dir", dir.newpath(), "--save-taxpayer", "9105", dir.path("again")});
    EXPECT_EQ(saved.exitCode, 0) << saved.err.toStdString();
    EXPECT_EQ(dumpTable(dir.path("again.mdb"), "Payment Table"), dumpTable(file, "Payment Table"));
    EXPECT_EQ(talvoroRun({"--data-dir", dir.newpath(), "--save-taxpayer", "77", dir.path("x")}).exitCode, 2);
}

// A genuine file in WAL mode on read-only media is read, not refused. Needs a mount, which needs root (CI is root).
TEST(HostileFiles, AFileInWalModeOnReadOnlyMediaIsRead) {
    QTemporaryDir media;
    if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(media.path()).constData(), "tmpfs", 0, "size=4m") != 0)
        GTEST_SKIP() << "mounting needs root";
    DataDir dir;
    const QString file = genuine(dir, "wal.mdb");
    raw(file, {"PRAGMA journal_mode = WAL"});
    const QString onMedia = media.path() + "/wal.mdb";
    ASSERT_TRUE(QFile::copy(file, onMedia));
    ASSERT_EQ(::mount("tmpfs", QFile::encodeName(media.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=4m"),
              0);
    const RunResult r = talvoroRun({"--data-dir", dir.newpath(), "--retrieve", onMedia});
    ::umount(QFile::encodeName(media.path()).constData());
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

// A data folder whose name is not valid UTF-8 is named in the message by its own bytes.
TEST(HostileFiles, AFolderNameThatIsNotUtf8IsNamedAsItIs) {
    QTemporaryDir top;
    const QByteArray folder = QFile::encodeName(top.path()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    QProcess p;
    p.start(QStringLiteral("/bin/sh"), {"-c",
                                        "exec \"$0\" --data-dir \"$(printf '%s/caf\\351' \"$1\")\" "
                                        "--taxpayer 1 --report summary",
                                        QStringLiteral(TALVORO_BIN_DIR "/talvoro-run"), top.path()});
    p.waitForFinished(30000);
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains(folder)) << "the folder's own bytes";
    ::rmdir(folder.constData()); // a name Qt cannot remove for the temporary folder
}

// Exports on a full disk (a small file system mounted for the test: CI runs as root) fail with the reason, exit 1,
// and leave the previous files as they were; a part left by a killed export does not disturb the next one, which writes
// a part of its own (another export may be writing that one).
TEST(Exports, AFullDiskIsAFailureAndKeepsThePreviousFiles) {
    DataDir dir;
    raw(dir.mainFile(), {"INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],[End Date],"
                         "[Initial Balance]) VALUES('Exporter','2005-04-15','2005-12-31',10000.0)"});
    const QStringList interest = {"--data-dir", dir.newpath(), "--taxpayer", "1", "--report", "interest"};
    ASSERT_EQ(talvoroRun(interest + QStringList{"--pdf", dir.path("old.pdf"), "--csv", dir.path("old.csv")}).exitCode,
              0);
    QFile(dir.path("old.csv")).open(QIODevice::Append);
    {
        QFile stale(dir.path("fresh.csv.part"));
        stale.open(QIODevice::WriteOnly);
        stale.write("left by a killed export");
    }
    EXPECT_EQ(talvoroRun(interest + QStringList{"--csv", dir.path("fresh.csv")}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(dir.path("fresh.csv")));
    EXPECT_EQ(QDir(dir.path(".")).entryList({"fresh.csv.*.part"}, QDir::Files | QDir::Hidden), QStringList());

    QTemporaryDir disk;
    const QByteArray mountPoint = QFile::encodeName(disk.path());
    if (::geteuid() != 0 || ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "mounting needs root";
    for (const char* f : {"old.pdf", "old.csv"})
        ASSERT_TRUE(QFile::copy(dir.path(f), disk.path() + "/report" + QString(f).mid(3)));
    {
        QFile filler(disk.path() + "/filler");
        filler.open(QIODevice::WriteOnly);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush())
            ;
    }
    for (const char* kind : {"--pdf", "--csv"}) {
        SCOPED_TRACE(kind);
        const QString target = disk.path() + "/report." + QString(kind).mid(2);
        const QByteArray before = hashOf(target);
        const RunResult r = talvoroRun(interest + QStringList{kind, target});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("No space left on device")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("The previous file is kept.")) << r.err.toStdString();
        EXPECT_EQ(hashOf(target), before);
        EXPECT_EQ(QDir(disk.path()).entryList({"report.*.part"}, QDir::Files | QDir::Hidden), QStringList());
    }
    ::umount(mountPoint.constData());
}
