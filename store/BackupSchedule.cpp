#include "BackupSchedule.h"

#include "Settings.h"
#include "Snapshot.h"
#include "StoreError.h"

BackupSchedule::BackupSchedule(QObject* parent) : QObject(parent) {
    timer.setInterval(intervalMs);
    connect(&timer, &QTimer::timeout, this, &BackupSchedule::tick);
}

bool BackupSchedule::startIfAllowed() {
    if (Settings::inErrorState())
        return false;
    start();
    return true;
}

void BackupSchedule::start() {
    if (folder.isEmpty())
        folder = Settings::newpath();
    timer.start();
}

void BackupSchedule::tick() {
    const auto slot = turns.tick();
    if (!slot)
        return;
    const QString destination = folder + BackupRotation::fileName(*slot);
    try {
        writeSnapshot(Settings::databasePath(folder), destination);
    } catch (const StoreError& e) {
        timer.stop();
        emit failed(e.message());
        return;
    }
    emit backupTaken(destination);
}
