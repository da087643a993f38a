#include "SqliteDatabase.h"

#include "DateMath.h"
#include "Schema.h"
#include "SqlText.h"
#include "StoreError.h"
#include "Upgrade.h"
#include "WholeFile.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <functional>

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
        const QDate d = DateMath::fromIso(raw.toString());
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

QString inUse(const QString& filePath) {
    return QStringLiteral("The database \"%1\" is in use by another program, which holds it locked. Try again when "
                          "that program has finished with it.")
        .arg(QDir::toNativeSeparators(QFileInfo(filePath).absoluteFilePath()));
}

QString damaged(const QString& filePath) {
    const QFileInfo file(filePath);
    const QString shown = QDir::toNativeSeparators(file.absoluteFilePath());
    QString text = QStringLiteral("The database \"%1\" is damaged: SQLite finds it is not whole.").arg(shown);
    // The copies the program keeps beside it ("bak_1_kelvadat.mdb", "bak_v3_kelvadat.mdb"), newest first.
    const QFileInfoList copies =
        file.dir().entryInfoList({QStringLiteral("bak_*_") + file.fileName()}, QDir::Files, QDir::Time);
    if (copies.isEmpty())
        return text + QStringLiteral(" There is no backup copy of it in its folder; restore it from your own backup "
                                     "of the folder.");
    QStringList listed;
    for (const QFileInfo& copy : copies)
        listed << QStringLiteral("%1 (%2)").arg(copy.fileName(),
                                                copy.lastModified().toString(QStringLiteral("MM/dd/yyyy hh:mm")));
    return text + QStringLiteral(" To go back to a backup copy, close the program and copy one of these over \"%1\": "
                                 "%2. What was entered after the copy's time must be entered again.")
                      .arg(file.fileName(), listed.join(QStringLiteral(", ")));
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

namespace {
QString shownFile(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}
} // namespace

void SqliteDatabase::fail(const QString& what, const QSqlError& error, const QString& statement) {
    fail(what, error.nativeErrorCode().toInt(), error.text(), statement);
}

void SqliteDatabase::fail(const QString& what, int resultCode, const QString& text, const QString& statement) {
    if (limitHit)
        throw StoreError(limitMessage);
    // SQLite's primary result codes: 5 busy, 6 locked, 11 damaged, 26 not a database.
    const int code = resultCode & 0xff;
    if (code == 5 || code == 6)
        throw StoreError(inUse(path), StoreError::Kind::InUse);
    if (code == 11)
        throw StoreError(damaged(path), StoreError::Kind::Damaged);
    if (code == 26)
        throw StoreError(notOurs(path));
    // The user is told what happened in words; what SQLite said and the statement go to the details only.
    QString reason;
    switch (code) {
    case 8:
        reason = QStringLiteral("the file may only be read. Check that you may write to it and to its folder.");
        break;
    case 10:
        reason = QStringLiteral("the disk could not be read or written. Check the disk, then try again.");
        break;
    case 13:
        reason = QStringLiteral("the disk is full. Make room on it, then try again.");
        break;
    case 14:
        reason = QStringLiteral("the file could not be opened. Check that it and its folder are there.");
        break;
    case 19:
        reason = QStringLiteral("a value is not one the database takes (too large, of the wrong kind, or a second "
                                "row where only one may be). Correct it, then try again.");
        break;
    default:
        reason = QStringLiteral("the database refused it. The details are in the error report.");
        break;
    }
    QString details = QStringLiteral("SQLite (%1): %2").arg(resultCode).arg(text.trimmed());
    if (!statement.isEmpty())
        details += QStringLiteral("\nStatement: ") + statement;
    throw StoreError(QStringLiteral("Could not %1 the database \"%2\": %3").arg(what, shownFile(path), reason),
                     StoreError::Kind::Failure, details);
}

QString SqliteDatabase::shown() const {
    return QStringLiteral("the file \"%1\"").arg(shownFile(path));
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

namespace {

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

// The file's layout, and this program's mark on it, are read at every open: an older layout is upgraded (when the
// file may be written), a newer one refused, since this program cannot know what its columns mean.
void SqliteDatabase::checkLayout(Mode mode) {
    int application = 0;
    int layout = 0;
    readMark(&application, &layout);
    if (application != Schema::applicationId || layout < 1)
        throw StoreError(notOurs(path));
    if (layout > Schema::version)
        throw StoreError(QStringLiteral("The file \"%1\" was made by a newer Talvoro (layout %2); this program reads "
                                        "layouts up to %3.")
                             .arg(shownPath(path))
                             .arg(layout)
                             .arg(Schema::version));
    if (layout == Schema::version)
        return;
    if (mode != Mode::ReadWrite)
        throw StoreError(QStringLiteral("The file \"%1\" has the layout of an older Talvoro (layout %2); the program "
                                        "upgrades it when it opens it to work with it.")
                             .arg(shownPath(path))
                             .arg(layout));
    upgradeFrom(layout);
}

// A file whose mark cannot be read is not one of this program's, unless it could not be read because another
// program holds it locked or because it is damaged: those are said as they are.
void SqliteDatabase::readMark(int* application, int* layout) {
    try {
        *application = queryNative(QStringLiteral("PRAGMA application_id")).value(0, 0).toInt();
        *layout = queryNative(QStringLiteral("PRAGMA user_version")).value(0, 0).toInt();
    } catch (const StoreError& e) {
        if (e.kind() != StoreError::Kind::Failure)
            throw;
        throw StoreError(notOurs(path));
    }
}

// One process upgrades a file at a time: another one opening it meanwhile waits for the lock beside it and then finds
// it upgraded. The tables must be those of the layout the file claims before anything is written: a wrong mark would
// otherwise leave a file of neither layout. A whole copy of the file goes beside it first ("bak_v1_kelvadat.mdb");
// then every upgrade step runs in one transaction, so that the file is either of the old layout or of the new one.
void SqliteDatabase::upgradeFrom(int layout) {
    const QFileInfo file(path);
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(0); // held for as long as the upgrade takes; a dead holder's lock is taken over
    if (!lock.tryLock(upgradeWaitMs))
        throw StoreError(QStringLiteral("The file \"%1\" is being upgraded by another copy of the program. Try again "
                                        "when it has finished.")
                             .arg(shownPath(path)),
                         StoreError::Kind::InUse);
    int application = 0;
    readMark(&application, &layout);
    if (layout == Schema::version)
        return;
    if (const QString wrong = tableMismatch(layout); !wrong.isEmpty())
        throw StoreError(QStringLiteral("The file \"%1\" says it has layout %2, but %3. It is not upgraded and is "
                                        "left as it was.")
                             .arg(shownPath(path))
                             .arg(layout)
                             .arg(wrong));

    const QString copy = file.dir().filePath(QStringLiteral("bak_v%1_").arg(layout) + file.fileName());
    QString temporary;
    try {
        temporary = reserveTemporaryBeside(copy, QStringLiteral(".tmp"));
        execNative(QStringLiteral("VACUUM INTO %1").arg(SqlText::quote(QFileInfo(temporary).absoluteFilePath())));
        renameOver(temporary, copy);
    } catch (const StoreError& e) {
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        throw StoreError(QStringLiteral("The file \"%1\" could not be upgraded: its copy could not be written (%2).")
                             .arg(shownPath(path), e.message()));
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
                             .arg(shownPath(path))
                             .arg(layout)
                             .arg(Schema::version)
                             .arg(e.message()));
    }
}

QString SqliteDatabase::tableMismatch(int layout) {
    const RecordSet found = queryNative(QStringLiteral("SELECT name FROM sqlite_schema WHERE type = 'table'"));
    QStringList tables;
    for (int i = 0; i < found.size(); ++i)
        tables << found.value(i, 0).toString();
    for (const auto& table : Schema::tables(layout)) {
        // A view of the same name answers pragma_table_info too: only a real table counts.
        if (!tables.contains(table.name))
            return QStringLiteral("it has no table [%1]").arg(table.name);
        const RecordSet columns =
            queryNative(QStringLiteral("SELECT name FROM pragma_table_info(%1)").arg(SqlText::quote(table.name)));
        QStringList names;
        for (int i = 0; i < columns.size(); ++i)
            names << columns.value(i, 0).toString();
        if (names != table.columnNames())
            return QStringLiteral("the table [%1] has other columns").arg(table.name);
    }
    // A table that only a later layout has would be in the way of the upgrade step that makes it.
    for (const auto& later : Schema::tables())
        if (tables.contains(later.name) && !Schema::tables(layout).empty() &&
            std::none_of(Schema::tables(layout).begin(), Schema::tables(layout).end(),
                         [&later](const Schema::Table& t) { return t.name == later.name; }))
            return QStringLiteral("it already has the table [%1] of a later layout").arg(later.name);
    return QString();
}

void SqliteDatabase::checkSchema() {
    QString wrong;
    try {
        wrong = tableMismatch(Schema::version);
    } catch (const StoreError& e) {
        if (e.kind() != StoreError::Kind::Failure)
            throw;
        throw StoreError(QStringLiteral("The file \"%1\" is not a database of this program (%2).")
                             .arg(QDir::toNativeSeparators(path), e.message()));
    }
    if (!wrong.isEmpty())
        throw StoreError(QStringLiteral("The file \"%1\" is not a database of this program: %2.")
                             .arg(QDir::toNativeSeparators(path), wrong));
}

void SqliteDatabase::execNative(const QString& statement) {
    QSqlQuery q(connection(connectionName));
    if (!q.exec(statement))
        fail(QStringLiteral("write to"), q.lastError(), statement);
}

RecordSet SqliteDatabase::queryNative(const QString& statement) {
    QSqlQuery q(connection(connectionName));
    q.setForwardOnly(true);
    if (!q.exec(statement))
        fail(QStringLiteral("read from"), q.lastError(), statement);
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
        fail(QStringLiteral("read from"), q.lastError(), QString());
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

namespace {

Schema::Kind kindOfColumn(const QString& column) {
    Schema::Kind kind;
    if (!Schema::kindOf(column, &kind))
        throw StoreError(QStringLiteral("No table has a column named [%1].").arg(column));
    return kind;
}

// Binds a value as its column stores it (a date as 'YYYY-MM-DD' text, a Yes/No as 0 or 1); empty is NULL.
int bindValue(sqlite3_stmt* statement, int at, Schema::Kind kind, const QString& column, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return sqlite3_bind_null(statement, at);
    auto text = [statement, at](const QString& s) {
        const QByteArray bytes = s.toUtf8();
        return sqlite3_bind_text(statement, at, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    };
    switch (kind) {
    case Schema::Kind::Date: {
        const QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : QDate::fromString(v.toString(), Qt::ISODate);
        if (!d.isValid() || d.year() < 1 || d.year() > 9999)
            throw StoreError(QStringLiteral("\"%1\" is not a date for [%2].").arg(v.toString(), column));
        char iso[10];
        const int parts[3] = {d.year(), d.month(), d.day()};
        const int widths[3] = {4, 2, 2};
        for (int p = 0, k = 0; p < 3; ++p) {
            for (int i = widths[p] - 1, n = parts[p]; i >= 0; --i, n /= 10)
                iso[k + i] = char('0' + n % 10);
            k += widths[p];
            if (p < 2)
                iso[k++] = '-';
        }
        return sqlite3_bind_text(statement, at, iso, 10, SQLITE_TRANSIENT);
    }
    case Schema::Kind::Money:
    case Schema::Kind::Rate:
    case Schema::Kind::Double:
        return sqlite3_bind_double(statement, at, v.toDouble());
    case Schema::Kind::Counter:
    case Schema::Kind::Long:
    case Schema::Kind::Whole:
        return sqlite3_bind_int64(statement, at, v.toLongLong());
    case Schema::Kind::YesNo:
        return sqlite3_bind_int(statement, at, v.toBool() ? 1 : 0);
    case Schema::Kind::Text:
        return text(v.toString());
    }
    return sqlite3_bind_null(statement, at);
}

} // namespace

// Through SQLite itself rather than Qt's driver: one prepared statement, its values bound, row after row.
void SqliteDatabase::insertRows(const QString& table, const QStringList& columns,
                                const std::vector<QVariantList>& rows) {
    if (rows.empty())
        return;
    QStringList names, marks;
    std::vector<Schema::Kind> kinds;
    for (const QString& c : columns) {
        names << QLatin1Char('[') + c + QLatin1Char(']');
        marks << QStringLiteral("?");
        kinds.push_back(kindOfColumn(c));
    }
    const QString statement = QStringLiteral("INSERT INTO [%1](%2) VALUES(%3)")
                                  .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    sqlite3* h = handleOf(connectionName);
    if (!h)
        throw StoreError(describe(QStringLiteral("write to"), QStringLiteral("the SQLite driver gave no connection")));
    const QByteArray sql = statement.toUtf8();
    sqlite3_stmt* prepared = nullptr;
    if (const int rc = sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &prepared, nullptr); rc != SQLITE_OK)
        fail(QStringLiteral("write to"), rc, QString::fromUtf8(sqlite3_errmsg(h)), statement);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalize(prepared, sqlite3_finalize);
    // The rows are written all or none, inside the caller's transaction or in one of their own.
    std::optional<Transaction> own;
    if (!transactionOpen)
        own.emplace(*this);
    for (const QVariantList& row : rows) {
        for (int i = 0; i < columns.size(); ++i)
            if (const int rc = bindValue(prepared, i + 1, kinds[size_t(i)], columns[i], row.value(i)); rc != SQLITE_OK)
                fail(QStringLiteral("write to"), rc, QString::fromUtf8(sqlite3_errmsg(h)), statement);
        const int rc = sqlite3_step(prepared);
        if (rc != SQLITE_DONE)
            fail(QStringLiteral("write to"), sqlite3_extended_errcode(h), QString::fromUtf8(sqlite3_errmsg(h)),
                 statement);
        sqlite3_reset(prepared);
    }
    if (own)
        own->commit();
}

namespace {

// A statement of SQLite itself, stepped row by row; values decoded by their column's kind, as queries decode them.
class SqliteCursor : public Database::Cursor {
public:
    SqliteCursor(sqlite3_stmt* prepared, std::function<void(int)> failed)
        : statement(prepared), fail(std::move(failed)) {
        const int count = sqlite3_column_count(statement);
        for (int i = 0; i < count; ++i) {
            names << QString::fromUtf8(sqlite3_column_name(statement, i));
            positions.insert(names.back(), i);
            Schema::Kind kind = Schema::Kind::Text;
            known.push_back(Schema::kindOf(names.back(), &kind));
            kinds.push_back(kind);
        }
    }
    ~SqliteCursor() override { sqlite3_finalize(statement); }
    bool next() override {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            fail(rc);
        return false;
    }
    int fieldCount() const override { return int(names.size()); }
    int fieldIndex(const QString& name) const override {
        if (const auto exact = positions.constFind(name); exact != positions.constEnd())
            return *exact;
        for (int i = 0; i < names.size(); ++i)
            if (names[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    QVariant value(int field) const override {
        if (field < 0 || field >= names.size())
            return QVariant();
        const int type = sqlite3_column_type(statement, field);
        if (type == SQLITE_NULL)
            return QVariant();
        auto text = [this, field] {
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, field)),
                                     sqlite3_column_bytes(statement, field));
        };
        if (!known[size_t(field)])
            return type == SQLITE_INTEGER ? QVariant(sqlite3_column_int64(statement, field))
                   : type == SQLITE_FLOAT ? QVariant(sqlite3_column_double(statement, field))
                                          : QVariant(text());
        switch (kinds[size_t(field)]) {
        case Schema::Kind::Date: {
            const QDate d =
                DateMath::fromIso(QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(statement, field)),
                                                 sqlite3_column_bytes(statement, field)));
            return d.isValid() ? QVariant(d) : QVariant();
        }
        case Schema::Kind::Money:
        case Schema::Kind::Rate:
        case Schema::Kind::Double:
            return sqlite3_column_double(statement, field);
        case Schema::Kind::Counter:
        case Schema::Kind::Long:
        case Schema::Kind::Whole:
            return int(sqlite3_column_int64(statement, field));
        case Schema::Kind::YesNo:
            return sqlite3_column_int64(statement, field) != 0;
        case Schema::Kind::Text:
            return text();
        }
        return QVariant();
    }

private:
    sqlite3_stmt* statement;
    std::function<void(int)> fail;
    QStringList names;
    QHash<QString, int> positions;
    std::vector<Schema::Kind> kinds;
    std::vector<bool> known;
};

} // namespace

std::unique_ptr<Database::Cursor> SqliteDatabase::cursor(const QString& statement) {
    const auto t = translated(statement);
    if (t.externalPath)
        attachExternal(*t.externalPath);
    sqlite3* h = handleOf(connectionName);
    if (!h)
        throw StoreError(describe(QStringLiteral("read from"), QStringLiteral("the SQLite driver gave no connection")));
    const QByteArray sql = t.sql.toUtf8();
    sqlite3_stmt* prepared = nullptr;
    if (const int rc = sqlite3_prepare_v2(h, sql.constData(), int(sql.size()), &prepared, nullptr); rc != SQLITE_OK)
        fail(QStringLiteral("read from"), rc, QString::fromUtf8(sqlite3_errmsg(h)), statement);
    return std::make_unique<SqliteCursor>(prepared, [this, h, statement](int) {
        fail(QStringLiteral("read from"), sqlite3_extended_errcode(h), QString::fromUtf8(sqlite3_errmsg(h)), statement);
    });
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
