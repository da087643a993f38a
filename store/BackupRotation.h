#pragma once

#include <QString>

#include <optional>

// The one-minute tick counter and the slot of the rotating backups: a copy every third tick, cycling through the
// slots "1", "2" and "3".
class BackupRotation {
public:
    // Counts one tick; returns the slot to copy into when this tick takes a copy.
    std::optional<QString> tick();

    quint16 counter() const { return ticks; }
    const QString& slot() const { return current; }

    // "bak_" + slot + "_kelvadat.mdb".
    static QString fileName(const QString& slot);

private:
    quint16 ticks = 0;
    QString current;
};
