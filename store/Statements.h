#pragma once

#include <QDate>
#include <QString>

#include <QVariantMap>
#include <optional>

// The statements of the store's own procedures, in the program's dialect (see SqlText). The calculation runs add
// theirs here too, so that every piece of SQL text lives in this one place.
namespace Sql {

QString deleteAll(const QString& table); // "DELETE * FROM [table]"

QString selectAllTaxpayers();                      // "select * from [Basic Taxpayer Data]"
QString selectTaxpayersByName();                   // ... "Order by [Taxpayer Name]"
QString selectTaxpayersByNumber();                 // ... "Order by [Taxpayer Number]"
QString selectTaxpayerName(int number);            // "SELECT [Taxpayer Name] FROM ... WHERE [Taxpayer Number] =" n
QString countTaxpayer(int number);                 // "SELECT COUNT([Taxpayer Number]) AS compcnt from ..."
QString countTaxpayers(const QList<int>& numbers); // the same for any of several numbers

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

// A row written from values in the program's types (a QDate or 'YYYY-MM-DD' text, a double, a whole number, a
// bool, a QString; an invalid QVariant is empty), each written as its column's kind requires.
QString insertRow(const QString& table, const QVariantMap& values);
QString updateRow(const QString& table, const QString& keyColumn, qint64 key, const QVariantMap& values);

// The calculation runs.
QString selectTaxpayer(int number);   // "select * from [Basic Taxpayer Data] where [Taxpayer Number] = " n
QString selectPaymentsOf(int number); // "SELECT * FROM [Payment Table] WHERE [Taxpayer Number]=" n " ORDER BY ..."
QString selectDepositsOf(int number); // "SELECT * FROM [Required Payroll Tax Deposits] WHERE [Taxpayer Number]=" ...
QString selectPaymentsUpTo(const QDate& endate, int number);
QString selectChargesBetween(const QDate& startdate, const QDate& endate, int number);
// The payment form's list of one taxpayer's payments.
QString selectPaymentList(int number); // "select * from [Payment Table] where [Taxpayer Number] = " n " Order by ..."
QString selectUnderpaymentRates();     // "select * FROM [Interest Table]"
QString selectOverpaymentRates();      // "select * FROM [Overpayment Interest Table]"
QString selectLargeCorporateRates();   // "select * FROM [Large Corporate Underpayment Interest Table]"
QString selectFailureToFileMinimums(); // by [First Year]
QString selectRatePeriods(const QString& table); // [Beginning Date], [Ending Date] of a rate table
// A period of a rate table, and a line of the failure-to-file minimums.
QString insertRatePeriod(const QString& table, const QDate& beginning, const QDate& ending, double rate);
QString insertFailureToFileMinimum(int firstYear, double amount);

// The estimated-tax penalty: a taxpayer's figures and estimated payments (by date), and a line of the worksheet the
// run writes (empty values stay NULL: a heading line of an installment without penalty has only its heading).
QString selectEstimatedTaxData(int number);
QString selectEstimatedTaxPayments(int number);
QString insertEstimatedTaxLine(int line, const QString& installment, const QDate& dueDate,
                               std::optional<qint64> amountCents, const QDate& from, const QDate& to,
                               std::optional<int> days, std::optional<double> rate, std::optional<int> daysInYear,
                               std::optional<qint64> penaltyCents);
QString reportEstimatedTaxQuery(); // the worksheet lines in order
QString selectEstimatedTaxTotal(); // the sum of the penalty lines, as "total"

QString insertInterestEvent(const QDate& date, const QDate& date2, const QString& event, float unpaidBalance,
                            float accruedInterest, double interestRate, float days, double interestFactor,
                            float interest);
QString insertPenaltyEvent(const QString& event, const QDate& date, float failureToFile, float failureToPay, float tax);
QString insertDepositEvent(qint16 depositNumber, const QDate& date, const QString& event, float requiredDeposit,
                           float amountOfPayment, float unpaidBalance, float daysOverdue, float penaltyPercentage,
                           float penalty);
// The fixed-point totals are counts of ten-thousandths.
QString insertSummary(qint64 totalInterest, qint64 failureToPay, qint64 failureToFile, float accuracy, float unpaidTax,
                      float paymentsToInterest, float paymentsToPenalty, float otherPenalties, float depositPenalty,
                      qint64 total);

// The reports' queries, as the report data sources issue them. The grouped ones are their inner SELECT: the
// report groups the rows itself. The payment report's "?" is the active taxpayer's number.
QString reportPenaltyQuery();  // DataReport1
QString reportSummaryQuery();  // DataReport4
QString reportPaymentQuery();  // DataReport3
QString reportDepositQuery();  // DataReport5
QString reportInterestQuery(); // DataReport6
QString withParameter(const QString& query, int number);

} // namespace Sql
