#include "BackupSchedule.h"

#include "Settings.h"
#include "Snapshot.h"
#include "StoreError.h"

BackupSchedule::BackupSchedule(QObject* parent) : QObject(parent) {
    timer.setInterval(intervalMs);
    connect(&timer, &QTimer::timeout, this, &BackupSchedule::tick);
}

bool BackupSchedule::startIfAllowed() {
    if (Settings::errorState() != QLatin1String("False"))
        return false;
    timer.start();
    return true;
}

void BackupSchedule::tick() {
    const auto slot = turns.tick();
    if (!slot)
        return;
    // "Newpath" is read at every copy, so a changed data directory takes effect at the next one.
    const QString newpath = Settings::newpath();
    const QString destination = newpath + BackupRotation::fileName(*slot);
    try {
        writeSnapshot(Settings::databasePath(newpath), destination);
    } catch (const StoreError& e) {
        timer.stop();
        emit failed(e.message());
        return;
    }
    emit backupTaken(destination);
}
