#pragma once

#include <QString>
#include <QTemporaryDir>

#include "QtPrinters.h"

// A temporary data directory holding fresh copies of the delivered kelvadat.mdb and kelvaSav.mdb.
class DataDir {
public:
    DataDir();
    // "Newpath": the folder with a trailing separator.
    QString newpath() const { return dir.path() + QLatin1Char('/'); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString mainFile() const { return path(QStringLiteral("kelvadat.mdb")); }
    QString templateFile() const { return path(QStringLiteral("kelvaSav.mdb")); }

private:
    QTemporaryDir dir;
};

QString deliveredFile(const QString& name);
// The rows of a table as text, one line a row, every column, in stored order: a whole-table comparison that shows
// the difference when it fails.
QString dumpTable(const QString& file, const QString& table, const QString& orderBy = QString());
// SQLite's own verdict on a file ("ok" when it is whole).
QString integrityCheck(const QString& file);
// A database file made from SQL text (one statement after another, as sqlite3's .dump writes them), without this
// program's connection or checks: how a file of an earlier release, or of another program, comes to be.
void makeDatabase(const QString& file, const QString& sqlText);
// The SQL text of a file of tests/data.
QString testData(const QString& name);
