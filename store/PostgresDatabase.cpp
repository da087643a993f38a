#include "PostgresDatabase.h"

#include "DateMath.h"
#include "Names.h"
#include "RateKinds.h"
#include "RatesFile.h"
#include "Schema.h"
#include "ServerSchema.h"
#include "SqlText.h"
#include "StoreError.h"
#include "Upgrade.h"

#include <QAtomicInt>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

#include <libpq-fe.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

QAtomicInt connectionCounter;

using SqlText::serverName;

// The type numbers of the server's built-in types that a query may return outside the tables' columns.
constexpr Oid boolOid = 16, int8Oid = 20, int2Oid = 21, int4Oid = 23, float4Oid = 700, float8Oid = 701,
              numericOid = 1700, dateOid = 1082;

QString shortest(double value) {
    char buffer[40];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

// A value as the server reads it in text form, by the kind of its column (a date as YYYY-MM-DD, a Yes/No as 0 or 1,
// a number in the fewest digits that give it back exactly); empty is NULL.
std::optional<QByteArray> parameterText(const QVariant& v, std::optional<Schema::Kind> kind, const QString& column) {
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    const int type = v.typeId();
    if (kind == Schema::Kind::Date || (!kind && type == QMetaType::QDate)) {
        const QDate d = type == QMetaType::QDate ? v.toDate() : QDate::fromString(v.toString(), Qt::ISODate);
        if (!d.isValid() || d.year() < 1 || d.year() > 9999)
            throw StoreError(QStringLiteral("\"%1\" is not a date for [%2].").arg(v.toString(), column));
        return d.toString(Qt::ISODate).toLatin1();
    }
    if (kind == Schema::Kind::YesNo || (!kind && type == QMetaType::Bool))
        return QByteArray(v.toBool() ? "1" : "0");
    if (kind == Schema::Kind::Money || kind == Schema::Kind::Rate || kind == Schema::Kind::Double ||
        (!kind && type == QMetaType::Double)) {
        const double d = v.toDouble();
        if (!std::isfinite(d))
            throw StoreError(QStringLiteral("A number that is not finite cannot be written to [%1].").arg(column));
        return shortest(d).toLatin1();
    }
    if (kind == Schema::Kind::Counter || kind == Schema::Kind::Long || kind == Schema::Kind::Whole)
        return QByteArray::number(v.toLongLong());
    return v.toString().toUtf8();
}

// A value the server gave in text form, in the program's types by the column's kind, or by the server's type for a
// computed column.
QVariant decode(const char* text, int length, bool known, Schema::Kind kind, Oid type) {
    const QByteArray bytes = QByteArray::fromRawData(text, length);
    if (!known) {
        switch (type) {
        case boolOid:
            return bytes == "t";
        case int2Oid:
        case int4Oid:
        case int8Oid:
            return bytes.toLongLong();
        case float4Oid:
        case float8Oid:
        case numericOid:
            return bytes.toDouble();
        case dateOid: {
            const QDate d = DateMath::fromIso(QByteArrayView(text, length));
            return d.isValid() ? QVariant(d) : QVariant();
        }
        default:
            return QString::fromUtf8(text, length);
        }
    }
    switch (kind) {
    case Schema::Kind::Date: {
        const QDate d = DateMath::fromIso(QByteArrayView(text, length));
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case Schema::Kind::Money:
    case Schema::Kind::Rate:
    case Schema::Kind::Double:
        return bytes.toDouble();
    case Schema::Kind::Counter:
    case Schema::Kind::Long:
    case Schema::Kind::Whole:
        return int(bytes.toLongLong());
    case Schema::Kind::YesNo:
        return bytes.toLongLong() != 0;
    case Schema::Kind::Text:
        return QString::fromUtf8(text, length);
    }
    return QVariant();
}

struct Fields {
    QStringList names;
    std::vector<bool> known;
    std::vector<Schema::Kind> kinds;
    std::vector<Oid> types;

    explicit Fields(const PGresult* r) {
        for (int i = 0; i < PQnfields(r); ++i) {
            names << QString::fromUtf8(PQfname(r, i));
            Schema::Kind kind = Schema::Kind::Text;
            known.push_back(Schema::kindOf(names.back(), &kind));
            kinds.push_back(kind);
            types.push_back(PQftype(r, i));
        }
    }
    QVariant value(const PGresult* r, int row, int field) const {
        if (PQgetisnull(r, row, field))
            return QVariant();
        return decode(PQgetvalue(r, row, field), PQgetlength(r, row, field), known[size_t(field)], kinds[size_t(field)],
                      types[size_t(field)]);
    }
};

using Result = std::unique_ptr<PGresult, void (*)(PGresult*)>;

SqlText::ServerStatement translated(const QString& statement) {
    try {
        return SqlText::translateForServerBound(statement);
    } catch (const std::exception& e) {
        throw StoreError(QString::fromStdString(e.what()));
    }
}

// Does the statement write one of the published tables (rates, minimums)?
bool touchesPublished(const QString& statement) {
    for (const QString& t : ServerSchema::publishedTables())
        if (statement.contains(t))
            return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// The address

ServerAddress ServerAddress::parse(const QString& text) {
    ServerAddress a;
    qsizetype i = 0;
    const auto bad = [&text](const QString& why) {
        return StoreError(QStringLiteral("The server's address \"%1\" cannot be read: %2. Write it as keywords and "
                                         "values, such as host=/run/postgresql dbname=firm user=alice.")
                              .arg(text, why));
    };
    static const QStringList keywords = {QStringLiteral("host"),
                                         QStringLiteral("hostaddr"),
                                         QStringLiteral("port"),
                                         QStringLiteral("dbname"),
                                         QStringLiteral("user"),
                                         QStringLiteral("password"),
                                         QStringLiteral("passfile"),
                                         QStringLiteral("sslmode"),
                                         QStringLiteral("sslrootcert"),
                                         QStringLiteral("sslcert"),
                                         QStringLiteral("sslkey"),
                                         QStringLiteral("sslcrl"),
                                         QStringLiteral("connect_timeout"),
                                         QStringLiteral("application_name"),
                                         QStringLiteral("service"),
                                         QStringLiteral("target_session_attrs"),
                                         QStringLiteral("gssencmode"),
                                         QStringLiteral("requiressl")};
    while (i < text.size()) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        if (i >= text.size())
            break;
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            throw bad(QStringLiteral("\"%1\" has no value").arg(text.mid(i).trimmed()));
        const QString key = text.mid(i, eq - i).trimmed();
        if (!keywords.contains(key))
            throw bad(QStringLiteral("\"%1\" is not a keyword of a connection").arg(key));
        i = eq + 1;
        while (i < text.size() && text[i].isSpace())
            ++i;
        QString value;
        if (i < text.size() && text[i] == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
                    value += text[i + 1];
                    i += 2;
                } else if (text[i] == QLatin1Char('\'')) {
                    ++i;
                    closed = true;
                    break;
                } else {
                    value += text[i++];
                }
            }
            if (!closed)
                throw bad(QStringLiteral("the value of %1 has no closing quote").arg(key));
        } else {
            while (i < text.size() && !text[i].isSpace())
                value += text[i++];
        }
        a.set(key, value);
    }
    if (a.value(QStringLiteral("dbname")).isEmpty() && a.value(QStringLiteral("service")).isEmpty())
        throw bad(QStringLiteral("it names no database (dbname=...)"));
    return a;
}

QString ServerAddress::value(const QString& keyword) const {
    for (const auto& [k, v] : keywords)
        if (k == keyword)
            return v;
    return QString();
}

void ServerAddress::set(const QString& keyword, const QString& value) {
    for (auto& [k, v] : keywords)
        if (k == keyword) {
            v = value;
            return;
        }
    keywords.append({keyword, value});
}

QString ServerAddress::text() const {
    QStringList parts;
    for (const auto& [k, v] : keywords) {
        if (k == QLatin1String("password"))
            continue;
        if (v.isEmpty() || v.contains(QLatin1Char(' ')) || v.contains(QLatin1Char('\'')) ||
            v.contains(QLatin1Char('\\'))) {
            QString q = v;
            q.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
            parts << k + QLatin1String("='") + q + QLatin1Char('\'');
        } else {
            parts << k + QLatin1Char('=') + v;
        }
    }
    return parts.join(QLatin1Char(' '));
}

QString ServerAddress::shown() const {
    const QString host =
        value(QStringLiteral("host")).isEmpty() ? value(QStringLiteral("hostaddr")) : value(QStringLiteral("host"));
    const QString name = value(QStringLiteral("dbname"));
    return QStringLiteral("the database \"%1\" on the server %2")
        .arg(name.isEmpty() ? value(QStringLiteral("service")) : name,
             host.isEmpty() ? QStringLiteral("of this machine") : host);
}

QString serverRefusal(const ServerAddress& address, const QString& libraryText) {
    const QString said = libraryText.trimmed();
    const QString where = address.shown();
    const QString user = address.value(QStringLiteral("user")).isEmpty() ? QString::fromLocal8Bit(qgetenv("USER"))
                                                                         : address.value(QStringLiteral("user"));
    const auto has = [&said](const char* text) { return said.contains(QLatin1String(text), Qt::CaseInsensitive); };
    if (has("password authentication failed") || has("no password supplied") || has("SCRAM"))
        return QStringLiteral("The server refused the password of %1 for %2. Check the password in your ~/.pgpass "
                              "file (or the file PGPASSFILE names), or type it again.")
            .arg(user, where);
    if (has("does not exist") && has("database"))
        return QStringLiteral("The server %1 has no database \"%2\". Check the name of the database, or ask your "
                              "firm's IT to create it; then prepare it with talvoro-run --server ... --init-firm "
                              "ADMIN_ROLE STAFF_ROLE.")
            .arg(address.value(QStringLiteral("host")).isEmpty() ? QStringLiteral("of this machine")
                                                                 : address.value(QStringLiteral("host")),
                 address.value(QStringLiteral("dbname")));
    if (has("role") && has("does not exist"))
        return QStringLiteral("The server knows no user %1 (%2). Check the user name, or ask your firm's IT to "
                              "create it.")
            .arg(user, where);
    if (has("certificate") || has("SSL") || has("TLS"))
        return QStringLiteral("The server's TLS certificate was refused for %1: it is not signed by the root "
                              "certificate you trust (sslrootcert), or it names another host. Check the host name, "
                              "or ask your firm's IT for the firm's root certificate.")
            .arg(where);
    if (has("permission denied for database") || has("no pg_hba.conf entry"))
        return QStringLiteral("The server does not let %1 connect to %2. Ask your firm's IT to grant it.")
            .arg(user, where);
    if (has("timeout expired"))
        return QStringLiteral("The server did not answer within 10 seconds (%1). Check that it is running and that "
                              "this machine can reach it, or open the local file instead.")
            .arg(where);
    if (has("Connection refused") || has("No such file or directory") || has("could not connect") ||
        has("could not translate host name") || has("server closed the connection") || has("Is the server running"))
        return QStringLiteral("The server could not be reached for %1: it may be stopped, or the address may be "
                              "wrong. Check with your firm's IT that it is running, or open the local file instead.")
            .arg(where);
    return QStringLiteral("Could not connect to %1: %2").arg(where, said);
}

// ---------------------------------------------------------------------------------------------------------------
// The connection

PostgresDatabase::PostgresDatabase(const ServerAddress& address, Mode mode)
    : where(address), connectionName(QStringLiteral("talvoro-server-%1").arg(connectionCounter.fetchAndAddRelaxed(1))) {
    connect();
    try {
        if (mode == Mode::ReadWrite) {
            checkLayout();
            makeResultTables();
        }
    } catch (...) {
        {
            QSqlDatabase db = QSqlDatabase::database(connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connectionName);
        handle = nullptr;
        throw;
    }
}

PostgresDatabase::~PostgresDatabase() {
    if (handle && transactionOpen)
        PQclear(PQexec(handle, "ROLLBACK"));
    handle = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

void PostgresDatabase::connect() {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        throw StoreError(QStringLiteral("This installation cannot reach a PostgreSQL server: Qt's PostgreSQL driver "
                                        "(Debian's package libqt6sql6-psql) is not installed. Install it, or open the "
                                        "local file instead."));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    QStringList options;
    for (const auto& [k, v] : where.keywords) {
        if (k == QLatin1String("host"))
            db.setHostName(v);
        else if (k == QLatin1String("port"))
            db.setPort(v.toInt());
        else if (k == QLatin1String("dbname"))
            db.setDatabaseName(v);
        else if (k == QLatin1String("user"))
            db.setUserName(v);
        else if (k == QLatin1String("password"))
            db.setPassword(v);
        else if (k != QLatin1String("connect_timeout") && k != QLatin1String("application_name")) {
            // Qt passes the options on as they stand: a value is quoted, as the client library reads it.
            QString q = v;
            q.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
            q.replace(QLatin1Char(';'), QLatin1String("\\;"));
            options << k + QLatin1String("='") + q + QLatin1Char('\'');
        }
    }
    // No connection waits longer than ten seconds for a server that does not answer.
    options << QStringLiteral("connect_timeout=10") << QStringLiteral("application_name=Talvoro");
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        const QString text = db.lastError().databaseText() + QLatin1Char(' ') + db.lastError().driverText();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw StoreError(serverRefusal(where, text), StoreError::Kind::Failure, text.trimmed());
    }
    const QVariant h = db.driver()->handle();
    // The driver hands out its connection as "PGconn*" (the type's name in the client library is pg_conn).
    if (!h.isValid() || (qstrcmp(h.typeName(), "pg_conn*") != 0 && qstrcmp(h.typeName(), "PGconn*") != 0)) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw StoreError(
            QStringLiteral("Could not connect to %1: the PostgreSQL driver gave no connection.").arg(where.shown()));
    }
    handle = *static_cast<pg_conn* const*>(h.constData());
    sessionMark = QUuid::createUuid().toString(QUuid::WithoutBraces);
    // Dates in ISO form; a lock another user holds makes a statement fail after 10 s rather than wait for good.
    execNative(QStringLiteral("SELECT set_config('datestyle', 'ISO, MDY', false), "
                              "set_config('lock_timeout', '10s', false), "
                              "set_config('client_min_messages', 'warning', false), "
                              "set_config('talvoro.session', $1, false)"),
               {sessionMark});
}

void PostgresDatabase::fail(const QString& what, const QString& sqlState, const QString& text,
                            const QString& statement) {
    QString details = QStringLiteral("PostgreSQL (%1): %2").arg(sqlState, text.trimmed());
    if (!statement.isEmpty())
        details += QStringLiteral("\nStatement: ") + statement;
    if (sqlState == QLatin1String("42501")) {
        if (touchesPublished(statement))
            throw StoreError(ratesRefused(), StoreError::Kind::Failure, details);
        throw StoreError(QStringLiteral("The server does not let you do this on %1: your role there may not. Ask "
                                        "your firm's administrator.")
                             .arg(where.shown()),
                         StoreError::Kind::Failure, details);
    }
    if (sqlState == QLatin1String("55P03") || sqlState == QLatin1String("40P01") || sqlState == QLatin1String("40001"))
        throw StoreError(
            QStringLiteral("Another user is changing the same rows of %1. Try again in a moment.").arg(where.shown()),
            StoreError::Kind::InUse, details);
    if (sqlState.startsWith(QLatin1String("08")) || sqlState.startsWith(QLatin1String("57")) ||
        PQstatus(handle) != CONNECTION_OK)
        throw StoreError(QStringLiteral("The connection to %1 was lost: what was not saved is still on the screen. "
                                        "Check with your firm's IT that the server is running, then try again.")
                             .arg(where.shown()),
                         StoreError::Kind::Failure, details);
    QString reason;
    if (sqlState.startsWith(QLatin1String("23")) || sqlState == QLatin1String("22003") ||
        sqlState == QLatin1String("22001") || sqlState == QLatin1String("22008") ||
        sqlState == QLatin1String("22007") || sqlState == QLatin1String("22P02"))
        reason = QStringLiteral("a value is not one the database takes (too large, of the wrong kind, or a second "
                                "row where only one may be). Correct it, then try again.");
    else if (sqlState == QLatin1String("53100"))
        reason = QStringLiteral("the server's disk is full. Ask your firm's IT to make room on it.");
    else
        reason = QStringLiteral("the server refused it. The details are in the error report.");
    throw StoreError(QStringLiteral("Could not %1 %2: %3").arg(what, where.shown(), reason), StoreError::Kind::Failure,
                     details);
}

namespace {

// Runs one statement with its parameters in text form; the result, or null for a failure.
PGresult* run(pg_conn* handle, const QByteArray& sql, const std::vector<std::optional<QByteArray>>& values) {
    std::vector<const char*> pointers;
    std::vector<int> lengths;
    pointers.reserve(values.size());
    for (const auto& v : values) {
        pointers.push_back(v ? v->constData() : nullptr);
        lengths.push_back(v ? int(v->size()) : 0);
    }
    return PQexecParams(handle, sql.constData(), int(values.size()), nullptr, pointers.data(), lengths.data(), nullptr,
                        0);
}

} // namespace

RecordSet PostgresDatabase::queryNative(const QString& statement, const QVariantList& parameters) {
    return runNative(QStringLiteral("read from"), statement, parameters);
}

void PostgresDatabase::execNative(const QString& statement, const QVariantList& parameters) {
    runNative(QStringLiteral("write to"), statement, parameters);
}

RecordSet PostgresDatabase::runNative(const QString& what, const QString& statement, const QVariantList& parameters) {
    std::vector<std::optional<QByteArray>> values;
    for (const QVariant& p : parameters)
        values.push_back(parameterText(p, std::nullopt, QString()));
    Result r(run(handle, statement.toUtf8(), values), PQclear);
    const ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        fail(what, r ? QString::fromLatin1(PQresultErrorField(r.get(), PG_DIAG_SQLSTATE)) : QString(),
             QString::fromUtf8(PQerrorMessage(handle)), statement);
    const Fields fields(r.get());
    RecordSet rows(fields.names);
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        QVariantList rowValues;
        rowValues.reserve(fields.names.size());
        for (int f = 0; f < fields.names.size(); ++f)
            rowValues << fields.value(r.get(), row, f);
        rows.append(std::move(rowValues));
    }
    return rows;
}

void PostgresDatabase::exec(const QString& statement) {
    const auto t = translated(statement);
    execNative(t.sql, t.parameters);
}

RecordSet PostgresDatabase::query(const QString& statement) {
    const auto t = translated(statement);
    return queryNative(t.sql, t.parameters);
}

// A query's rows fetched from a cursor of the server a batch at a time, so that a firm's whole book is never in
// memory at once. The cursor outlives the transactions the run commits meanwhile.
class PostgresCursor : public Database::Cursor {
public:
    PostgresCursor(PostgresDatabase& database, const QString& statement, const QVariantList& parameters)
        : db(database), name(QStringLiteral("talvoro_cursor_%1").arg(++database.cursorCounter)), fields(nullptr) {
        db.execNative(QStringLiteral("DECLARE %1 NO SCROLL CURSOR WITH HOLD FOR %2").arg(name, statement), parameters);
        declared = true;
        fetch();
    }
    ~PostgresCursor() override {
        if (declared && db.handle && PQstatus(db.handle) == CONNECTION_OK)
            PQclear(PQexec(db.handle, QStringLiteral("CLOSE %1").arg(name).toLatin1().constData()));
    }
    bool next() override {
        ++row;
        if (row < PQntuples(batch.get()))
            return true;
        if (PQntuples(batch.get()) < batchSize)
            return false;
        fetch();
        row = 0;
        return PQntuples(batch.get()) > 0;
    }
    int fieldCount() const override { return int(fields.names.size()); }
    int fieldIndex(const QString& field) const override {
        const int exact = int(fields.names.indexOf(field));
        if (exact >= 0)
            return exact;
        for (int i = 0; i < fields.names.size(); ++i)
            if (fields.names[i].compare(field, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    QVariant value(int field) const override {
        if (field < 0 || field >= fields.names.size() || row < 0 || row >= PQntuples(batch.get()))
            return QVariant();
        return fields.value(batch.get(), row, field);
    }

private:
    static constexpr int batchSize = 2000;
    PostgresDatabase& db;
    QString name;
    Result batch{nullptr, PQclear};
    Fields fields;
    int row = -1;
    bool declared = false;

    void fetch() {
        const QString statement = QStringLiteral("FETCH FORWARD %1 FROM %2").arg(batchSize).arg(name);
        batch.reset(PQexec(db.handle, statement.toLatin1().constData()));
        if (!batch || PQresultStatus(batch.get()) != PGRES_TUPLES_OK)
            db.fail(QStringLiteral("read from"),
                    batch ? QString::fromLatin1(PQresultErrorField(batch.get(), PG_DIAG_SQLSTATE)) : QString(),
                    QString::fromUtf8(PQerrorMessage(db.handle)), statement);
        fields = Fields(batch.get());
    }
};

std::unique_ptr<Database::Cursor> PostgresDatabase::cursor(const QString& statement) {
    const auto t = translated(statement);
    return std::make_unique<PostgresCursor>(*this, t.sql, t.parameters);
}

void PostgresDatabase::insertRows(const QString& table, const QStringList& columns,
                                  const std::vector<QVariantList>& rows) {
    if (rows.empty() || columns.isEmpty())
        return;
    std::vector<Schema::Kind> kinds;
    QStringList names;
    for (const QString& c : columns) {
        Schema::Kind kind;
        if (!Schema::kindOf(c, &kind))
            throw StoreError(QStringLiteral("No table has a column named [%1].").arg(c));
        kinds.push_back(kind);
        names << serverName(c);
    }
    if (rows.size() >= copyFrom) {
        copyRows(table, names, kinds, columns, rows);
    } else {
        insertEach(table, names, kinds, columns, rows);
    }
    // Rows written with their own keys: the counter goes on after them.
    for (const auto& t : Schema::tables())
        if (t.name == table && !t.columns.empty() && t.columns.front().kind == Schema::Kind::Counter &&
            columns.contains(t.columns.front().name))
            counterAfterHighest(table);
}

namespace {

// A value as a line of COPY's text format holds it: a backslash, a tab, a line end escaped; empty is \N.
void appendCopyField(QByteArray& line, const std::optional<QByteArray>& value) {
    if (!value) {
        line += "\\N";
        return;
    }
    for (const char c : *value) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
}

} // namespace

// Many rows go as COPY data: the values travel beside the statement, as data, never in its text.
void PostgresDatabase::copyRows(const QString& table, const QStringList& names, const std::vector<Schema::Kind>& kinds,
                                const QStringList& columns, const std::vector<QVariantList>& rows) {
    const QString statement =
        QStringLiteral("COPY %1(%2) FROM STDIN").arg(serverName(table), names.join(QLatin1Char(',')));
    Result start(PQexec(handle, statement.toUtf8().constData()), PQclear);
    if (!start || PQresultStatus(start.get()) != PGRES_COPY_IN)
        fail(QStringLiteral("write to"),
             start ? QString::fromLatin1(PQresultErrorField(start.get(), PG_DIAG_SQLSTATE)) : QString(),
             QString::fromUtf8(PQerrorMessage(handle)), statement);
    QByteArray chunk;
    bool sent = true;
    QString refused;
    try {
        for (const QVariantList& row : rows) {
            for (int c = 0; c < columns.size(); ++c) {
                if (c)
                    chunk += '\t';
                appendCopyField(chunk, parameterText(row.value(c), kinds[size_t(c)], columns[c]));
            }
            chunk += '\n';
            if (chunk.size() > (1 << 16)) {
                sent = PQputCopyData(handle, chunk.constData(), int(chunk.size())) == 1;
                chunk.clear();
                if (!sent)
                    break;
            }
        }
    } catch (const StoreError& e) {
        refused = e.message();
    }
    if (sent && refused.isEmpty() && !chunk.isEmpty())
        sent = PQputCopyData(handle, chunk.constData(), int(chunk.size())) == 1;
    // A value the program refused ends the copy without a row of it written.
    PQputCopyEnd(handle, refused.isEmpty() && sent ? nullptr : "refused");
    Result end(PQgetResult(handle), PQclear);
    while (PGresult* more = PQgetResult(handle))
        PQclear(more);
    if (!refused.isEmpty())
        throw StoreError(refused);
    if (!end || PQresultStatus(end.get()) != PGRES_COMMAND_OK)
        fail(QStringLiteral("write to"),
             end ? QString::fromLatin1(PQresultErrorField(end.get(), PG_DIAG_SQLSTATE)) : QString(),
             QString::fromUtf8(PQerrorMessage(handle)), statement);
}

// A few rows: several a statement, each value a parameter of it.
void PostgresDatabase::insertEach(const QString& table, const QStringList& names,
                                  const std::vector<Schema::Kind>& kinds, const QStringList& columns,
                                  const std::vector<QVariantList>& rows) {
    const int perStatement = std::max(1, 4000 / int(columns.size()));
    const QString head =
        QStringLiteral("INSERT INTO %1(%2) VALUES ").arg(serverName(table), names.join(QLatin1Char(',')));
    for (size_t first = 0; first < rows.size(); first += size_t(perStatement)) {
        const size_t last = std::min(rows.size(), first + size_t(perStatement));
        QString sql = head;
        std::vector<std::optional<QByteArray>> values;
        values.reserve((last - first) * size_t(columns.size()));
        for (size_t r = first; r < last; ++r) {
            sql += r == first ? QLatin1String("(") : QLatin1String(",(");
            for (int c = 0; c < columns.size(); ++c) {
                values.push_back(parameterText(rows[r].value(c), kinds[size_t(c)], columns[c]));
                sql += (c ? QLatin1String(",$") : QLatin1String("$")) + QString::number(values.size());
            }
            sql += QLatin1Char(')');
        }
        Result result(run(handle, sql.toUtf8(), values), PQclear);
        if (!result || PQresultStatus(result.get()) != PGRES_COMMAND_OK)
            fail(QStringLiteral("write to"),
                 result ? QString::fromLatin1(PQresultErrorField(result.get(), PG_DIAG_SQLSTATE)) : QString(),
                 QString::fromUtf8(PQerrorMessage(handle)), head);
    }
}

void PostgresDatabase::counterAfterHighest(const QString& table) {
    const Schema::Table* t = Schema::table(table);
    if (!t || t->columns.empty() || t->columns.front().kind != Schema::Kind::Counter)
        return;
    // Never back: a key given once is not given again, as in a file.
    execNative(
        QStringLiteral("SELECT setval(s, greatest(coalesce((SELECT max(%1) FROM %2), 0), "
                       "coalesce(pg_sequence_last_value(s), 0), 1), (SELECT max(%1) FROM %2) IS NOT NULL OR "
                       "pg_sequence_last_value(s) IS NOT NULL) FROM (SELECT pg_get_serial_sequence($1, $2)::regclass "
                       "AS s) AS counter")
            .arg(serverName(t->columns.front().name), serverName(table)),
        {serverName(table), t->columns.front().name});
}

void PostgresDatabase::counterAfter(const QString& table, qint64 value) {
    const Schema::Table* t = Schema::table(table);
    if (!t || t->columns.empty() || t->columns.front().kind != Schema::Kind::Counter || value < 1)
        return;
    execNative(QStringLiteral("SELECT setval(pg_get_serial_sequence($1, $2), $3, true)"),
               {serverName(table), t->columns.front().name, value});
}

void PostgresDatabase::begin() {
    if (transactionOpen)
        throw StoreError(QStringLiteral("A transaction is already open."));
    execNative(QStringLiteral("BEGIN"));
    transactionOpen = true;
}

void PostgresDatabase::commit() {
    transactionOpen = false;
    // After a statement of the transaction failed, the server answers COMMIT by rolling back, without an error: that
    // is said, since nothing of the transaction was written.
    Result r(PQexec(handle, "COMMIT"), PQclear);
    if (!r || PQresultStatus(r.get()) != PGRES_COMMAND_OK)
        fail(QStringLiteral("write to"),
             r ? QString::fromLatin1(PQresultErrorField(r.get(), PG_DIAG_SQLSTATE)) : QString(),
             QString::fromUtf8(PQerrorMessage(handle)), QStringLiteral("COMMIT"));
    if (qstrcmp(PQcmdStatus(r.get()), "COMMIT") != 0)
        throw StoreError(
            QStringLiteral("Could not write to %1: a statement of the change was refused, so none of it "
                           "was written. The details are in the error report.")
                .arg(where.shown()),
            StoreError::Kind::Failure,
            QStringLiteral("PostgreSQL answered COMMIT with %1").arg(QString::fromLatin1(PQcmdStatus(r.get()))));
}

void PostgresDatabase::rollback() {
    transactionOpen = false;
    execNative(QStringLiteral("ROLLBACK"));
}

// ---------------------------------------------------------------------------------------------------------------
// The layout

void PostgresDatabase::checkLayout() {
    const RecordSet found =
        queryNative(QStringLiteral("SELECT to_regclass($1) IS NOT NULL"), {serverName(ServerSchema::layoutTable)});
    if (!found.value(0, 0).toBool())
        throw StoreError(QStringLiteral("%1 holds no Talvoro tables. Ask your firm's administrator to prepare it "
                                        "(talvoro-run --server ... --init-firm ADMIN_ROLE STAFF_ROLE), or choose "
                                        "another database.")
                             .arg(where.shown().left(1).toUpper() + where.shown().mid(1)));
    const RecordSet mark = queryNative(
        QStringLiteral("SELECT \"Layout\", \"Application\" FROM %1").arg(serverName(ServerSchema::layoutTable)));
    if (mark.size() != 1 || mark.value(0, 1).toLongLong() != Schema::applicationId)
        throw StoreError(QStringLiteral("%1 is not a database of this program.")
                             .arg(where.shown().left(1).toUpper() + where.shown().mid(1)));
    const int layout = int(mark.value(0, 0).toLongLong());
    if (layout > Schema::version)
        throw StoreError(QStringLiteral("%1 was made by a newer Talvoro (layout %2); this program reads layouts up "
                                        "to %3.")
                             .arg(where.shown().left(1).toUpper() + where.shown().mid(1))
                             .arg(layout)
                             .arg(Schema::version));
    if (layout < 1)
        throw StoreError(QStringLiteral("%1 is not a database of this program.")
                             .arg(where.shown().left(1).toUpper() + where.shown().mid(1)));
    if (layout < Schema::version)
        upgradeFrom(layout);
    checkTables(Schema::version);
}

void PostgresDatabase::checkTables(int layout) {
    const RecordSet found = queryNative(
        QStringLiteral("SELECT table_name, column_name FROM information_schema.columns WHERE table_schema = "
                       "'public' ORDER BY table_name, ordinal_position"));
    QHash<QString, QStringList> columns;
    for (int i = 0; i < found.size(); ++i)
        columns[found.value(i, 0).toString()] << found.value(i, 1).toString();
    for (const auto& t : Schema::tables(layout)) {
        const QString problem = !columns.contains(t.name) ? QStringLiteral("it has no table [%1]").arg(t.name)
                                : columns[t.name] != t.columnNames()
                                    ? QStringLiteral("the table [%1] has other columns").arg(t.name)
                                    : QString();
        if (!problem.isEmpty())
            throw StoreError(QStringLiteral("%1 is not a database of this program: %2.")
                                 .arg(where.shown().left(1).toUpper() + where.shown().mid(1), problem));
    }
}

// Every step from the database's layout to this program's runs in one transaction: the database is of the old layout
// or of the new one, never between. A table whose columns changed is made anew and its rows copied; its history
// trigger and its grants are made again.
void PostgresDatabase::upgradeFrom(int layout) {
    if (!rights().upgrade)
        throw StoreError(QStringLiteral("%1 has the layout of an older Talvoro (layout %2). Only the firm's "
                                        "administrator can upgrade it: ask them to open it once with this program.")
                             .arg(where.shown().left(1).toUpper() + where.shown().mid(1))
                             .arg(layout));
    Transaction t(*this);
    // One upgrade at a time: another program opening the database meanwhile waits here, then finds it upgraded.
    execNative(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(serverName(ServerSchema::layoutTable)));
    const RecordSet mark =
        queryNative(QStringLiteral("SELECT \"Layout\", \"Administrator Role\", \"Staff Role\" FROM %1")
                        .arg(serverName(ServerSchema::layoutTable)));
    const int from = int(mark.value(0, 0).toLongLong());
    if (from >= Schema::version)
        return;
    checkTables(from);
    try {
        for (int next = from + 1; next <= Schema::version; ++next) {
            const auto& before = Schema::tables(next - 1);
            for (const auto& table : Schema::tables(next)) {
                const auto old = std::find_if(before.begin(), before.end(),
                                              [&table](const Schema::Table& b) { return b.name == table.name; });
                if (old != before.end() && old->columnNames() == table.columnNames())
                    continue;
                if (old == before.end()) {
                    execNative(ServerSchema::createTable(next, table.name));
                } else {
                    const QString kept = table.name + QStringLiteral(" (layout %1)").arg(next - 1);
                    QStringList common;
                    for (const auto& c : old->columnNames())
                        if (table.columnNames().contains(c))
                            common << serverName(c);
                    execNative(
                        QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(serverName(table.name), serverName(kept)));
                    execNative(ServerSchema::createTable(next, table.name));
                    execNative(QStringLiteral("INSERT INTO %1(%2) OVERRIDING SYSTEM VALUE SELECT %2 FROM %3 ORDER BY 1")
                                   .arg(serverName(table.name), common.join(QLatin1Char(',')), serverName(kept)));
                    execNative(QStringLiteral("DROP TABLE %1").arg(serverName(kept)));
                    counterAfterHighest(table.name);
                }
                if (ServerSchema::clientTables().contains(table.name))
                    for (const QString& s : ServerSchema::historyTriggerStatements(table.name))
                        execNative(s);
            }
            for (const auto& o : Schema::objects(next))
                if (o.type == QLatin1String("index") &&
                    !queryNative(QStringLiteral("SELECT to_regclass($1) IS NOT NULL"), {serverName(o.name)})
                         .value(0, 0)
                         .toBool())
                    execNative(SqlText::translateForServer(o.sql));
            Upgrade::fill(*this, next);
        }
        if (!mark.value(0, 1).toString().isEmpty())
            for (const QString& s :
                 ServerSchema::grantStatements(mark.value(0, 1).toString(), mark.value(0, 2).toString()))
                execNative(s);
        execNative(QStringLiteral("UPDATE %1 SET \"Layout\" = $1").arg(serverName(ServerSchema::layoutTable)),
                   {Schema::version});
        t.commit();
    } catch (const StoreError& e) {
        throw StoreError(QStringLiteral("%1 could not be upgraded from layout %2 to layout %3 and is left as it "
                                        "was: %4")
                             .arg(where.shown().left(1).toUpper() + where.shown().mid(1))
                             .arg(from)
                             .arg(Schema::version)
                             .arg(e.message()),
                         StoreError::Kind::Failure, e.details());
    }
}

void PostgresDatabase::makeResultTables() {
    for (const QString& t : ServerSchema::resultTables())
        execNative(QStringLiteral("CREATE TEMPORARY TABLE %1 (LIKE public.%1 INCLUDING ALL)").arg(serverName(t)));
}

void PostgresDatabase::prepareFirm(const QString& adminRole, const QString& staffRole) {
    const RecordSet found =
        queryNative(QStringLiteral("SELECT to_regclass($1) IS NOT NULL"), {serverName(ServerSchema::layoutTable)});
    if (found.value(0, 0).toBool())
        throw StoreError(QStringLiteral("%1 already holds Talvoro's tables: it is not prepared again.")
                             .arg(where.shown().left(1).toUpper() + where.shown().mid(1)));
    for (const QString& role : {adminRole, staffRole})
        if (queryNative(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = $1"), {role}).isEmpty())
            throw StoreError(QStringLiteral("The server has no role \"%1\". Create the two roles first (see the "
                                            "README, \"A firm's server\"), then try again.")
                                 .arg(role));
    if (!queryNative(QStringLiteral("SELECT pg_has_role($1, 'MEMBER')"), {adminRole}).value(0, 0).toBool())
        throw StoreError(QStringLiteral("You are not a member of the role \"%1\": the firm's database is prepared by "
                                        "one of its administrators.")
                             .arg(adminRole));
    Transaction t(*this);
    // The public schema belongs to the database's owner; the administrator's role makes its objects there.
    execNative(QStringLiteral("GRANT USAGE, CREATE ON SCHEMA public TO %1").arg(serverName(adminRole)));
    execNative(QStringLiteral("GRANT CONNECT, TEMPORARY ON DATABASE %1 TO %2, %3")
                   .arg(serverName(queryNative(QStringLiteral("SELECT current_database()")).value(0, 0).toString()),
                        serverName(adminRole), serverName(staffRole)));
    execNative(QStringLiteral("SET LOCAL ROLE %1").arg(serverName(adminRole)));
    for (const QString& s : ServerSchema::createStatements(Schema::version))
        execNative(s);
    insertPublishedRates(*this, readPublishedRates(DataFiles::path(DataFiles::rates)));
    insertFailureToFileMinimums(*this, readFailureToFileMinimums(DataFiles::path(DataFiles::minimums)));
    for (const QString& s : ServerSchema::grantStatements(adminRole, staffRole))
        execNative(s);
    t.commit();
    makeResultTables();
}

// ---------------------------------------------------------------------------------------------------------------
// Rights and history

QString PostgresDatabase::ratesRefused() {
    return QStringLiteral("Only the firm's administrator can change the rate tables.");
}

PostgresDatabase::Rights PostgresDatabase::rights() {
    const RecordSet r = queryNative(
        QStringLiteral("SELECT has_table_privilege($1, 'UPDATE') AND has_table_privilege($1, 'INSERT') AND "
                       "has_table_privilege($1, 'DELETE'), "
                       "has_table_privilege($2, 'UPDATE') AND has_table_privilege($2, 'INSERT') AND "
                       "has_table_privilege($2, 'DELETE'), "
                       "pg_has_role((SELECT tableowner FROM pg_tables WHERE schemaname = 'public' AND tablename = $3), "
                       "'USAGE')"),
        {serverName(Tables::basicTaxpayerData), serverName(Tables::underpaymentRates), ServerSchema::layoutTable});
    return {r.value(0, 0).toBool(), r.value(0, 1).toBool(), r.value(0, 2).toBool()};
}

namespace {

PostgresDatabase::Change changeOf(const RecordSet& rows, int i) {
    PostgresDatabase::Change c;
    c.number = rows.value(i, 0).toLongLong();
    c.at = QDateTime::fromString(rows.value(i, 1).toString(), Qt::ISODate);
    c.by = rows.value(i, 2).toString();
    c.table = rows.value(i, 3).toString();
    c.operation = rows.value(i, 4).toString();
    if (rows.value(i, 5).isValid())
        c.row = rows.value(i, 5).toLongLong();
    c.before = rows.value(i, 6).toString();
    c.after = rows.value(i, 7).toString();
    return c;
}

const QString changeColumns = QStringLiteral(
    "\"Change\", to_char(\"Changed At\" AT TIME ZONE current_setting('TimeZone'), 'YYYY-MM-DD\"T\"HH24:MI:SS'), "
    "\"Changed By\", \"Table\", \"Operation\", \"Row\", \"Before\"::text, \"After\"::text");

} // namespace

std::vector<PostgresDatabase::Change> PostgresDatabase::history(int taxpayer) {
    const RecordSet rows = queryNative(QStringLiteral("SELECT %1 FROM %2 WHERE \"Taxpayer Number\" = $1 ORDER BY "
                                                      "\"Change\"")
                                           .arg(changeColumns, serverName(ServerSchema::historyTable)),
                                       {taxpayer});
    std::vector<Change> changes;
    for (int i = 0; i < rows.size(); ++i)
        changes.push_back(changeOf(rows, i));
    return changes;
}

qint64 PostgresDatabase::latestChange(int taxpayer) {
    return queryNative(QStringLiteral("SELECT coalesce(max(\"Change\"), 0) FROM %1 WHERE \"Taxpayer Number\" = $1")
                           .arg(serverName(ServerSchema::historyTable)),
                       {taxpayer})
        .value(0, 0)
        .toLongLong();
}

std::optional<PostgresDatabase::Change> PostgresDatabase::changedSince(int taxpayer, qint64 seen) {
    const RecordSet rows =
        queryNative(QStringLiteral("SELECT %1 FROM %2 WHERE \"Taxpayer Number\" = $1 AND \"Change\" > $2 AND "
                                   "\"Session\" IS DISTINCT FROM $3 ORDER BY \"Change\" DESC LIMIT 1")
                        .arg(changeColumns, serverName(ServerSchema::historyTable)),
                    {taxpayer, seen, sessionMark});
    if (rows.isEmpty())
        return std::nullopt;
    return changeOf(rows, 0);
}

std::optional<PostgresDatabase::Change> PostgresDatabase::writeUnlessChanged(int taxpayer, qint64* seen,
                                                                             const std::function<void()>& write) {
    Transaction t(*this);
    if (auto other = changedByOthers(taxpayer, *seen))
        return other;
    write();
    *seen = latestChange(taxpayer);
    t.commit();
    return std::nullopt;
}

std::optional<PostgresDatabase::Change> PostgresDatabase::changedByOthers(int taxpayer, qint64 seen) {
    // The taxpayer's row is locked first: two saves of one taxpayer take turns, and the second sees the first.
    const bool there = !queryNative(QStringLiteral("SELECT 1 FROM %1 WHERE \"Taxpayer Number\" = $1 FOR UPDATE")
                                        .arg(serverName(Tables::basicTaxpayerData)),
                                    {taxpayer})
                            .isEmpty();
    if (auto other = changedSince(taxpayer, seen))
        return other;
    if (!there) {
        Change gone;
        gone.operation = QStringLiteral("DELETE");
        return gone;
    }
    return std::nullopt;
}

void PostgresDatabase::refused(const QString& what, const QSqlError& error) {
    if (error.nativeErrorCode() == QLatin1String("talvoro-changed"))
        throw StoreError(error.databaseText(), StoreError::Kind::Changed);
    if (error.nativeErrorCode() == QLatin1String("talvoro-refused"))
        throw StoreError(error.databaseText(), StoreError::Kind::Failure, error.driverText());
    fail(what, error.nativeErrorCode(), error.text(), QString());
}

QString PostgresDatabase::conflictMessage(int taxpayer, const Change& change) {
    const QString when = change.at.toString(QStringLiteral("MM/dd/yyyy hh:mm"));
    if (change.operation == QLatin1String("DELETE") &&
        (change.table.isEmpty() || change.table == Tables::basicTaxpayerData))
        return change.by.isEmpty()
                   ? QStringLiteral(
                         "Taxpayer %1 is no longer on the server: another user deleted it. What you typed is "
                         "still on the screen.")
                         .arg(taxpayer)
                   : QStringLiteral("Taxpayer %1 was deleted by %2 at %3. What you typed is still on the screen.")
                         .arg(taxpayer)
                         .arg(change.by, when);
    return QStringLiteral("Taxpayer %1 was changed by %2 at %3. Reload it?").arg(taxpayer).arg(change.by, when);
}
