#pragma once

#include <QString>

// The statements of the store's own procedures, in the program's dialect (see SqlText). The calculation runs add
// theirs here too, so that every piece of SQL text lives in this one place.
namespace Sql {

QString deleteAll(const QString& table); // "DELETE * FROM [table]"

QString selectAllTaxpayers();           // "select * from [Basic Taxpayer Data]"
QString selectTaxpayersByName();        // ... "Order by [Taxpayer Name]"
QString selectTaxpayerName(int number); // "SELECT [Taxpayer Name] FROM ... WHERE [Taxpayer Number] =" n
QString countTaxpayer(int number);      // "SELECT COUNT([Taxpayer Number]) AS compcnt from ..."
QString countTaxpayerIn(const QString& file, int number); // the same, counted in another database file

// Save: one taxpayer's rows of `table` appended to the same table of `file`, every column copied.
QString copyTaxpayerRowsTo(const QString& table, const QString& file, int number);

// Retrieve, run on a connection to the transfer file: every row of its tables appended to `mainFile`.
QString retrieveTaxpayers(const QString& mainFile);
QString retrievePayments(const QString& mainFile); // every column but [Row]: the payments get new row numbers
// Deposits and charges keep their [Row] unless the main database already has it; those get new ones, after the
// rows that keep theirs, so that a new number never collides with a kept one.
QString retrieveKeepingFreeRows(const QString& table, const QString& mainFile);

} // namespace Sql
