#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The eight tables of the database with their columns, in their stored order. The delivered databases are made
// from this description by the build; the program itself only reads it to decode values and to check that a file
// it opens has the tables it expects.
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

// Raised whenever the stored layout changes; a file of another version is refused on open.
inline constexpr int version = 1;
// Marks a file as one of this program's databases (PRAGMA application_id).
inline constexpr int applicationId = 0x54564C52;

const std::vector<Table>& tables();
const Table* table(const QString& name);

// The kind of a column, looked up by name alone: a name means the same in every table that has it.
// Returns false for a name that no table has (a computed column).
bool kindOf(const QString& columnName, Kind* kind);

// SQLite statements that create every table, with the checks that keep each value in its documented encoding.
QStringList createStatements();

} // namespace Schema
