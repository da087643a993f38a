#pragma once

#include "RecordSet.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <vector>

// What the runs need of a database: statements of the program's dialect, snapshots, and transactions. The
// calculation code sees only this, never a Qt SQL type, so tests can hand it any implementation.
// Every failure is thrown as a StoreError.
class Database {
public:
    virtual ~Database() = default;

    // The rows of a query one at a time, in the program's types as RecordSet holds them: for reading more rows than
    // memory should hold at once (a firm's whole book).
    class Cursor {
    public:
        virtual ~Cursor() = default;
        // Moves to the next row; false after the last.
        virtual bool next() = 0;
        virtual int fieldCount() const = 0;
        virtual int fieldIndex(const QString& name) const = 0; // -1 when the query has no such field
        virtual QVariant value(int field) const = 0;
    };

    virtual void exec(const QString& statement) = 0;
    virtual RecordSet query(const QString& statement) = 0;
    virtual std::unique_ptr<Cursor> cursor(const QString& statement) = 0;
    // Appends rows to `table`: each row's values, in the program's types (a QDate, a double, a whole number, a bool,
    // a QString; an invalid QVariant is empty), for `columns` in order. Every value is bound to the statement, never
    // written into its text, and the statement is prepared once for all the rows.
    virtual void insertRows(const QString& table, const QStringList& columns,
                            const std::vector<QVariantList>& rows) = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
};

// Rolls back unless committed: a write that belongs together is written whole or not at all.
class Transaction {
public:
    explicit Transaction(Database& database) : db(database) { db.begin(); }
    ~Transaction() {
        if (!done && db.inTransaction()) {
            try {
                db.rollback();
            } catch (...) {
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit() {
        db.commit();
        done = true;
    }

private:
    Database& db;
    bool done = false;
};
