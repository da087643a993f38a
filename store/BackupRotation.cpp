#include "BackupRotation.h"

#include "Settings.h"

std::optional<QString> BackupRotation::tick() {
    ++ticks;
    if (ticks == 3 && (current.isEmpty() || current == QLatin1String("3")))
        current = QStringLiteral("1");
    else if (ticks == 6 && current == QLatin1String("1"))
        current = QStringLiteral("2");
    else if (ticks == 9 && current == QLatin1String("2"))
        current = QStringLiteral("3");

    std::optional<QString> copyInto;
    if (ticks == 3 || ticks == 6 || ticks == 9)
        copyInto = current;
    if (ticks == 9)
        ticks = 0;
    return copyInto;
}

QString BackupRotation::fileName(const QString& slot) {
    return QLatin1String("bak_") + slot + QLatin1Char('_') + Settings::databaseFileName;
}
