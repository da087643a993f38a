#pragma once

#include "RecordSet.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

// What the runs need of a database: statements of the program's dialect, snapshots, and transactions. The
// calculation code sees only this, never a Qt SQL type, so tests can hand it any implementation.
// Every failure is thrown as a StoreError.
class Database {
public:
    virtual ~Database() = default;

    virtual void exec(const QString& statement) = 0;
    virtual RecordSet query(const QString& statement) = 0;
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
