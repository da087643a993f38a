#pragma once

#include "BackupRotation.h"

#include <QObject>
#include <QTimer>

// The one-minute backup timer of the main window: on every third tick a snapshot of the data folder's kelvadat.mdb
// goes into the next backup slot of that folder. The folder is the one the program opened at start ("Newpath" then),
// so a data directory changed meanwhile takes effect at the next start, for the backups as for everything else.
// It runs unless "ErrorState" reads "True"; a failed copy stops it.
class BackupSchedule : public QObject {
    Q_OBJECT
public:
    static constexpr int intervalMs = 60000;

    explicit BackupSchedule(QObject* parent = nullptr);

    // Starts the timer unless "ErrorState" reads "True"; returns whether it started.
    bool startIfAllowed();
    // Starts the timer whatever "ErrorState" reads (the error state's reset).
    void start();
    // The data folder to back up ("Newpath" form, with its separator); by default "Newpath" when the timer starts.
    void setFolder(const QString& newpath) { folder = newpath; }
    void stop() { timer.stop(); }
    bool isActive() const { return timer.isActive(); }

    // One timer tick; public so that the program's error path and tests can drive it.
    void tick();

    const BackupRotation& rotation() const { return turns; }

signals:
    void backupTaken(const QString& path);
    // A copy failed: the timer has stopped; the message is for the error report.
    void failed(const QString& message);

private:
    QTimer timer;
    BackupRotation turns;
    QString folder;
};
