#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <vector>

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

// talvoro-run with `args`, killed after `timeoutMs`; `timedOut` says whether it had to be.
struct ProcessResult {
    int exitCode = -1;
    QString out, err;
    bool timedOut = false;
};
ProcessResult runTalvoro(const QStringList& args, int timeoutMs = 30000);

// The records of a CSV text as RFC 4180 reads them: fields split at commas outside quotes, a quoted field's doubled
// quotes made single, records ended by CRLF or LF outside quotes. A malformed text (a quote inside an unquoted field,
// text after a closing quote) fails the test.
std::vector<QStringList> readCsv(const QString& text);

// Runs `work` and fails the test (ending the process, since the work cannot be stopped) when it takes longer than
// `seconds`: for what used to hang.
void withinSeconds(int seconds, const std::function<void()>& work);
