#include "Snapshot.h"

#include "SqlText.h"
#include "SqliteDatabase.h"
#include "StoreError.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void writeSnapshot(const QString& source, const QString& destination) {
    QString temporary;
    try {
        SqliteDatabase db(source, SqliteDatabase::Mode::ReadOnly);
        // A name of this copy's own: two copies of one database at once never write into the same file.
        temporary = reserveTemporaryBeside(destination, QStringLiteral(".tmp"));
        // VACUUM INTO reads the whole database in one read transaction: a snapshot of one moment.
        db.execNative(QStringLiteral("VACUUM INTO %1").arg(SqlText::quote(QFileInfo(temporary).absoluteFilePath())));
        renameOver(temporary, destination);
    } catch (const StoreError& e) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        throw StoreError(QStringLiteral("The backup copy \"%1\" could not be written: %2")
                             .arg(QDir::toNativeSeparators(destination), e.message()));
    }
}
