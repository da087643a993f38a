#include "EstimatedTaxRun.h"
#include "CalcSupport.h"
#include "CaseReader.h"
#include "ProgramFiles.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

// The installed data files the estimated-tax run reads: a pipe in place of one used to hang the run for ever, and
// /dev/zero to end it in an uncaught bad_alloc. Each is now refused at once with a message naming it.
TEST(EstimatedTaxRun, AnInstalledDataFileThatIsNotAFileStopsTheRunAtOnce) {
    DataDir dir;
    SqliteDatabase db(dir.mainFile());
    db.exec("INSERT INTO [Basic Taxpayer Data]([Taxpayer Name]) VALUES('Estimator')");
    db.exec("INSERT INTO [Estimated Tax Data]([Taxpayer Number],[Tax Year End],[Current Year Tax],[Prior Year Tax],"
            "[Prior Year Full Year],[Withholding]) VALUES(1,#12/31/2005#,12000,10000,1,0)");
    QTemporaryDir installed;
    ASSERT_TRUE(
        QFile::copy(DataFiles::path(DataFiles::estimatedTaxRules), installed.filePath(DataFiles::estimatedTaxRules)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(installed.filePath(DataFiles::holidays)).constData(), 0600), 0);
    DataFiles::setFolder(installed.path());
    for (int round = 0; round < 2; ++round) {
        RecordingReporter r;
        withinSeconds(10, [&] {
            SqliteDatabase own(dir.mainFile()); // a connection is its thread's own
            EXPECT_EQ(EstimatedTaxRun(own, r).run(*CaseReader(own).read(1)), RunOutcome::Stopped);
        });
        ASSERT_EQ(r.messages.size(), 1);
        EXPECT_TRUE(r.messages[0].contains("is not a regular file") && r.messages[0].contains("holidays.csv"))
            << r.messages[0].toStdString();
        // Then a link to a device that never ends.
        QFile::remove(installed.filePath(DataFiles::holidays));
        ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(installed.filePath(DataFiles::holidays)).constData()), 0);
    }
    DataFiles::setFolder(QString());
    RecordingReporter r;
    EXPECT_EQ(EstimatedTaxRun(db, r).run(*CaseReader(db).read(1)), RunOutcome::Written);
}
