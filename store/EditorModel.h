#pragma once

#include <QSqlTableModel>
#include <QString>
#include <QVariant>

#include <memory>

class SqliteDatabase;

// What the record editors get of the store: a model of one table on the editor's own connection, and the key of the
// row last added. The SQL text of both is made here.
namespace EditorModel {

// The rows of `table` (those of taxpayer `owner`, when it is above 0), sorted by `sortColumn` when one is given,
// edited in memory until submitted.
std::unique_ptr<QSqlTableModel> open(SqliteDatabase& db, const QString& table, int owner, const QString& sortColumn,
                                     bool descending);

// The highest `key` of the table (of taxpayer `owner`'s rows, when it is above 0): the store assigns keys in
// increasing order and never reuses one, so this is the row just added.
QVariant highestKey(SqliteDatabase& db, const QString& table, const QString& key, int owner);

} // namespace EditorModel
