#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class SqliteDatabase;

// A saved-taxpayer file from elsewhere (a colleague, a client, an old backup), checked before anything is read from
// it: it must be a regular file holding an SQLite database that SQLite finds whole, with this program's application
// id and a layout it knows, with exactly the tables and indexes this program makes (no view, no trigger, nothing
// else), and with values that each pass the checks a typed value passes. The file itself is never opened: a private
// copy is, with SQLite's defenses on and its work bounded in time. Anything else is refused with a StoreError that
// says why; the refusal of a value names its table, column and value.
class TransferFile {
public:
    explicit TransferFile(const QString& file);
    ~TransferFile();
    TransferFile(const TransferFile&) = delete;
    TransferFile& operator=(const TransferFile&) = delete;

    struct Taxpayer {
        int number = 0;
        QString name;
    };
    // The taxpayers the file holds, in the file's order (at least one).
    const std::vector<Taxpayer>& taxpayers() const { return held; }
    // The checked private copy, which the retrieve reads.
    const QString& checkedCopy() const { return copy; }
    // The file's layout (1 .. the program's own).
    int layout() const { return fileLayout; }

    // The whole check, copying included, gives up after this long.
    static constexpr int workLimitMs = 8000;
    // Files larger than this are not taxpayer files.
    static constexpr qint64 largestFile = qint64(1) << 30;

private:
    QString original;
    QTemporaryDir work;
    QString copy;
    int fileLayout = 0;
    std::vector<Taxpayer> held;

    void makeCopy();
    void checkStructure(SqliteDatabase& db);
    void checkValues(SqliteDatabase& db);
    void checkUnique(SqliteDatabase& db);
    void readTaxpayers(SqliteDatabase& db);
    QString refusal(const QString& why) const;
};
