#pragma once

#include <QSqlTableModel>
#include <QString>
#include <QVariant>

#include <memory>

class QtDatabase;

// What the record editors get of the store: a model of one table on the editor's own connection, and the key of the
// row last added. The SQL text of both is made here.
namespace EditorModel {

// The rows of `table` (those of taxpayer `owner`, when it is above 0), sorted by `sortColumn` when one is given,
// edited in memory until submitted. On the firm's server the rows are written with their values as parameters, and a
// row of a taxpayer that another user changed since the model read it is not written: the submit fails with a
// StoreError::Kind::Changed refusal, and the model keeps what was typed.
std::unique_ptr<QSqlTableModel> open(QtDatabase& db, const QString& table, int owner, const QString& sortColumn,
                                     bool descending);

// The highest `key` of the table (of taxpayer `owner`'s rows, when it is above 0): the store assigns keys in
// increasing order and never reuses one, so this is the row just added.
QVariant highestKey(QtDatabase& db, const QString& table, const QString& key, int owner);

} // namespace EditorModel
