#pragma once

#include <QString>
#include <QStringList>

#include "Schema.h"

// The database on a firm's server: the tables of a layout as PostgreSQL holds them (names in double quotes, each
// column's check as a CHECK constraint, keys as identity columns), the table that records the layout, and the
// history of every change to a client's rows, which the server itself writes.
namespace ServerSchema {

// The one-row table that records the layout, and the two roles the firm's database was prepared for.
inline const QString layoutTable = QStringLiteral("Talvoro Layout");
// Who changed which row of a client's tables, when, and its values before and after: written by the server's
// trigger, read by everyone, changed by no one.
inline const QString historyTable = QStringLiteral("Change History");

// The statements that make every table and index of `layout`, the layout table, the history and its triggers.
QStringList createStatements(int layout);

// The tables whose rows are a run's results: each connection has its own (temporary) ones, so that no user's
// report shows another's run.
QStringList resultTables();
// The tables of a client's rows (the taxpayers and every table of their rows): what the staff may change and what
// the history records.
QStringList clientTables();
// The published figures: the rate tables and the failure-to-file minimums, which only the administrator changes.
QStringList publishedTables();

// What the history trigger needs on one client table (made again when an upgrade makes the table anew).
QStringList historyTriggerStatements(const QString& table);

// The grants of the firm's two roles: the administrator's role owns every object and may change everything; the
// staff's role reads every table and changes the clients' rows only.
// Of the tables of `layout`.
QStringList grantStatements(const QString& adminRole, const QString& staffRole, int layout = Schema::version);

// The CREATE TABLE statement of one table of `layout`.
QString createTable(int layout, const QString& table);

} // namespace ServerSchema
