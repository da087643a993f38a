#pragma once

#include "QtDatabase.h"

#include <QString>

#include <optional>

class QSqlError;

// One connection to one database file. Statements of the program's dialect go through SqlText::translate; a file
// named in an IN clause is attached for as long as the connection needs it.
class SqliteDatabase : public QtDatabase {
public:
    enum class Mode {
        ReadWrite, // the file must exist and be one of this program's databases; an older layout is upgraded
        ReadOnly,  // likewise, of the program's own layout, and nothing is written
        Create,    // a new, empty file; only the build's database maker uses it
        Foreign,   // a private copy of a file from elsewhere, opened without any check: the caller checks it
    };

    explicit SqliteDatabase(const QString& filePath, Mode mode = Mode::ReadWrite);
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    const QString& filePath() const { return path; }
    // The Qt connection's name, for Qt's SQL models over the same connection (the record editors).
    const QString& qtConnectionName() const override { return connectionName; }
    QString shown() const override;

    void exec(const QString& statement) override;
    RecordSet query(const QString& statement) override;
    std::unique_ptr<Cursor> cursor(const QString& statement) override;
    void insertRows(const QString& table, const QStringList& columns, const std::vector<QVariantList>& rows) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return transactionOpen; }

    // Runs SQLite text as it stands, without translation (schema making, pragmas, snapshots).
    void execNative(const QString& statement);
    RecordSet queryNative(const QString& statement);

    // Attaches another database file (which must exist) under SqlText::externalAlias; outside a transaction only.
    void attachExternal(const QString& externalFile, bool readOnly = false);
    void detachExternal();

    // Throws a StoreError naming what is wrong when the file lacks a table or column of the schema.
    void checkSchema();

    // Bounds the work of every later statement: past the deadline a statement is interrupted and fails with
    // `message`, so that no file can keep the program busy for good.
    void limitWork(int milliseconds, const QString& message);

    // Throws the StoreError of a statement a Qt model on this connection (a record editor's) could not run: said in
    // words, with what the database said in the details.
    [[noreturn]] void refused(const QString& what, const QSqlError& error) override { fail(what, error, QString()); }

    // How long an open waits for another copy of the program that is upgrading the same file.
    static constexpr int upgradeWaitMs = 60000;

private:
    QString connectionName;
    QString path;
    bool transactionOpen = false;
    std::optional<QString> attached;
    qint64 deadline = 0; // ms since the epoch; 0: no limit
    QString limitMessage;
    bool limitHit = false;
    static int progress(void* self);
    void harden();
    void checkLayout(Mode mode);
    void readMark(int* application, int* layout);
    void upgradeFrom(int layout);
    // What keeps the file's tables from being those of `layout` ("the table [X] has other columns"), or empty.
    QString tableMismatch(int layout);
    // Throws the StoreError of a failed statement: a lock held by another program and a damaged file are said as
    // such; anything else names the statement.
    [[noreturn]] void fail(const QString& what, const QSqlError& error, const QString& statement);
    [[noreturn]] void fail(const QString& what, int resultCode, const QString& text, const QString& statement);

    QString describe(const QString& what, const QString& driverText) const;
};

// "The file "…" is not a database of this program."
QString notOurs(const QString& filePath);

// "The database "…" is in use by another program, …" and "… is damaged …".
QString inUse(const QString& filePath);
QString damaged(const QString& filePath);

// "file:" URI of a path, so that no character of the path is read as a URI part and the open mode can be given.
QString sqliteFileUri(const QString& filePath, const char* mode);
