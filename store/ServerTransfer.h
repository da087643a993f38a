#pragma once

#include "TaxpayerTransfer.h"

#include <QList>
#include <QString>

class Database;
class PostgresDatabase;

// Moving taxpayers between files and a firm's server. A file is always an SQLite file (so that it can travel): it is
// read through a connection of its own and its rows written into the server in one server transaction; a save reads
// the rows from the server and writes them into a fresh copy of the empty template.
namespace ServerTransfer {

struct Copied {
    QList<int> taxpayers;                 // copied, by their numbers
    QList<int> alreadyThere;              // not copied: the server has a taxpayer of that number
    QList<QPair<QString, int>> rowCounts; // each table's rows copied, as counted on the server afterwards
};
// Copies every taxpayer of the database file `file`, with all its rows, to the server, in one transaction, and checks
// that the server holds as many rows of each of them as the file. A taxpayer whose number the server has already is
// left out and reported, never merged. Rows keep their keys unless the server has given a key to another row.
Copied copyToServer(const QString& file, PostgresDatabase& server);

// For the tests and the benchmarks: the server's rows, published figures included, made those of the file, keys and
// counters too.
void copyWholeFile(const QString& file, PostgresDatabase& server);

// The retrieve and the save, as TaxpayerTransfer does them for the file.
TaxpayerTransfer::Outcome retrieve(const QString& transferFile, PostgresDatabase& server, bool newNumbers = false,
                                   QList<int>* given = nullptr);
void save(PostgresDatabase& server, const QString& templateFile, const QString& targetFile, const QList<int>& numbers);

// Copies the rows of `table` that `where` selects (a condition of the program's dialect, or empty for all), `columns`
// of them, from one database to the other, a batch at a time.
void copyRows(Database& from, Database& to, const QString& table, const QStringList& columns, const QString& where);

} // namespace ServerTransfer
