#include "Names.h"
#include "PostgresDatabase.h"
#include "Schema.h"
#include "ScratchServer.h"
#include "ServerSchema.h"
#include "ServerTransfer.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const StoreError& e) {
        return e.message();
    }
    return QString();
}

QString scratchName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return QStringLiteral("t_%1_%2_%3")
        .arg(QString::fromLatin1(info->name()).toLower().left(30))
        .arg(
            QString::fromLatin1(info->test_suite_name()).toLower().left(10).replace(QLatin1Char('/'), QLatin1Char('_')))
        .arg(QCoreApplication::applicationPid());
}

// A database of each engine made from the delivered file: the same statements must give the same rows on both.
class OnBothEngines : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam()) {
            if (!ScratchServer::available())
                GTEST_SKIP() << "no test server (scripts/test-server)";
            name = scratchName();
            address = ScratchServer::create(name);
            PostgresDatabase db(address);
            ServerTransfer::copyWholeFile(dir.mainFile(), db);
        }
    }
    void TearDown() override {
        if (!name.isEmpty())
            ScratchServer::drop(name);
    }
    std::unique_ptr<Database> open() {
        if (GetParam())
            return std::make_unique<PostgresDatabase>(address);
        return std::make_unique<SqliteDatabase>(dir.mainFile());
    }

    DataDir dir;
    QString name;
    ServerAddress address;
};

const QString injection = QStringLiteral("x'); DROP TABLE \"Payment Table\"; --");

} // namespace

INSTANTIATE_TEST_SUITE_P(Engines, OnBothEngines, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Server" : "File"; });

// Every kind of value comes back as it went in, exactly, by a bound insert and by a statement of the dialect; a
// name that is SQL is a name.
TEST_P(OnBothEngines, ValuesComeBackExactlyAndANameIsNeverSql) {
    auto db = open();
    db->insertRows(
        Tables::basicTaxpayerData,
        {Columns::taxpayerName, Columns::originalDueDateOfReturn, Columns::initialBalance, Columns::corporateTaxpayer},
        {{injection, QDate(2024, 4, 15), 0.1 + 0.2, true}, {QStringLiteral("O'Brien"), QVariant(), 1e-7, false}});
    db->exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[End Date],[Initial Balance]) VALUES(%1,"
                            "#12/31/2024#,%2)")
                 .arg(SqlText::quote(injection), SqlText::dbl(123456789.01)));
    const RecordSet rows = db->query(QStringLiteral("SELECT * FROM [Basic Taxpayer Data] ORDER BY [Taxpayer Number]"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.value(0, Columns::taxpayerName).toString(), injection);
    EXPECT_EQ(rows.value(0, Columns::originalDueDateOfReturn).toDate(), QDate(2024, 4, 15));
    EXPECT_EQ(rows.value(0, Columns::initialBalance).toDouble(), 0.1 + 0.2);
    EXPECT_EQ(rows.value(0, Columns::corporateTaxpayer).typeId(), QMetaType::Bool);
    EXPECT_TRUE(rows.value(0, Columns::corporateTaxpayer).toBool());
    EXPECT_FALSE(rows.value(1, Columns::originalDueDateOfReturn).isValid());
    EXPECT_EQ(rows.value(1, Columns::initialBalance).toDouble(), 1e-7);
    EXPECT_EQ(rows.value(2, Columns::taxpayerName).toString(), injection);
    EXPECT_EQ(rows.value(2, Columns::endDate).toDate(), QDate(2024, 12, 31));
    EXPECT_EQ(rows.value(2, Columns::initialBalance).toDouble(), 123456789.01);
    // The table the name would drop is there.
    EXPECT_EQ(db->query(Sql::countAllTaxpayers()).value(0, 0).toInt(), 3);
    EXPECT_NO_THROW(db->query(QStringLiteral("SELECT COUNT(*) AS n FROM [Payment Table]")));
    // A date literal compares as a date; an empty value sorts first, as in a file.
    EXPECT_EQ(db->query(QStringLiteral("SELECT [Taxpayer Name] FROM [Basic Taxpayer Data] WHERE "
                                       "[Original Due Date Of Return] < #5/1/2024#"))
                  .size(),
              1);
    const RecordSet ordered = db->query(QStringLiteral("SELECT [Taxpayer Number] FROM [Basic Taxpayer Data] ORDER BY "
                                                       "[Original Due Date Of Return], [Taxpayer Number]"));
    EXPECT_EQ(ordered.value(0, 0).toInt(), 2);
}

TEST_P(OnBothEngines, ATransactionIsWrittenWholeOrNotAtAllAndChecksRefuseWhatAFileRefuses) {
    auto db = open();
    {
        Transaction t(*db);
        db->exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Kept Out')"));
    }
    EXPECT_EQ(db->query(Sql::countAllTaxpayers()).value(0, 0).toInt(), 0);
    const QString refused = errorOf([&] {
        db->exec(
            QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Corporate Taxpayer]) VALUES('A',2)"));
    });
    EXPECT_TRUE(refused.contains("a value is not one the database takes")) << refused.toStdString();
    EXPECT_THROW(db->insertRows(Tables::basicTaxpayerData, {Columns::taxpayerName}, {{QString(151, QLatin1Char('x'))}}),
                 StoreError);
    EXPECT_EQ(db->query(Sql::countAllTaxpayers()).value(0, 0).toInt(), 0);
}

// A number once given is not given again, after a delete too, and rows written with their own keys move the counter.
TEST_P(OnBothEngines, CountersNeverGiveANumberTwice) {
    auto db = open();
    for (int i = 0; i < 3; ++i)
        db->exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('T')"));
    db->exec(QStringLiteral("DELETE * FROM [Basic Taxpayer Data] WHERE [Taxpayer Number] = 3"));
    db->exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Fourth')"));
    db->insertRows(Tables::basicTaxpayerData, {Columns::taxpayerNumber, Columns::taxpayerName},
                   {{10, QStringLiteral("Ten")}});
    db->exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Next')"));
    const RecordSet rows = db->query(QStringLiteral("SELECT [Taxpayer Number], [Taxpayer Name] FROM [Basic Taxpayer "
                                                    "Data] ORDER BY [Taxpayer Number]"));
    QStringList seen;
    for (int i = 0; i < rows.size(); ++i)
        seen << QStringLiteral("%1 %2").arg(rows.value(i, 0).toInt()).arg(rows.value(i, 1).toString());
    EXPECT_EQ(seen.join(", "), "1 T, 2 T, 4 Fourth, 10 Ten, 11 Next");
}

// Many rows at once (written as a bulk copy on the server) come back as typed, whatever their text holds; one value
// refused writes none of them.
TEST_P(OnBothEngines, ManyRowsAtOnceComeBackAsTyped) {
    auto db = open();
    const QStringList names = {injection,
                               QStringLiteral("tab\there"),
                               QStringLiteral("back\\slash \\N"),
                               QStringLiteral("line\nend\r"),
                               QString(),
                               QStringLiteral("\u00e9t\u00e9 \u2212")};
    std::vector<QVariantList> rows;
    for (int i = 0; i < 300; ++i)
        rows.push_back({names[i % names.size()].isNull() ? QVariant() : QVariant(names[i % names.size()]),
                        QDate(2000, 1, 1).addDays(i), i * 0.01});
    db->insertRows(Tables::basicTaxpayerData, {Columns::taxpayerName, Columns::endDate, Columns::initialBalance}, rows);
    const RecordSet back = db->query(
        QStringLiteral("SELECT [Taxpayer Name], [End Date], [Initial Balance] FROM [Basic Taxpayer Data] ORDER BY "
                       "[Taxpayer Number]"));
    ASSERT_EQ(back.size(), 300);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(back.value(i, 0), rows[size_t(i)][0]) << i;
        EXPECT_EQ(back.value(i, 1).toDate(), QDate(2000, 1, 1).addDays(i));
        EXPECT_EQ(back.value(i, 2).toDouble(), i * 0.01);
    }
    rows.back()[1] = QStringLiteral("not a date");
    EXPECT_THROW(db->insertRows(Tables::basicTaxpayerData,
                                {Columns::taxpayerName, Columns::endDate, Columns::initialBalance}, rows),
                 StoreError);
    EXPECT_EQ(db->query(Sql::countAllTaxpayers()).value(0, 0).toInt(), 300);
}

// A cursor gives every row in order, batch after batch, while other statements run on the same connection.
TEST_P(OnBothEngines, ACursorReadsManyRowsBetweenOtherStatements) {
    auto db = open();
    db->exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Many')"));
    std::vector<QVariantList> payments;
    for (int i = 0; i < 4500; ++i)
        payments.push_back({1, QStringLiteral("Payment"), QDate(2020, 1, 1).addDays(i), double(i) + 0.01});
    {
        Transaction t(*db);
        db->insertRows(Tables::payments,
                       {Columns::taxpayerNumber, Columns::event, Columns::dateOfPayment, Columns::amountOfPayment},
                       payments);
        t.commit();
    }
    const auto rows = db->cursor(Sql::selectCasePayments(1));
    int count = 0;
    const int amount = rows->fieldIndex(Columns::amountOfPayment);
    while (rows->next()) {
        ASSERT_EQ(rows->value(amount).toDouble(), double(count) + 0.01);
        if (count % 1000 == 0)
            db->query(Sql::countAllTaxpayers());
        ++count;
    }
    EXPECT_EQ(count, 4500);
}

// ---------------------------------------------------------------------------------------------------------------
// The server alone

namespace {

class OnTheServer : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ScratchServer::available())
            GTEST_SKIP() << "no test server (scripts/test-server)";
        name = scratchName();
        address = ScratchServer::create(name);
    }
    void TearDown() override {
        if (!name.isEmpty())
            ScratchServer::drop(name);
    }
    QString name;
    ServerAddress address;
};

int addTaxpayer(Database& db, const QString& name) {
    db.insertRows(Tables::basicTaxpayerData, {Columns::taxpayerName}, {{name}});
    return db.query(Sql::highestTaxpayerNumber()).value(0, 0).toInt();
}

} // namespace

// Each connection's report reads its own run's rows: the result tables are the connection's own.
TEST_F(OnTheServer, ResultRowsAreEachConnectionsOwn) {
    PostgresDatabase one(address), two(address);
    one.insertRows(Tables::summary, {Columns::totalInterest}, {{1.0}, {2.0}});
    two.insertRows(Tables::summary, {Columns::totalInterest}, {{3.0}});
    EXPECT_EQ(one.query(Sql::reportSummaryQuery()).size(), 2);
    EXPECT_EQ(two.query(Sql::reportSummaryQuery()).size(), 1);
    EXPECT_EQ(two.query(Sql::reportSummaryQuery()).value(0, "TotalInterest").toDouble(), 3.0);
    // Nothing of either is in the firm's shared table.
    EXPECT_EQ(one.queryNative(QStringLiteral("SELECT COUNT(*) FROM public.\"Summary Table\"")).value(0, 0).toInt(), 0);
}

TEST_F(OnTheServer, TheStaffChangeClientsButNotTheRatesNorTheHistory) {
    PostgresDatabase admin(address);
    PostgresDatabase staff(ScratchServer::asStaff(address));
    const auto a = admin.rights();
    EXPECT_TRUE(a.changeClients && a.changeRates && a.upgrade);
    const auto s = staff.rights();
    EXPECT_TRUE(s.changeClients);
    EXPECT_FALSE(s.changeRates);
    EXPECT_FALSE(s.upgrade);

    const int n = addTaxpayer(staff, QStringLiteral("Staff's Client"));
    EXPECT_GT(n, 0);
    // The server refuses, and the program says why.
    EXPECT_EQ(errorOf([&] { staff.exec(QStringLiteral("UPDATE [Interest Table] SET [Interest Rate] = 0.5")); }),
              PostgresDatabase::ratesRefused());
    EXPECT_EQ(errorOf([&] { staff.exec(Sql::insertFailureToFileMinimum(2030, 1.0)); }),
              PostgresDatabase::ratesRefused());
    for (const QString& write :
         {QStringLiteral("INSERT INTO \"Change History\"(\"Table\", \"Operation\") VALUES ('x', 'INSERT')"),
          QStringLiteral("DELETE FROM \"Change History\""),
          QStringLiteral("UPDATE \"Change History\" SET \"Changed By\" = 'x'")}) {
        const QString message = errorOf([&] { staff.execNative(write); });
        EXPECT_TRUE(message.contains("does not let you")) << message.toStdString();
    }
    EXPECT_FALSE(staff.history(n).empty());
}

// A transaction one of whose statements the server refused writes nothing, and its commit says so rather than
// succeed: the server rolls it back.
TEST_F(OnTheServer, ACommitAfterARefusedStatementIsAFailure) {
    PostgresDatabase db(address);
    db.begin();
    db.exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Kept Out')"));
    EXPECT_THROW(db.exec(QStringLiteral("INSERT INTO [Basic Taxpayer Data]([Corporate Taxpayer]) VALUES(2)")),
                 StoreError);
    const QString said = errorOf([&] { db.commit(); });
    EXPECT_TRUE(said.contains("none of it was written")) << said.toStdString();
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(db.query(Sql::countAllTaxpayers()).value(0, 0).toInt(), 0);
}

// Who changed what, when, before and after: written by the server, for every table of a client's rows.
TEST_F(OnTheServer, TheHistoryRecordsEveryChangeOfAClientsRows) {
    PostgresDatabase staff(ScratchServer::asStaff(address));
    const int n = addTaxpayer(staff, QStringLiteral("Before"));
    staff.exec(QStringLiteral("UPDATE [Basic Taxpayer Data] SET [Taxpayer Name] = %1 WHERE [Taxpayer Number] = %2")
                   .arg(SqlText::quote(injection))
                   .arg(n));
    staff.insertRows(Tables::payments, {Columns::taxpayerNumber, Columns::amountOfPayment}, {{n, 10.0}});
    staff.exec(Sql::deleteTaxpayerRows(Tables::payments, n));
    // An update that changes nothing is no change.
    staff.exec(QStringLiteral("UPDATE [Basic Taxpayer Data] SET [Taxpayer Name] = [Taxpayer Name]"));
    const auto changes = staff.history(n);
    ASSERT_EQ(changes.size(), 4u);
    QStringList what;
    for (const auto& c : changes) {
        what << c.operation + QLatin1Char(' ') + c.table;
        EXPECT_EQ(c.by, qEnvironmentVariable("TALVORO_TEST_STAFF"));
        EXPECT_LE(qAbs(c.at.secsTo(QDateTime::currentDateTime())), 120);
    }
    EXPECT_EQ(what.join(", "), "INSERT Basic Taxpayer Data, UPDATE Basic Taxpayer Data, INSERT Payment Table, DELETE "
                               "Payment Table");
    EXPECT_TRUE(changes[1].before.contains("\"Before\""));
    EXPECT_TRUE(changes[1].after.contains("DROP TABLE")) << changes[1].after.toStdString();
    EXPECT_TRUE(changes[3].after.isEmpty());
}

// A save of a taxpayer that someone else changed since it was shown writes nothing and names who and when; one that
// was deleted says so.
TEST_F(OnTheServer, ASaveOverAnotherUsersChangeIsRefused) {
    PostgresDatabase mine(address);
    PostgresDatabase theirs(ScratchServer::asStaff(address));
    const int n = addTaxpayer(mine, QStringLiteral("Shown"));
    qint64 mySeen = mine.latestChange(n);
    qint64 theirSeen = theirs.latestChange(n);
    const auto rename = [n](Database& db, const QString& to) {
        return [&db, n, to] {
            db.exec(QStringLiteral("UPDATE [Basic Taxpayer Data] SET [Taxpayer Name] = %1 WHERE [Taxpayer Number] = %2")
                        .arg(SqlText::quote(to))
                        .arg(n));
        };
    };
    // My own saves do not stand in my way.
    EXPECT_FALSE(mine.writeUnlessChanged(n, &mySeen, rename(mine, QStringLiteral("Mine Before"))));
    EXPECT_FALSE(mine.writeUnlessChanged(n, &mySeen, rename(mine, QStringLiteral("Shown"))));
    theirSeen = theirs.latestChange(n);
    EXPECT_FALSE(theirs.writeUnlessChanged(n, &theirSeen, rename(theirs, QStringLiteral("Theirs"))));
    const auto conflict = mine.writeUnlessChanged(n, &mySeen, rename(mine, QStringLiteral("Mine")));
    ASSERT_TRUE(conflict);
    const QString message = PostgresDatabase::conflictMessage(n, *conflict);
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("Taxpayer %1 was changed by %2 at ").arg(n).arg(qEnvironmentVariable("TALVORO_TEST_STAFF"))))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith(". Reload it?"));
    EXPECT_EQ(mine.query(Sql::selectTaxpayerName(n)).value(0, 0).toString(), "Theirs");
    // Reloaded, the save goes through.
    mySeen = mine.latestChange(n);
    EXPECT_FALSE(mine.writeUnlessChanged(n, &mySeen, rename(mine, QStringLiteral("Mine"))));
    EXPECT_EQ(theirs.query(Sql::selectTaxpayerName(n)).value(0, 0).toString(), "Mine");

    theirSeen = theirs.latestChange(n);
    theirs.exec(Sql::deleteTaxpayerRows(Tables::basicTaxpayerData, n));
    const auto gone = mine.writeUnlessChanged(n, &mySeen, rename(mine, QStringLiteral("Again")));
    ASSERT_TRUE(gone);
    EXPECT_TRUE(PostgresDatabase::conflictMessage(n, *gone).contains("was deleted by"));
}

// A database made by a newer program is refused; an older layout is upgraded, in one transaction, by the
// administrator only.
TEST_F(OnTheServer, LayoutsNewerAreRefusedAndOlderUpgradedByTheAdministrator) {
    {
        PostgresDatabase db(address);
        db.execNative(QStringLiteral("UPDATE \"Talvoro Layout\" SET \"Layout\" = 99"));
    }
    const QString newer = errorOf([&] { PostgresDatabase db(address); });
    EXPECT_TRUE(newer.contains("was made by a newer Talvoro (layout 99); this program reads layouts up to"))
        << newer.toStdString();

    const QString oldName = name + QStringLiteral("_old");
    const ServerAddress old = ScratchServer::createEmpty(oldName);
    {
        PostgresDatabase db(old, PostgresDatabase::Mode::Empty);
        db.execNative(QStringLiteral("GRANT USAGE, CREATE ON SCHEMA public TO %1")
                          .arg(SqlText::serverName(ScratchServer::roles().value(0))));
        db.execNative(QStringLiteral("SET ROLE %1").arg(SqlText::serverName(ScratchServer::roles().value(0))));
        for (const QString& s : ServerSchema::createStatements(4))
            db.execNative(s);
        for (const QString& s :
             ServerSchema::grantStatements(ScratchServer::roles().value(0), ScratchServer::roles().value(1), 4))
            db.execNative(s);
        db.execNative(QStringLiteral("INSERT INTO \"Basic Taxpayer Data\"(\"Taxpayer Name\") VALUES ('Kept')"));
        db.execNative(QStringLiteral("INSERT INTO \"Estimated Tax Data\"(\"Taxpayer Number\", \"Tax Year End\") VALUES "
                                     "(1, DATE '2005-12-31')"));
        db.execNative(
            QStringLiteral("INSERT INTO \"Estimated Tax Payments\"(\"Taxpayer Number\", \"Amount Of Payment\") "
                           "VALUES (1, 100)"));
    }
    const QString staffRefused = errorOf([&] { PostgresDatabase db(ScratchServer::asStaff(old)); });
    EXPECT_TRUE(staffRefused.contains("Only the firm's administrator can upgrade it")) << staffRefused.toStdString();
    {
        PostgresDatabase db(old);
        EXPECT_EQ(db.queryNative(QStringLiteral("SELECT \"Layout\" FROM \"Talvoro Layout\"")).value(0, 0).toInt(),
                  Schema::version);
        EXPECT_EQ(db.query(Sql::selectTaxpayerName(1)).value(0, 0).toString(), "Kept");
        EXPECT_GT(db.query(QStringLiteral("SELECT COUNT(*) AS n FROM [Large Corporate Overpayment Interest Table]"))
                      .value(0, 0)
                      .toInt(),
                  0);
        // The payments of a taxpayer's one year are that year's, as in a file's upgrade.
        EXPECT_EQ(db.query(QStringLiteral("SELECT [Tax Year End] FROM [Estimated Tax Payments]")).value(0, 0).toDate(),
                  QDate(2005, 12, 31));
    }
    {
        // The staff reach the tables the upgrade made, and the history records them.
        PostgresDatabase staff(ScratchServer::asStaff(old));
        staff.insertRows(Tables::refunds, {Columns::taxpayerNumber, Columns::amountOfRefund}, {{1, 5.0}});
        EXPECT_EQ(staff.history(1).back().table, Tables::refunds);
    }
    ScratchServer::drop(oldName);
}

// Between the server and a file, taxpayers travel whole; the server's numbers are never merged into.
TEST_F(OnTheServer, TaxpayersMoveBetweenFilesAndTheServer) {
    DataDir dir;
    {
        SqliteDatabase file(dir.mainFile());
        for (const QString& n : {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}) {
            const int number = addTaxpayer(file, n);
            file.insertRows(Tables::payments,
                            {Columns::taxpayerNumber, Columns::dateOfPayment, Columns::amountOfPayment},
                            {{number, QDate(2024, 5, 1), 10.0 * number}, {number, QDate(2024, 6, 1), 1.5}});
        }
    }
    PostgresDatabase server(address);
    server.insertRows(Tables::basicTaxpayerData, {Columns::taxpayerNumber, Columns::taxpayerName},
                      {{2, QStringLiteral("Already There")}});
    const auto copied = ServerTransfer::copyToServer(dir.mainFile(), server);
    EXPECT_EQ(copied.taxpayers, QList<int>({1, 3}));
    EXPECT_EQ(copied.alreadyThere, QList<int>({2}));
    EXPECT_EQ(server.query(Sql::selectTaxpayerName(2)).value(0, 0).toString(), "Already There");
    EXPECT_EQ(server.query(QStringLiteral("SELECT COUNT(*) AS n FROM [Payment Table]")).value(0, 0).toInt(), 4);

    // Saved from the server into a file, and retrieved again under new numbers.
    const QString saved = dir.path("three.mdb");
    ServerTransfer::save(server, dir.templateFile(), saved, {3});
    EXPECT_EQ(dumpTable(saved, Tables::payments).count('\n'), 2);
    EXPECT_EQ(ServerTransfer::retrieve(saved, server), TaxpayerTransfer::Outcome::NumberExists);
    QList<int> given;
    EXPECT_EQ(ServerTransfer::retrieve(saved, server, true, &given), TaxpayerTransfer::Outcome::Copied);
    ASSERT_EQ(given.size(), 1);
    EXPECT_EQ(server.query(Sql::selectTaxpayerName(given[0])).value(0, 0).toString(), "Three");
    EXPECT_EQ(server.query(Sql::countTaxpayerRows(Tables::payments, given[0])).value(0, 0).toInt(), 2);
    // A file from elsewhere passes the checks of a typed one on the way to the server too.
    QFile(dir.path("bad.mdb")).open(QIODevice::WriteOnly);
    EXPECT_THROW(ServerTransfer::retrieve(dir.path("bad.mdb"), server), StoreError);
}

// What cannot be connected to says what to do, soon: a wrong password, an unknown database, a stopped server, and a
// server that does not answer (after the 10 seconds of the connection's time-out).
TEST_F(OnTheServer, ConnectionsThatFailSayWhatToDo) {
    QTemporaryDir other;
    const QString wrongFile = other.filePath("pgpass");
    {
        QFile f(wrongFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("*:*:*:*:not-the-password\n");
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    ServerAddress wrong = address;
    wrong.set(QStringLiteral("passfile"), wrongFile);
    withinSeconds(30, [&] {
        const QString password = errorOf([&] { PostgresDatabase db(wrong); });
        EXPECT_TRUE(password.contains("refused the password")) << password.toStdString();

        ServerAddress unknown = address;
        unknown.set(QStringLiteral("dbname"), QStringLiteral("no_such_firm"));
        const QString database = errorOf([&] { PostgresDatabase db(unknown); });
        EXPECT_TRUE(database.contains("has no database \"no_such_firm\"")) << database.toStdString();

        ServerAddress stopped = address;
        stopped.set(QStringLiteral("host"), other.path());
        const QString down = errorOf([&] { PostgresDatabase db(stopped); });
        EXPECT_TRUE(down.contains("could not be reached") && down.contains("open the local file instead"))
            << down.toStdString();
    });
    // A socket that takes the connection and never answers.
    const int silent = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(silent, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    const QByteArray path = other.filePath(".s.PGSQL.5432").toLocal8Bit();
    ASSERT_LT(size_t(path.size()), sizeof where.sun_path);
    std::copy(path.begin(), path.end(), where.sun_path);
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&where), sizeof where), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    ServerAddress hanging = address;
    hanging.set(QStringLiteral("host"), other.path());
    QElapsedTimer clock;
    clock.start();
    const QString noAnswer = errorOf([&] { PostgresDatabase db(hanging); });
    EXPECT_TRUE(noAnswer.contains("did not answer within 10 seconds")) << noAnswer.toStdString();
    EXPECT_LT(clock.elapsed(), 30000);
    close(silent);
}

TEST(ServerAddresses, AreReadAsKeywordsAndNeverKeepAPassword) {
    const ServerAddress a = ServerAddress::parse(QStringLiteral("host=/run/postgresql dbname='the firm' user=o\\'brien "
                                                                "password=secret sslmode=verify-full"));
    EXPECT_EQ(a.value("dbname"), "the firm");
    EXPECT_EQ(a.value("sslmode"), "verify-full");
    EXPECT_FALSE(a.text().contains("secret"));
    EXPECT_EQ(ServerAddress::parse(a.text()).value("dbname"), "the firm");
    EXPECT_THROW(ServerAddress::parse(QStringLiteral("host=x")), StoreError);              // no database
    EXPECT_THROW(ServerAddress::parse(QStringLiteral("dbname=x colour=red")), StoreError); // no such keyword
    EXPECT_THROW(ServerAddress::parse(QStringLiteral("dbname='x")), StoreError);           // no closing quote
}

TEST(ServerStatements, TheDialectBecomesTheServers) {
    EXPECT_EQ(SqlText::translateForServer(QStringLiteral("DELETE * FROM [Event Table] WHERE [Date] < #4/15/2005#")),
              "DELETE FROM \"Event Table\" WHERE \"Date\" < DATE '2005-04-15'");
    EXPECT_EQ(SqlText::translateForServer(QStringLiteral("SELECT Event, `Date`, upper(trim(x)) FROM t ORDER BY Event, "
                                                         "[Date] DESC")),
              "SELECT \"Event\", \"Date\", upper(trim(x)) FROM t ORDER BY \"Event\" NULLS FIRST, \"Date\" DESC");
    // A text literal is left as it is, whatever it holds.
    EXPECT_EQ(SqlText::translateForServer(QStringLiteral("SELECT 'Event [x] #1/1/2000# ORDER BY' AS n")),
              "SELECT 'Event [x] #1/1/2000# ORDER BY' AS n");
    EXPECT_THROW(SqlText::translateForServer(QStringLiteral("INSERT INTO [T] IN 'x.mdb' 'Access' SELECT 1")),
                 SqlText::TranslationError);
    // Every value goes as a parameter: a text, a date, a number; a column's place stays.
    const auto bound = SqlText::translateForServerBound(QStringLiteral(
        "SELECT trim([Client Code]) AS c FROM [Basic Taxpayer Data] WHERE [Taxpayer Name] = 'O''Brien' AND "
        "[End Date] < #12/31/2024# AND [Initial Balance] >= -1.5E-05 AND [Taxpayer Number] IN (3,4) "
        "ORDER BY 1, [Taxpayer Number] DESC"));
    EXPECT_EQ(bound.sql, "SELECT trim(\"Client Code\") AS c FROM \"Basic Taxpayer Data\" WHERE \"Taxpayer Name\" = $1 "
                         "AND \"End Date\" < $2::date AND \"Initial Balance\" >= $3 AND \"Taxpayer Number\" IN ($4,$5) "
                         "ORDER BY 1 NULLS FIRST, \"Taxpayer Number\" DESC");
    EXPECT_EQ(bound.parameters, QVariantList({QStringLiteral("O'Brien"), QDate(2024, 12, 31), -1.5E-05, 3LL, 4LL}));
}
