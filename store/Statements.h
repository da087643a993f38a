#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The statements of the store's own procedures, in the program's dialect (see SqlText). The calculation runs add
// theirs here too, so that every piece of SQL text lives in this one place.
namespace Sql {

QString deleteAll(const QString& table); // "DELETE * FROM [table]"

QString selectAllTaxpayers();                      // "select * from [Basic Taxpayer Data]"
QString selectTaxpayersByName();                   // ... "Order by [Taxpayer Name]"
QString selectTaxpayerName(int number);            // "SELECT [Taxpayer Name] FROM ... WHERE [Taxpayer Number] =" n
QString countTaxpayers(const QList<int>& numbers); // the same for any of several numbers
QString countAllTaxpayers();                       // "SELECT COUNT(*) AS n FROM [Basic Taxpayer Data]"
QString highestTaxpayerNumber();                   // "SELECT MAX([Taxpayer Number]) ..."

// Save: one taxpayer's rows of `table` appended to the same table of `file`, every column copied.
QString copyTaxpayerRowsTo(const QString& table, const QString& file, int number);

// Retrieve, run on the main database: the rows of `table` in the checked copy of a transfer file, appended with the
// columns named (so that every check of the main database's table runs on every value).
QString retrieveRows(const QString& table, const QString& copyFile, const QStringList& columns);
// The same for a table whose rows keep their [Row] unless the main database already has it; those get new ones, after
// the rows that keep theirs, so that a new number never collides with a kept one. `columns` leaves [Row] out.
QString retrieveKeepingFreeRows(const QString& table, const QString& copyFile, const QStringList& columns);

// One taxpayer's rows of `table`, deleted with the taxpayer, and counted ("SELECT COUNT(*) AS n ...").
QString deleteTaxpayerRows(const QString& table, int number);
QString countTaxpayerRows(const QString& table, int number);

// What a taxpayer's case is read from: its rows of each table in the order the runs take them, for one taxpayer or,
// without a number, for every taxpayer in number order (the whole book reads each table once).
QString selectCaseTaxpayers(std::optional<int> number = std::nullopt);
QString selectCasePayments(std::optional<int> number = std::nullopt);
QString selectCaseCharges(std::optional<int> number = std::nullopt);
QString selectCaseDeposits(std::optional<int> number = std::nullopt);
QString selectCaseRefunds(std::optional<int> number = std::nullopt);
QString selectCaseIrsFigures(std::optional<int> number = std::nullopt);
// The taxpayers of a client (codes compare without spaces around them or regard to case), in number order, and every
// client code in use.
QString selectClientTaxpayers(const QString& clientCode);
QString selectClientCodes();
QString selectCaseEstimatedData(std::optional<int> number = std::nullopt);
QString selectCaseEstimatedPayments(std::optional<int> number = std::nullopt);

// The payment form's list of a taxpayer's required deposits, and the estimated-tax form's figures and payments.
QString selectDepositsOf(int number); // "SELECT * FROM [Required Payroll Tax Deposits] WHERE [Taxpayer Number]=" ...
QString selectEstimatedTaxData(int number);
// A tax year's estimated payments (`withoutYearToo`: and those of no year, which are the year's when it is the
// taxpayer's only one), and the same deleted before the form writes them anew with their figures.
QString selectEstimatedTaxPayments(int number, const QDate& yearEnd, bool withoutYearToo);
QString deleteEstimatedTaxPayments(int number, const QDate& yearEnd, bool withoutYearToo);
QString deleteEstimatedTaxYear(int row); // a row of [Estimated Tax Data] by its [Row]
// The payments without a tax year of a taxpayer with figures for exactly one year become that year's.
QString estimatedPaymentsToTheirOnlyYear();

// The published figures: a rate table in stored order, its periods alone, the failure-to-file minimums by year, and
// a line of them.
QString selectRatesOf(const QString& table);     // "select * FROM [table]"
QString selectRatePeriods(const QString& table); // [Beginning Date], [Ending Date] of a rate table
QString selectFailureToFileMinimums();
QString insertFailureToFileMinimum(int firstYear, double amount);

// The reports' queries, as the report data sources issue them. The grouped ones are their inner SELECT: the
// report groups the rows itself. The payment report's "?" is the active taxpayer's number.
QString reportPenaltyQuery();      // DataReport1
QString reportSummaryQuery();      // DataReport4
QString reportPaymentQuery();      // DataReport3
QString reportDepositQuery();      // DataReport5
QString reportInterestQuery();     // DataReport6
QString reportEstimatedTaxQuery(); // the worksheet lines in order
QString withParameter(const QString& query, int number);

} // namespace Sql
