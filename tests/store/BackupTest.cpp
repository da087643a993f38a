#include "BackupRotation.h"
#include "BackupSchedule.h"
#include "Settings.h"
#include "Snapshot.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "TestSupport.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(BackupRotation, CopiesEveryThirdTickThroughThreeSlots) {
    BackupRotation r;
    QStringList taken;
    for (int minute = 1; minute <= 21; ++minute) {
        const auto slot = r.tick();
        taken << (slot ? *slot : QStringLiteral("-"));
    }
    // Slot 1 at 3 minutes, 2 at 6, 3 at 9, 1 again at 12, and so on.
    EXPECT_EQ(taken.join(""), "--1--2--3--1--2--3--1");
    EXPECT_EQ(r.counter(), 3);
    EXPECT_EQ(BackupRotation::fileName("2"), "bak_2_kelvadat.mdb");
}

namespace {

int eventRows(const QString& file) {
    SqliteDatabase db(file, SqliteDatabase::Mode::ReadOnly);
    return db.query("select * from [Event Table]").size();
}

void addEventRow(const QString& file) {
    SqliteDatabase db(file);
    db.exec("INSERT INTO [Event Table]([Date],[Event]) VALUES(#1/1/2005#,'Interest')");
}

} // namespace

TEST(BackupSchedule, TenMinutesWriteEachSlotOnceHoldingTheDatabaseOfThatMinute) {
    DataDir dir;
    Settings::setNewpath(dir.newpath());
    Settings::setErrorState(false);
    BackupSchedule schedule;
    ASSERT_TRUE(schedule.startIfAllowed());
    EXPECT_TRUE(schedule.isActive());
    QSignalSpy taken(&schedule, &BackupSchedule::backupTaken);

    // One more event row every minute: the copy of minute m holds m rows.
    for (int minute = 1; minute <= 10; ++minute) {
        addEventRow(dir.mainFile());
        schedule.tick();
        if (minute == 2) {
            EXPECT_FALSE(QFile::exists(dir.path("bak_1_kelvadat.mdb"))) << "no copy before three minutes";
        }
    }
    EXPECT_EQ(taken.count(), 3);
    for (const auto& [slot, rows] : {std::pair{"1", 3}, std::pair{"2", 6}, std::pair{"3", 9}}) {
        const QString file = dir.path(QStringLiteral("bak_%1_kelvadat.mdb").arg(slot));
        ASSERT_TRUE(QFile::exists(file)) << slot;
        EXPECT_EQ(integrityCheck(file), "ok");
        EXPECT_EQ(eventRows(file), rows) << slot;
    }
    EXPECT_FALSE(QFile::exists(dir.path("bak_1_kelvadat.mdb.tmp")));
}

TEST(BackupSchedule, NoBackupsWhileTheErrorStateIsSet) {
    DataDir dir;
    Settings::setNewpath(dir.newpath());
    Settings::setErrorState(true);
    BackupSchedule schedule;
    EXPECT_FALSE(schedule.startIfAllowed());
    EXPECT_FALSE(schedule.isActive());

    // "true" in any case is the error state; an empty value or any other text is not: the backups run.
    QSettings s(QSettings::UserScope, "Vorlent", "Vorlent");
    for (const char* value : {"TRUE", "true"}) {
        s.setValue("Install/ErrorState", value);
        s.sync();
        EXPECT_FALSE(schedule.startIfAllowed()) << value;
    }
    for (const char* value : {"false", "", "maybe", "False"}) {
        s.setValue("Install/ErrorState", value);
        s.sync();
        BackupSchedule other;
        EXPECT_TRUE(other.startIfAllowed()) << value;
    }
    Settings::setErrorState(false);
}

TEST(BackupSchedule, AFailedCopyStopsTheTimerAndIsReported) {
    DataDir dir;
    Settings::setNewpath(dir.newpath() + "elsewhere/");
    Settings::setErrorState(false);
    BackupSchedule schedule;
    ASSERT_TRUE(schedule.startIfAllowed());
    QSignalSpy failed(&schedule, &BackupSchedule::failed);
    for (int i = 0; i < 3; ++i)
        schedule.tick();
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed.at(0).at(0).toString().contains("does not exist"))
        << failed.at(0).at(0).toString().toStdString();
    EXPECT_FALSE(schedule.isActive());
}

TEST(Snapshot, ReplacesTheOldCopyOnlyWhenWhole) {
    DataDir dir;
    const QString copy = dir.path("bak_1_kelvadat.mdb");
    writeSnapshot(dir.mainFile(), copy);
    addEventRow(dir.mainFile());
    // A source that cannot be read leaves the previous copy as it was.
    EXPECT_THROW(writeSnapshot(dir.path("missing.mdb"), copy), StoreError);
    EXPECT_EQ(eventRows(copy), 0);
    writeSnapshot(dir.mainFile(), copy);
    EXPECT_EQ(eventRows(copy), 1);
}

// A copy taken while another connection keeps writing is a whole database holding whole transactions.
TEST(Snapshot, TakenDuringWritesIsAValidDatabase) {
    DataDir dir;
    constexpr int batch = 50;
    std::atomic<bool> stop{false};
    std::atomic<int> batches{0};
    std::thread writer([&] {
        SqliteDatabase db(dir.mainFile());
        while (!stop) {
            Transaction t(db);
            for (int i = 0; i < batch; ++i)
                db.exec("INSERT INTO [Event Table]([Date],[Event],[Unpaid Balance]) VALUES(#4/15/2005#,'Payment',"
                        "1234.5)");
            t.commit();
            ++batches;
        }
    });
    for (int i = 0; i < 20; ++i) {
        const QString copy = dir.path(QStringLiteral("bak_%1_kelvadat.mdb").arg(i % 3 + 1));
        writeSnapshot(dir.mainFile(), copy);
        EXPECT_EQ(integrityCheck(copy), "ok");
        EXPECT_EQ(eventRows(copy) % batch, 0) << "a copy holds part of a transaction";
    }
    stop = true;
    writer.join();
    EXPECT_GT(batches.load(), 0);
}

// A data directory changed while the program runs takes effect at the next start: the backups go on copying the
// database the program opened, into its folder.
TEST(BackupSchedule, KeepsTheFolderOfTheStart) {
    DataDir dir, other;
    Settings::setNewpath(dir.newpath());
    Settings::setErrorState(false);
    BackupSchedule schedule;
    ASSERT_TRUE(schedule.startIfAllowed());
    Settings::setNewpath(other.newpath());
    for (int i = 0; i < 3; ++i)
        schedule.tick();
    EXPECT_TRUE(QFile::exists(dir.path("bak_1_kelvadat.mdb")));
    EXPECT_FALSE(QFile::exists(other.path("bak_1_kelvadat.mdb")));
    Settings::setNewpath(dir.newpath());
}
