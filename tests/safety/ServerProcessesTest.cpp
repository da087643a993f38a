#include "Names.h"
#include "PostgresDatabase.h"
#include "ScratchServer.h"
#include "ServerTransfer.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Several users, each in a process of their own, on one firm's server: nobody's typing is lost, nobody's report shows
// another's run, and the server refuses what a role may not do while the program says why.
namespace {

QString readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class ServerProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ScratchServer::available())
            GTEST_SKIP() << "no test server (scripts/test-server)";
        name = QStringLiteral("p_%1_%2")
                   .arg(QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name())
                            .toLower()
                            .left(40))
                   .arg(QCoreApplication::applicationPid());
        address = ScratchServer::create(name);
    }
    void TearDown() override {
        if (!name.isEmpty())
            ScratchServer::drop(name);
    }
    // A firm's book in the data folder's file, and the same on the server.
    void fillBook(int taxpayers) {
        {
            SqliteDatabase file(dir.mainFile());
            Transaction t(file);
            std::vector<QVariantList> rows, payments;
            for (int i = 1; i <= taxpayers; ++i) {
                const QDate due(2015 + i % 8, 4, 15);
                rows.push_back({i, i == 1 ? injection : QStringLiteral("Client %1").arg(i), due, due,
                                due.addDays(i % 200), QDate(2025, 12, 31), 1000.0 + i * 37.13, i % 3 != 0, i % 2 == 0,
                                due.addDays(i % 200 + 30)});
                payments.push_back({i, QStringLiteral("Payment"), due.addDays(45 + i % 90), 250.0 + i % 500});
            }
            file.insertRows(Tables::basicTaxpayerData,
                            {Columns::taxpayerNumber, Columns::taxpayerName, Columns::originalDueDateOfReturn,
                             Columns::extendedDueDateOfReturn, Columns::dateReturnFiled, Columns::endDate,
                             Columns::initialBalance, Columns::calculateFailureToFilePenalty,
                             Columns::calculateFailureToPayPenalty, Columns::assessmentDateForFailureToPayPenalty},
                            rows);
            file.insertRows(Tables::payments,
                            {Columns::taxpayerNumber, Columns::event, Columns::dateOfPayment, Columns::amountOfPayment},
                            payments);
            t.commit();
        }
        PostgresDatabase server(address);
        ServerTransfer::copyWholeFile(dir.mainFile(), server);
    }
    QStringList onServer(QStringList args) const {
        return QStringList{QStringLiteral("--data-dir"), dir.path(QString()), QStringLiteral("--server"),
                           address.text()} +
               args;
    }
    QStringList onFile(QStringList args) const {
        return QStringList{QStringLiteral("--data-dir"), dir.path(QString())} + args;
    }

    const QString injection = QStringLiteral("x'); DROP TABLE \"Payment Table\"; --");
    DataDir dir;
    QString name;
    ServerAddress address;
};

std::unique_ptr<QProcess> start(const QString& program, const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral(TALVORO_BIN_DIR "/") + program, args);
    return p;
}

} // namespace

// Two users edit one taxpayer: the first save is written; the second is told who changed it and when, writes
// nothing, and keeps what was typed.
TEST_F(ServerProcesses, TwoUsersEditingOneTaxpayerLoseNothing) {
    {
        PostgresDatabase db(address);
        db.insertRows(Tables::basicTaxpayerData, {Columns::taxpayerName}, {{QStringLiteral("As Shown")}});
    }
    const ServerAddress staff = ScratchServer::asStaff(address);
    auto first =
        start(QStringLiteral("talvoro-test-edit"), {address.text(), QStringLiteral("1"), QStringLiteral("First's")});
    auto second =
        start(QStringLiteral("talvoro-test-edit"), {staff.text(), QStringLiteral("1"), QStringLiteral("Second's")});
    for (QProcess* p : {first.get(), second.get()}) {
        ASSERT_TRUE(p->waitForReadyRead(20000));
        EXPECT_EQ(QString::fromUtf8(p->readLine()).trimmed(), "shown As Shown");
    }
    first->write("\n");
    first->closeWriteChannel();
    ASSERT_TRUE(first->waitForFinished(20000));
    second->write("\n");
    second->closeWriteChannel();
    ASSERT_TRUE(second->waitForFinished(20000));
    EXPECT_EQ(QString::fromUtf8(first->readAllStandardOutput()), "saved\ntyped First's\n");
    const QString told = QString::fromUtf8(second->readAllStandardOutput());
    EXPECT_TRUE(told.startsWith(QStringLiteral("Taxpayer 1 was changed by %1 at ").arg(address.value("user"))))
        << told.toStdString();
    EXPECT_TRUE(told.contains(". Reload it?\ntyped Second's\n")) << told.toStdString();
    PostgresDatabase db(address);
    EXPECT_EQ(db.query(Sql::selectTaxpayerName(1)).value(0, 0).toString(), "First's");
}

// Reports run at once each show their own run's rows; eight whole books at once on the server are the file's.
TEST_F(ServerProcesses, RunsAtOnceEachHaveTheirOwnRowsAndMatchTheFile) {
    fillBook(1000);
    // One report each of two taxpayers, on the file and then on the server all at once.
    std::vector<std::pair<int, QString>> expected;
    for (const int n : {2, 7}) {
        const QString csv = dir.path(QStringLiteral("file-%1.csv").arg(n));
        ASSERT_EQ(runTalvoro(onFile({"--taxpayer", QString::number(n), "--report", "interest", "--csv", csv})).exitCode,
                  0);
        expected.push_back({n, readFile(csv)});
    }
    std::vector<std::unique_ptr<QProcess>> reports;
    for (int round = 0; round < 3; ++round)
        for (const auto& [n, text] : expected)
            reports.push_back(start(QStringLiteral("talvoro-run"),
                                    onServer({"--taxpayer", QString::number(n), "--report", "interest", "--csv",
                                              dir.path(QStringLiteral("server-%1-%2.csv").arg(n).arg(round))})));
    for (auto& p : reports) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    for (int round = 0; round < 3; ++round)
        for (const auto& [n, text] : expected)
            EXPECT_EQ(readFile(dir.path(QStringLiteral("server-%1-%2.csv").arg(n).arg(round))), text);

    const QString bookFile = dir.path(QStringLiteral("book-file.csv"));
    ASSERT_EQ(runTalvoro(onFile({"--all", "--report", "summary", "--csv", bookFile}), 300000).exitCode, 0);
    const QString book = readFile(bookFile);
    EXPECT_GT(book.count(QLatin1Char('\n')), 1000);
    EXPECT_TRUE(book.contains(QStringLiteral("\"x'); DROP TABLE \"\"Payment Table\"\"; --\"")));
    std::vector<std::unique_ptr<QProcess>> books;
    for (int i = 0; i < 8; ++i)
        books.push_back(
            start(QStringLiteral("talvoro-run"), onServer({"--all", "--report", "summary", "--csv",
                                                           dir.path(QStringLiteral("book-server-%1.csv").arg(i))})));
    for (auto& p : books) {
        ASSERT_TRUE(p->waitForFinished(600000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    }
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(readFile(dir.path(QStringLiteral("book-server-%1.csv").arg(i))), book) << "run " << i;
}

// The server refuses a staff user's change of a rate, and the program says why; a wrong password, a stopped server
// and an unknown database each say what to do.
TEST_F(ServerProcesses, WhatTheServerRefusesIsSaid) {
    QStringList staff = onServer({"--update-rates"});
    staff[3] = ScratchServer::asStaff(address).text();
    {
        PostgresDatabase db(address);
        db.exec(QStringLiteral("DELETE * FROM [Interest Table] WHERE [Beginning Date] >= #1/1/2025#"));
    }
    ProcessResult r = runTalvoro(staff);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), PostgresDatabase::ratesRefused());
    EXPECT_EQ(runTalvoro(onServer({"--update-rates"})).exitCode, 0);

    QTemporaryDir nowhere;
    ServerAddress stopped = address;
    stopped.set(QStringLiteral("host"), nowhere.path());
    r = runTalvoro({"--server", stopped.text(), "--taxpayer", "1", "--report", "interest"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("could not be reached")) << r.err.toStdString();
    ServerAddress unknown = address;
    unknown.set(QStringLiteral("dbname"), QStringLiteral("not_a_firm"));
    r = runTalvoro({"--server", unknown.text(), "--history", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("has no database \"not_a_firm\"")) << r.err.toStdString();
    // A password given on the command line is used, never kept.
    r = runTalvoro({"--server", address.text() + QStringLiteral(" password=not-the-password"), "--history", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("refused the password")) << r.err.toStdString();
}
