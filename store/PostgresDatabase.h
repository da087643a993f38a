#pragma once

#include "QtDatabase.h"
#include "Schema.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

struct pg_conn;

// Where a firm's database is: the keywords of a PostgreSQL connection string ("host=/run/postgresql dbname=firm
// user=alice sslmode=verify-full"). The program never stores a password: the server's client library finds it in the
// user's ~/.pgpass (or the file PGPASSFILE names), or the program asks once per session.
struct ServerAddress {
    QList<QPair<QString, QString>> keywords; // in the order given

    // Throws a StoreError naming what is wrong with a malformed string.
    static ServerAddress parse(const QString& text);
    QString value(const QString& keyword) const;
    void set(const QString& keyword, const QString& value);
    // The string again, without any password: what may be kept in the settings and shown.
    QString text() const;
    // "the database "firm" on the server /run/postgresql", as messages name it.
    QString shown() const;
};

// One connection to a firm's database on a PostgreSQL server, through Qt's driver; statements of the program's dialect
// go through SqlText::translateForServer, and every value reaches the server as a parameter of the statement (the
// client library's own binding), never in its text. The tables of a run's results are the connection's own.
class PostgresDatabase : public QtDatabase {
public:
    enum class Mode {
        ReadWrite, // the database must hold this program's tables; an older layout is upgraded by its administrator
        Empty,     // a database to prepare (--init-firm): nothing is checked
    };

    explicit PostgresDatabase(const ServerAddress& address, Mode mode = Mode::ReadWrite);
    ~PostgresDatabase() override;
    PostgresDatabase(const PostgresDatabase&) = delete;
    PostgresDatabase& operator=(const PostgresDatabase&) = delete;

    const ServerAddress& address() const { return where; }
    QString shown() const override { return where.shown(); }
    const QString& qtConnectionName() const override { return connectionName; }
    // A model's refusal; a save over another user's change is said as such (StoreError::Kind::Changed).
    [[noreturn]] void refused(const QString& what, const QSqlError& error) override;

    void exec(const QString& statement) override;
    RecordSet query(const QString& statement) override;
    std::unique_ptr<Cursor> cursor(const QString& statement) override;
    void insertRows(const QString& table, const QStringList& columns, const std::vector<QVariantList>& rows) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return transactionOpen; }

    // PostgreSQL text as it stands, its values bound as parameters $1, $2 ... (in the program's types).
    void execNative(const QString& statement, const QVariantList& parameters = {});
    RecordSet queryNative(const QString& statement, const QVariantList& parameters = {});

    // Makes the firm's database on an empty one: every table, the history, the published rates and minimums, and the
    // grants of the two roles. The objects belong to the administrator's role, of which the user must be a member.
    void prepareFirm(const QString& adminRole, const QString& staffRole);

    // What the user may do on this database, as the server grants it.
    struct Rights {
        bool changeClients = false;
        bool changeRates = false;
        bool upgrade = false;
    };
    Rights rights();
    static QString ratesRefused();

    // A client's row changed, as the server's history records it.
    struct Change {
        qint64 number = 0;
        QDateTime at;
        QString by, table, operation;
        std::optional<qint64> row;
        QString before, after; // the row's values as JSON; empty for none
    };
    std::vector<Change> history(int taxpayer);
    // The number of the taxpayer's latest change (0 for none): what a form remembers when it shows the taxpayer.
    qint64 latestChange(int taxpayer);
    // The first change of the taxpayer after `seen` made by another connection, if any.
    std::optional<Change> changedSince(int taxpayer, qint64 seen);

    // Runs `write` in one transaction, unless another connection changed or deleted the taxpayer since the change
    // `seen` (what the form showed): then nothing is written and that change is returned. After a write, `seen` is
    // the taxpayer's latest change, the write's own.
    // Inside the caller's transaction: locks the taxpayer's row, and gives the change of another connection since
    // `seen`, or that the taxpayer is gone; nothing when the taxpayer may be written.
    std::optional<Change> changedByOthers(int taxpayer, qint64 seen);
    std::optional<Change> writeUnlessChanged(int taxpayer, qint64* seen, const std::function<void()>& write);
    // "Taxpayer N was changed by USER at TIME. Reload it?", or that it was deleted.
    static QString conflictMessage(int taxpayer, const Change& change);

    // After rows were written with their own keys, the table's counter goes on after the highest key.
    void counterAfterHighest(const QString& table);
    void counterAfter(const QString& table, qint64 value);

    // The connection's own mark, which the history records with each change, so that a user's own changes are told
    // from others'.
    const QString& session() const { return sessionMark; }

private:
    ServerAddress where;
    QString connectionName;
    pg_conn* handle = nullptr;
    bool transactionOpen = false;
    QString sessionMark;
    int cursorCounter = 0;

    // From this many rows on, an insert goes as COPY data.
    static constexpr size_t copyFrom = 64;
    void copyRows(const QString& table, const QStringList& names, const std::vector<Schema::Kind>& kinds,
                  const QStringList& columns, const std::vector<QVariantList>& rows);
    void insertEach(const QString& table, const QStringList& names, const std::vector<Schema::Kind>& kinds,
                    const QStringList& columns, const std::vector<QVariantList>& rows);
    void connect();
    RecordSet runNative(const QString& what, const QString& statement, const QVariantList& parameters);
    void checkLayout();
    void checkTables(int layout);
    void upgradeFrom(int layout);
    void makeResultTables();
    [[noreturn]] void fail(const QString& what, const QString& sqlState, const QString& text, const QString& statement);
    friend class PostgresCursor;
};

// The message of a connection that could not be made, from what the server's client library said: what to do.
QString serverRefusal(const ServerAddress& address, const QString& libraryText);
