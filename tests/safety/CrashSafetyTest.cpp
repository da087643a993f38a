#include "SqlText.h"
#include "SqliteDatabase.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// A case large enough that writing its result takes a while: 600 payments over ten years.
void largeCase(const QString& file) {
    SqliteDatabase db(file);
    Transaction t(db);
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name],[Original Due Date Of Return],"
            "[Extended Due Date Of Return],[Date Return Filed],[End Date],[Initial Balance],"
            "[Calculate Failure To Pay Penalty],[Calculate Failure To File Penalty],"
            "[Assessment Date For Failure To Pay Penalty]) VALUES('Large',#4/15/2005#,#4/15/2005#,#3/1/2006#,"
            "#4/15/2015#,250000,1,1,#4/15/2015#)");
    for (int i = 0; i < 600; ++i)
        db.exec("INSERT INTO [Payment Table]([Taxpayer Number],[Event],[Date Of Payment],[Payment Allocated To Tax],"
                "[Payment Allocated To Interest]) VALUES(1,'Payment'," +
                SqlText::date(QDate(2005, 5, 1).addDays(i * 6)) + ",300,20)");
    t.commit();
}

QProcess* start(const QString& program, const QStringList& args) {
    auto* p = new QProcess;
    p->start(program, args);
    p->waitForStarted();
    return p;
}

bool runToEnd(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

void killAfter(QProcess* p, int ms) {
    p->waitForFinished(ms);
    if (p->state() != QProcess::NotRunning)
        ::kill(pid_t(p->processId()), SIGKILL);
    p->waitForFinished(10000);
    delete p;
}

} // namespace

// The runner killed at random moments while it writes a large result: the database is always whole and holds
// either the previous result or the new one, never a mixture.
TEST(CrashSafety, KilledRunsLeaveThePreviousResultOrTheNew) {
    DataDir dir;
    largeCase(dir.mainFile());
    const QString runner = QStringLiteral(TALVORO_BIN_DIR "/talvoro-run");
    const QStringList base = {"--data-dir", dir.newpath(), "--taxpayer", "1", "--report"};
    ASSERT_TRUE(runToEnd(runner, base + QStringList{"interest"}));
    const QString interest = dumpTable(dir.mainFile(), "Event Table");
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(runToEnd(runner, base + QStringList{"penalty"}));
    const int runMs = int(clock.elapsed());
    const QString penalty = dumpTable(dir.mainFile(), "Event Table");
    ASSERT_NE(interest, penalty);

    QRandomGenerator random(20261208);
    int mixtures = 0, newResults = 0;
    QString state = penalty;
    for (int i = 0; i < 100; ++i) {
        // Kill a run that replaces one result with the other.
        const QString next = state == penalty ? QStringLiteral("interest") : QStringLiteral("penalty");
        killAfter(start(runner, base + QStringList{next}), int(random.bounded(runMs * 3 / 2 + 20)));
        ASSERT_EQ(integrityCheck(dir.mainFile()), "ok") << "kill " << i;
        const QString now = dumpTable(dir.mainFile(), "Event Table");
        if (now != interest && now != penalty)
            ++mixtures;
        if (now != state)
            ++newResults;
        state = now;
    }
    EXPECT_EQ(mixtures, 0);
    std::cout << "100 kills: " << newResults << " left the new result, " << 100 - newResults << " the previous one\n";
}

// A backup killed part-way: every backup file present is a whole database.
TEST(CrashSafety, KilledBackupsLeaveWholeFiles) {
    DataDir dir;
    largeCase(dir.mainFile());
    const QString helper = QStringLiteral(TALVORO_BIN_DIR "/talvoro-test-snapshot");
    const QString backup = dir.path("bak_1_kelvadat.mdb");
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(runToEnd(helper, {dir.mainFile(), backup}));
    const int snapshotMs = int(clock.elapsed());
    QRandomGenerator random(7);
    for (int i = 0; i < 100; ++i) {
        killAfter(start(helper, {dir.mainFile(), backup}), int(random.bounded(snapshotMs * 3 / 2 + 5)));
        ASSERT_TRUE(QFile::exists(backup));
        ASSERT_EQ(integrityCheck(backup), "ok") << "kill " << i;
    }
}
