#include "SqliteDatabase.h"

#include "Schema.h"
#include "SqlText.h"
#include "StoreError.h"
#include "Upgrade.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <sqlite3.h>

namespace {

QAtomicInt connectionCounter;

QSqlDatabase connection(const QString& name) {
    return QSqlDatabase::database(name, false);
}

QVariant decode(const QVariant& raw, const QString& column) {
    if (raw.isNull())
        return QVariant();
    Schema::Kind kind;
    if (!Schema::kindOf(column, &kind))
        return raw;
    switch (kind) {
    case Schema::Kind::Date: {
        const QDate d = QDate::fromString(raw.toString(), Qt::ISODate);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case Schema::Kind::Money:
    case Schema::Kind::Rate:
    case Schema::Kind::Double:
        return raw.toDouble();
    case Schema::Kind::Counter:
    case Schema::Kind::Long:
    case Schema::Kind::Whole:
        return raw.toInt();
    case Schema::Kind::YesNo:
        return raw.toLongLong() != 0;
    case Schema::Kind::Text:
        return raw.toString();
    }
    return raw;
}

} // namespace

QString notOurs(const QString& filePath) {
    return QStringLiteral("The file \"%1\" is not a database of this program.")
        .arg(QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath()));
}

QString sqliteFileUri(const QString& filePath, const char* mode) {
    const QString absolute = QFileInfo(filePath).absoluteFilePath();
    return QLatin1String("file:") + QString::fromLatin1(QUrl::toPercentEncoding(absolute, "/")) +
           QLatin1String("?mode=") + QLatin1String(mode);
}

SqliteDatabase::SqliteDatabase(const QString& filePath, Mode mode)
    : connectionName(QStringLiteral("talvoro-%1").arg(connectionCounter.fetchAndAddRelaxed(1))), path(filePath) {
    const QFileInfo info(filePath);
    if (mode != Mode::Create && !info.exists())
        throw StoreError(QStringLiteral("The database file \"%1\" does not exist.")
                             .arg(QDir::toNativeSeparators(info.absoluteFilePath())));
    // A folder, a pipe or a device is not opened at all (reading a pipe could wait for ever).
    if (mode != Mode::Create && !info.isFile())
        throw StoreError(notOurs(filePath));
    if (mode == Mode::Create && info.exists())
        throw StoreError(QStringLiteral("The file \"%1\" already exists.").arg(QDir::toNativeSeparators(filePath)));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    const char* uriMode = mode == Mode::ReadOnly ? "ro" : mode == Mode::Create ? "rwc" : "rw";
    db.setDatabaseName(sqliteFileUri(filePath, uriMode));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QString text = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw StoreError(describe(QStringLiteral("open"), text));
    }
    try {
        harden();
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw;
    }
    if (mode != Mode::Create && mode != Mode::Foreign) {
        try {
            checkLayout(mode);
            checkSchema();
        } catch (...) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            throw;
        }
    }
}

namespace {

sqlite3* handleOf(const QString& connectionName) {
    const QVariant h = QSqlDatabase::database(connectionName, false).driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.constData());
}

} // namespace

// Every connection runs with SQLite's defenses on: no schema trick of a file can write through the schema, and
// functions with side effects never run from a view or trigger.
void SqliteDatabase::harden() {
    sqlite3* h = handleOf(connectionName);
    if (!h)
        throw StoreError(describe(QStringLiteral("open"), QStringLiteral("the SQLite driver gave no connection")));
    sqlite3_db_config(h, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(h, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

int SqliteDatabase::progress(void* self) {
    auto* db = static_cast<SqliteDatabase*>(self);
    if (QDateTime::currentMSecsSinceEpoch() <= db->deadline)
        return 0;
    db->limitHit = true;
    return 1;
}

void SqliteDatabase::limitWork(int milliseconds, const QString& message) {
    deadline = QDateTime::currentMSecsSinceEpoch() + milliseconds;
    limitMessage = message;
    limitHit = false;
    if (sqlite3* h = handleOf(connectionName))
        sqlite3_progress_handler(h, 1000, &SqliteDatabase::progress, this);
}

void SqliteDatabase::fail(const QString& what, const QString& driverText, const QString& statement) {
    if (limitHit)
        throw StoreError(limitMessage);
    throw StoreError(describe(what, driverText) +
                     (statement.isEmpty() ? QString() : QStringLiteral("\nStatement: ") + statement));
}

SqliteDatabase::~SqliteDatabase() {
    {
        QSqlDatabase db = connection(connectionName);
        if (db.isOpen()) {
            if (transactionOpen)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
}

QString SqliteDatabase::describe(const QString& what, const QString& driverText) const {
    return QStringLiteral("Could not %1 the database \"%2\": %3")
        .arg(what, QDir::toNativeSeparators(path), driverText.trimmed());
}

// The file's layout, and this program's mark on it, are read at every open: an older layout is upgraded (when the
// file may be written), a newer one refused, since this program cannot know what its columns mean.
void SqliteDatabase::checkLayout(Mode mode) {
    int application = 0;
    int layout = 0;
    try {
        application = queryNative(QStringLiteral("PRAGMA application_id")).value(0, 0).toInt();
        layout = queryNative(QStringLiteral("PRAGMA user_version")).value(0, 0).toInt();
    } catch (const StoreError&) {
        throw StoreError(notOurs(path));
    }
    if (application != Schema::applicationId || layout < 1)
        throw StoreError(notOurs(path));
    if (layout > Schema::version)
        throw StoreError(QStringLiteral("The file \"%1\" was made by a newer Talvoro (layout %2); this program reads "
                                        "layouts up to %3.")
                             .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
                             .arg(layout)
                             .arg(Schema::version));
    if (layout == Schema::version)
        return;
    if (mode != Mode::ReadWrite)
        throw StoreError(QStringLiteral("The file \"%1\" has the layout of an older Talvoro (layout %2); the program "
                                        "upgrades it when it opens it to work with it.")
                             .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
                             .arg(layout));
    upgradeFrom(layout);
}

// A whole copy of the file goes beside it first ("bak_v1_kelvadat.mdb"); then every upgrade step runs in one
// transaction, so that the file is either of the old layout or of the new one.
void SqliteDatabase::upgradeFrom(int layout) {
    const QFileInfo file(path);
    const QString copy = file.dir().filePath(QStringLiteral("bak_v%1_").arg(layout) + file.fileName());
    const QString temporary = copy + QStringLiteral(".tmp");
    QFile::remove(temporary);
    try {
        execNative(QStringLiteral("VACUUM INTO %1").arg(SqlText::quote(QFileInfo(temporary).absoluteFilePath())));
    } catch (const StoreError& e) {
        QFile::remove(temporary);
        throw StoreError(QStringLiteral("The file \"%1\" could not be upgraded: its copy could not be written (%2).")
                             .arg(QDir::toNativeSeparators(file.absoluteFilePath()), e.message()));
    }
    QFile::remove(copy);
    if (!QFile::rename(temporary, copy)) {
        QFile::remove(temporary);
        throw StoreError(QStringLiteral("The file \"%1\" could not be upgraded: its copy could not be written.")
                             .arg(QDir::toNativeSeparators(file.absoluteFilePath())));
    }
    try {
        begin();
        Upgrade::steps(*this, layout);
        execNative(QStringLiteral("PRAGMA user_version = %1").arg(Schema::version));
        commit();
    } catch (const StoreError& e) {
        if (transactionOpen)
            rollback();
        throw StoreError(QStringLiteral("The file \"%1\" could not be upgraded from layout %2 to layout %3 and is "
                                        "left as it was: %4")
                             .arg(QDir::toNativeSeparators(file.absoluteFilePath()))
                             .arg(layout)
                             .arg(Schema::version)
                             .arg(e.message()));
    }
}

void SqliteDatabase::checkSchema() {
    RecordSet found;
    try {
        found = queryNative(QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table'"));
    } catch (const StoreError& e) {
        throw StoreError(QStringLiteral("The file \"%1\" is not a database of this program (%2).")
                             .arg(QDir::toNativeSeparators(path), e.message()));
    }
    QStringList tables;
    for (int i = 0; i < found.size(); ++i)
        tables << found.value(i, 0).toString();
    for (const auto& table : Schema::tables()) {
        // A view of the same name answers pragma_table_info too: only a real table counts.
        if (!tables.contains(table.name))
            throw StoreError(QStringLiteral("The file \"%1\" is not a database of this program: it has no table [%2].")
                                 .arg(QDir::toNativeSeparators(path), table.name));
        const RecordSet columns =
            queryNative(QStringLiteral("SELECT name FROM pragma_table_info(%1)").arg(SqlText::quote(table.name)));
        QStringList names;
        for (int i = 0; i < columns.size(); ++i)
            names << columns.value(i, 0).toString();
        if (names.isEmpty())
            throw StoreError(QStringLiteral("The file \"%1\" is not a database of this program: it has no table [%2].")
                                 .arg(QDir::toNativeSeparators(path), table.name));
        if (names != table.columnNames())
            throw StoreError(
                QStringLiteral("The file \"%1\" is not a database of this program: the table [%2] has other columns.")
                    .arg(QDir::toNativeSeparators(path), table.name));
    }
}

void SqliteDatabase::execNative(const QString& statement) {
    QSqlQuery q(connection(connectionName));
    if (!q.exec(statement))
        fail(QStringLiteral("write to"), q.lastError().text(), statement);
}

RecordSet SqliteDatabase::queryNative(const QString& statement) {
    QSqlQuery q(connection(connectionName));
    q.setForwardOnly(true);
    if (!q.exec(statement))
        fail(QStringLiteral("read from"), q.lastError().text(), statement);
    const QSqlRecord record = q.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    RecordSet rows(names);
    while (q.next()) {
        QVariantList row;
        row.reserve(names.size());
        for (int i = 0; i < names.size(); ++i)
            row << decode(q.value(i), names[i]);
        rows.append(std::move(row));
    }
    if (q.lastError().isValid())
        fail(QStringLiteral("read from"), q.lastError().text(), QString());
    return rows;
}

namespace {

SqlText::Translated translated(const QString& statement) {
    try {
        return SqlText::translate(statement);
    } catch (const std::exception& e) {
        throw StoreError(QString::fromStdString(e.what()));
    }
}

} // namespace

void SqliteDatabase::exec(const QString& statement) {
    const auto t = translated(statement);
    if (t.externalPath)
        attachExternal(*t.externalPath);
    execNative(t.sql);
}

RecordSet SqliteDatabase::query(const QString& statement) {
    const auto t = translated(statement);
    if (t.externalPath)
        attachExternal(*t.externalPath);
    return queryNative(t.sql);
}

void SqliteDatabase::attachExternal(const QString& externalFile, bool readOnly) {
    if (attached && *attached == externalFile)
        return;
    if (transactionOpen)
        throw StoreError(QStringLiteral("Another database file cannot be opened while a transaction is open."));
    if (!QFileInfo(externalFile).isFile())
        throw StoreError(
            QStringLiteral("The database file \"%1\" does not exist.").arg(QDir::toNativeSeparators(externalFile)));
    detachExternal();
    execNative(QStringLiteral("ATTACH DATABASE %1 AS %2")
                   .arg(SqlText::quote(sqliteFileUri(externalFile, readOnly ? "ro" : "rw")),
                        QLatin1String(SqlText::externalAlias)));
    attached = externalFile;
}

void SqliteDatabase::detachExternal() {
    if (!attached)
        return;
    execNative(QStringLiteral("DETACH DATABASE %1").arg(QLatin1String(SqlText::externalAlias)));
    attached.reset();
}

void SqliteDatabase::begin() {
    if (transactionOpen)
        throw StoreError(QStringLiteral("A transaction is already open."));
    QSqlDatabase db = connection(connectionName);
    if (!db.transaction())
        throw StoreError(describe(QStringLiteral("start a transaction on"), db.lastError().text()));
    transactionOpen = true;
}

void SqliteDatabase::commit() {
    QSqlDatabase db = connection(connectionName);
    if (!db.commit()) {
        const QString text = db.lastError().text();
        db.rollback();
        transactionOpen = false;
        throw StoreError(describe(QStringLiteral("commit to"), text));
    }
    transactionOpen = false;
}

void SqliteDatabase::rollback() {
    QSqlDatabase db = connection(connectionName);
    transactionOpen = false;
    if (!db.rollback())
        throw StoreError(describe(QStringLiteral("roll back"), db.lastError().text()));
}
