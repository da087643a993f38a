#include "Snapshot.h"

#include "SqlText.h"
#include "SqliteDatabase.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Forces the copy to disk before it replaces the previous one.
void syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

void writeSnapshot(const QString& source, const QString& destination) {
    const QString temporary = destination + QStringLiteral(".tmp");
    QFile::remove(temporary);
    try {
        SqliteDatabase db(source, SqliteDatabase::Mode::ReadOnly);
        // VACUUM INTO reads the whole database in one read transaction: a snapshot of one moment.
        db.execNative(QStringLiteral("VACUUM INTO %1").arg(SqlText::quote(QFileInfo(temporary).absoluteFilePath())));
    } catch (const StoreError& e) {
        QFile::remove(temporary);
        throw StoreError(QStringLiteral("The backup copy \"%1\" could not be written: %2")
                             .arg(QDir::toNativeSeparators(destination), e.message()));
    }
    syncFile(temporary);
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(destination).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        throw StoreError(QStringLiteral("The backup copy \"%1\" could not be written: %2")
                             .arg(QDir::toNativeSeparators(destination), reason));
    }
    syncFile(QFileInfo(destination).absolutePath());
}
