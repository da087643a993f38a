#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The tables of the database with their columns, in their stored order, for every layout the program has had. The
// delivered databases are made from this description by the build; the program reads it to decode values, to check
// that a file it opens is one of its own, and to check the values a file from elsewhere brings.
namespace Schema {

enum class Kind {
    Counter, // key assigned by the store, never reused
    Long,    // 32-bit integer
    Whole,   // whole number (day counts, sequence numbers)
    Date,    // 'YYYY-MM-DD'
    Text,    // at most `size` characters
    YesNo,   // 0 or 1
    Money,
    Rate,
    Double,
};

struct Column {
    QString name;
    Kind kind;
    int size = 0; // Text only
};

struct Table {
    QString name;
    std::vector<Column> columns;
    QStringList columnNames() const;
};

// The layout this program writes. A file records its layout in PRAGMA user_version; an older one is upgraded step
// by step (Upgrade), a newer one refused.
//   1  the eight tables of the first release
//   2  [Row], a key of their own, for [Interest Table] and [Overpayment Interest Table]
//   3  [Large Corporate Underpayment] and [Date Large Corporate Rate Begins] of [Basic Taxpayer Data];
//      [Large Corporate Underpayment Interest Table]; [Failure To File Minimum Table]
//   4  [Estimated Tax Data], [Estimated Tax Payments] and [Estimated Tax Table], the estimated-tax penalty
//   5  estimated-tax figures for each tax year of a taxpayer: [Row] of [Estimated Tax Data], one row a taxpayer and
//      tax year; [Tax Year End] of [Estimated Tax Payments], the year a payment is for
//   6  a client's several returns: [Client Code] of [Basic Taxpayer Data]; [Refund Table]; the rate on the part of
//      a corporate overpayment above $10,000, [Large Corporate Overpayment Interest Table]
inline constexpr int version = 7;
// Marks a file as one of this program's databases (PRAGMA application_id).
inline constexpr int applicationId = 0x54564C52;

// The largest amount (in dollars) the program accepts, typed or from a file: far above any tax case, and small
// enough that totals in whole cents never leave their range.
inline constexpr double largestAmount = 999999999999.99;

// The tables of the current layout, and of an earlier one (1 .. version).
const std::vector<Table>& tables();
const std::vector<Table>& tables(int layout);
const Table* table(const QString& name);

// The tables whose rows belong to one taxpayer (by their [Taxpayer Number]) besides [Basic Taxpayer Data]: they go
// with the taxpayer when it is deleted, saved or retrieved.
QStringList taxpayerRowTables();

// The kind of a column, looked up by name alone: a name means the same in every table that has it.
// Returns false for a name that no table has (a computed column).
bool kindOf(const QString& columnName, Kind* kind);

// SQLite statements that create every table of a layout, with the checks that keep each value in its documented
// encoding, the indexes, and the layout's version and application id.
QStringList createStatements(int layout = version);

// What sqlite_schema holds for a file of a layout, besides SQLite's own sqlite_sequence: every table and index with
// its exact SQL text.
struct Object {
    QString type; // "table" or "index"
    QString name;
    QString sql;
};
std::vector<Object> objects(int layout);

// The columns whose values no two rows of a table may share, besides the keys: what a unique index of the layout
// keeps unique.
struct UniqueKey {
    QString table;
    QStringList columns;
};
std::vector<UniqueKey> uniqueKeys(int layout);

// A SQL condition that holds when the column's value is one the program accepts, as typed or stored: the column's
// check, and the program's own bounds (keys and taxpayer numbers from 1 to 2,147,483,647, amounts up to
// largestAmount).
QString acceptedValue(const Table& table, const Column& column);
// What that condition asks for, as the user reads it ("a date (a real calendar day)").
QString describeAccepted(const Column& column);

} // namespace Schema
