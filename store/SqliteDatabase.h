#pragma once

#include "Database.h"

#include <QString>

#include <optional>

// One connection to one database file. Statements of the program's dialect go through SqlText::translate; a file
// named in an IN clause is attached for as long as the connection needs it.
class SqliteDatabase : public Database {
public:
    enum class Mode {
        ReadWrite, // the file must exist and be one of this program's databases
        ReadOnly,  // likewise, and nothing is written
        Create,    // a new, empty file; only the build's database maker uses it
    };

    explicit SqliteDatabase(const QString& filePath, Mode mode = Mode::ReadWrite);
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    const QString& filePath() const { return path; }
    // The Qt connection's name, for Qt's SQL models over the same connection (the record editors).
    const QString& qtConnectionName() const { return connectionName; }

    void exec(const QString& statement) override;
    RecordSet query(const QString& statement) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return transactionOpen; }

    // Runs SQLite text as it stands, without translation (schema making, pragmas, snapshots).
    void execNative(const QString& statement);
    RecordSet queryNative(const QString& statement);

    // Attaches another database file (which must exist) under SqlText::externalAlias; outside a transaction only.
    void attachExternal(const QString& externalFile);
    void detachExternal();

    // Throws a StoreError naming what is wrong when the file lacks a table or column of the schema.
    void checkSchema();

private:
    QString connectionName;
    QString path;
    bool transactionOpen = false;
    std::optional<QString> attached;

    QString describe(const QString& what, const QString& driverText) const;
};

// "file:" URI of a path, so that no character of the path is read as a URI part and the open mode can be given.
QString sqliteFileUri(const QString& filePath, const char* mode);
