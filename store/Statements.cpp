#include "Statements.h"

#include "Schema.h"
#include "SqlText.h"

#include <stdexcept>

namespace Sql {
namespace {

QString in(const QString& file) {
    return QLatin1String(" IN ") + SqlText::quote(file) + QLatin1String(" 'Access'");
}

QString bracketList(const QStringList& names) {
    QStringList out;
    for (const auto& n : names)
        out << QLatin1Char('[') + n + QLatin1Char(']');
    return out.join(QLatin1Char(','));
}

} // namespace

QString deleteAll(const QString& table) {
    return QLatin1String("DELETE * FROM [") + table + QLatin1Char(']');
}

QString deleteTaxpayerRows(const QString& table, int number) {
    return deleteAll(table) + QLatin1String(" WHERE [Taxpayer Number]=") + SqlText::whole(number);
}

QString countTaxpayerRows(const QString& table, int number) {
    return QLatin1String("SELECT COUNT(*) AS n FROM [") + table + QLatin1String("] WHERE [Taxpayer Number]=") +
           SqlText::whole(number);
}

QString selectAllTaxpayers() {
    return QStringLiteral("select * from [Basic Taxpayer Data]");
}

QString selectTaxpayersByName() {
    return QStringLiteral("select * from [Basic Taxpayer Data] Order by [Taxpayer Name]");
}

QString selectTaxpayerName(int number) {
    return QLatin1String("SELECT [Taxpayer Name] FROM [Basic Taxpayer Data] WHERE [Taxpayer Number] =") +
           SqlText::whole(number);
}

QString countTaxpayers(const QList<int>& numbers) {
    QStringList list;
    for (const int n : numbers)
        list << SqlText::whole(n);
    return QLatin1String(
               "SELECT COUNT([Taxpayer Number]) AS compcnt from [Basic Taxpayer Data] WHERE [Taxpayer Number] IN (") +
           list.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString highestTaxpayerNumber() {
    return QStringLiteral("SELECT MAX([Taxpayer Number]) AS n FROM [Basic Taxpayer Data]");
}

QString countAllTaxpayers() {
    return QStringLiteral("SELECT COUNT(*) AS n FROM [Basic Taxpayer Data]");
}

QString copyTaxpayerRowsTo(const QString& table, const QString& file, int number) {
    return QLatin1String("INSERT INTO [") + table + QLatin1Char(']') + in(file) + QLatin1String(" SELECT * from [") +
           table + QLatin1String("] where [Taxpayer Number] =") + SqlText::whole(number);
}

QString retrieveRows(const QString& table, const QString& copyFile, const QStringList& columns) {
    return QLatin1String("INSERT INTO [") + table + QLatin1String("](") + bracketList(columns) +
           QLatin1String(") SELECT ") + bracketList(columns) + QLatin1String(" FROM [") + table + QLatin1Char(']') +
           in(copyFile);
}

QString retrieveKeepingFreeRows(const QString& table, const QString& copyFile, const QStringList& columns) {
    const QString taken = QLatin1String("[Row] IN (SELECT [Row] FROM [") + table + QLatin1String("])");
    return QLatin1String("INSERT INTO [") + table + QLatin1String("]([Row],") + bracketList(columns) +
           QLatin1String(") SELECT CASE WHEN ") + taken + QLatin1String(" THEN NULL ELSE [Row] END,") +
           bracketList(columns) + QLatin1String(" FROM [") + table + QLatin1Char(']') + in(copyFile) +
           QLatin1String(" ORDER BY ") + taken + QLatin1String(", [Row]");
}

namespace {

// "SELECT columns FROM [table] WHERE [Taxpayer Number]=n ORDER BY order", or every taxpayer's rows in number order.
QString caseRows(const QString& table, const QStringList& columns, std::optional<int> number, const QString& order) {
    QString sql = QLatin1String("SELECT ") + bracketList(columns) + QLatin1String(" FROM [") + table + QLatin1Char(']');
    if (number)
        return sql + QLatin1String(" WHERE [Taxpayer Number]=") + SqlText::whole(*number) +
               (order.isEmpty() ? QString() : QLatin1String(" ORDER BY ") + order);
    return sql + QLatin1String(" ORDER BY [Taxpayer Number]") +
           (order.isEmpty() ? QString() : QLatin1String(", ") + order);
}

} // namespace

QString selectCaseTaxpayers(std::optional<int> number) {
    const QString all = QStringLiteral("select * from [Basic Taxpayer Data]");
    return number ? all + QLatin1String(" where [Taxpayer Number] = ") + SqlText::whole(*number)
                  : all + QLatin1String(" Order by [Taxpayer Number]");
}

QString selectCasePayments(std::optional<int> number) {
    return caseRows(QStringLiteral("Payment Table"),
                    {QStringLiteral("Taxpayer Number"), QStringLiteral("Row"), QStringLiteral("Event"),
                     QStringLiteral("Date Of Payment"), QStringLiteral("Amount Of Payment"),
                     QStringLiteral("Payment Allocated To Tax"), QStringLiteral("Payment Allocated To Penalties"),
                     QStringLiteral("Payment Allocated To Interest"), QStringLiteral("Due Date Of Liability")},
                    number, QStringLiteral("[Date Of Payment], [Row]"));
}

QString selectCaseCharges(std::optional<int> number) {
    return caseRows(QStringLiteral("Additional Charges"),
                    {QStringLiteral("Taxpayer Number"), QStringLiteral("Row"), QStringLiteral("Event"),
                     QStringLiteral("Date Interest Starts"), QStringLiteral("Charge Classified As Tax"),
                     QStringLiteral("Charge Classified As Penalty"), QStringLiteral("Charge Unclassified"),
                     QStringLiteral("Date Liability Incurred")},
                    number, QStringLiteral("[Date Interest Starts], [Row]"));
}

QString selectClientTaxpayers(const QString& clientCode) {
    return QStringLiteral("SELECT [Taxpayer Number] FROM [Basic Taxpayer Data] WHERE upper(trim([Client Code])) = ") +
           SqlText::quote(clientCode.trimmed().toUpper()) + QStringLiteral(" ORDER BY [Taxpayer Number]");
}

QString selectClientCodes() {
    return QStringLiteral("SELECT DISTINCT trim([Client Code]) AS [Client Code] FROM [Basic Taxpayer Data] WHERE "
                          "trim([Client Code]) <> '' ORDER BY 1");
}

QString selectCaseRefunds(std::optional<int> number) {
    return caseRows(QStringLiteral("Refund Table"),
                    {QStringLiteral("Taxpayer Number"), QStringLiteral("Row"), QStringLiteral("Event"),
                     QStringLiteral("Date Of Refund"), QStringLiteral("Interest To Date"),
                     QStringLiteral("Amount Of Refund")},
                    number, QStringLiteral("[Interest To Date], [Row]"));
}

QString selectCaseIrsFigures(std::optional<int> number) {
    return caseRows(QStringLiteral("IRS Figures Table"),
                    {QStringLiteral("Taxpayer Number"), QStringLiteral("Row"), QStringLiteral("Transaction Code"),
                     QStringLiteral("Event"), QStringLiteral("Description"), QStringLiteral("Date"),
                     QStringLiteral("Amount")},
                    number, QStringLiteral("[Date], [Row]"));
}

QString selectCaseDeposits(std::optional<int> number) {
    return caseRows(QStringLiteral("Required Payroll Tax Deposits"),
                    {QStringLiteral("Taxpayer Number"), QStringLiteral("Row"), QStringLiteral("Event"),
                     QStringLiteral("Deposit Due Date"), QStringLiteral("Assessment Date"),
                     QStringLiteral("Required Deposit"), QStringLiteral("Sec 6656(b)(1)(B)")},
                    number, QStringLiteral("[Deposit Due Date], [Row]"));
}

QString selectCaseEstimatedData(std::optional<int> number) {
    return caseRows(QStringLiteral("Estimated Tax Data"),
                    {QStringLiteral("Taxpayer Number"), QStringLiteral("Row"), QStringLiteral("Tax Year End"),
                     QStringLiteral("Current Year Tax"), QStringLiteral("Prior Year Tax"),
                     QStringLiteral("Prior Year Full Year"), QStringLiteral("High Income Prior Year"),
                     QStringLiteral("Large Corporation"), QStringLiteral("Withholding"),
                     QStringLiteral("Withholding On Actual Dates")},
                    number, QStringLiteral("[Tax Year End], [Row]"));
}

QString selectCaseEstimatedPayments(std::optional<int> number) {
    return caseRows(QStringLiteral("Estimated Tax Payments"),
                    {QStringLiteral("Taxpayer Number"), QStringLiteral("Tax Year End"),
                     QStringLiteral("Date Of Payment"), QStringLiteral("Amount Of Payment")},
                    number, QStringLiteral("[Tax Year End], [Date Of Payment], [Row]"));
}

QString selectDepositsOf(int number) {
    return QLatin1String("SELECT * FROM [Required Payroll Tax Deposits] WHERE [Taxpayer Number]=") +
           SqlText::whole(number) + QLatin1String(" ORDER BY [Deposit Due Date]");
}

QString selectRatesOf(const QString& table) {
    return QLatin1String("select * FROM [") + table + QLatin1Char(']');
}

QString selectRatePeriods(const QString& table) {
    return QLatin1String("SELECT [Beginning Date], [Ending Date] FROM [") + table + QLatin1Char(']');
}

QString selectFailureToFileMinimums() {
    return QStringLiteral("SELECT [First Year], [Amount] FROM [Failure To File Minimum Table] ORDER BY [First Year]");
}

QString insertFailureToFileMinimum(int firstYear, double amount) {
    return QLatin1String("INSERT INTO [Failure To File Minimum Table]([First Year],[Amount]) VALUES(") +
           SqlText::whole(firstYear) + QLatin1Char(',') + SqlText::dbl(amount) + QLatin1Char(')');
}

QString selectEstimatedTaxData(int number) {
    return QLatin1String("SELECT * FROM [Estimated Tax Data] WHERE [Taxpayer Number]=") + SqlText::whole(number);
}

namespace {
QString ofTheYear(int number, const QDate& yearEnd, bool withoutYearToo) {
    const QString year = QLatin1String("[Tax Year End]=") + SqlText::date(yearEnd);
    return QLatin1String(" WHERE [Taxpayer Number]=") + SqlText::whole(number) + QLatin1String(" AND ") +
           (withoutYearToo ? QLatin1String("(") + year + QLatin1String(" OR [Tax Year End] IS NULL)") : year);
}
} // namespace

QString selectEstimatedTaxPayments(int number, const QDate& yearEnd, bool withoutYearToo) {
    return QLatin1String("SELECT * FROM [Estimated Tax Payments]") + ofTheYear(number, yearEnd, withoutYearToo) +
           QLatin1String(" ORDER BY [Date Of Payment], [Row]");
}

QString deleteEstimatedTaxPayments(int number, const QDate& yearEnd, bool withoutYearToo) {
    return QLatin1String("DELETE * FROM [Estimated Tax Payments]") + ofTheYear(number, yearEnd, withoutYearToo);
}

QString deleteEstimatedTaxYear(int row) {
    return QLatin1String("DELETE * FROM [Estimated Tax Data] WHERE [Row]=") + SqlText::whole(row);
}

QString estimatedPaymentsToTheirOnlyYear() {
    // Native SQLite: run by the upgrade and the retrieve of an older file, where payments had no year of their own.
    return QStringLiteral(
        "UPDATE [Estimated Tax Payments] SET [Tax Year End] = (SELECT d.[Tax Year End] FROM [Estimated Tax Data] d "
        "WHERE d.[Taxpayer Number] = [Estimated Tax Payments].[Taxpayer Number]) WHERE [Tax Year End] IS NULL AND "
        "(SELECT COUNT(*) FROM [Estimated Tax Data] d WHERE d.[Taxpayer Number] = [Estimated Tax "
        "Payments].[Taxpayer Number]) = 1");
}

QString reportEstimatedTaxQuery() {
    return QStringLiteral("SELECT * FROM [Estimated Tax Table] ORDER BY [Line]");
}

QString reportPenaltyQuery() {
    return QStringLiteral(
        "SELECT `Date`, Event, `Failure To File Penalty`, `Failure To Pay Penalty`, Tax FROM `Event Table`");
}

QString reportSummaryQuery() {
    return QStringLiteral(
        "SELECT TotalInterest, FailureToPayPenalty, FailureToFilePenalty, TotalAccPenalty, UnpaidTax, "
        "OtherPenalties, Total, PmntsAppToInterest, PmntsAppToPenalty, `Beginning Date`, "
        "`Ending Date`, TotalFDepositPenalty FROM `Summary Table`");
}

QString reportPaymentQuery() {
    return QStringLiteral("SELECT `Taxpayer Name`, `Date Of Payment`, `Amount Of Payment`, `Payment Allocated To Tax`, "
                          "`Payment Allocated To Penalties`, `Payment Allocated To Interest`, `Taxpayer Number` FROM "
                          "`Payment Table` WHERE (`Taxpayer Number` = ?)");
}

QString reportDepositQuery() {
    return QStringLiteral(
        "SELECT `Amount Of Payment`, `Date`, `Days Overdue`, `Due Date Of Liability`, Event, Penalty, "
        "`Penalty Percentage`, `Required Deposit`, `Required Deposit Number`, `Unpaid Balance` FROM "
        "`Event Table`");
}

QString reportInterestQuery() {
    return QStringLiteral("SELECT `Accrued Interest`, `Amount Of Payment`, `Date`, Days, `Days Overdue`, "
                          "`Due Date Of Liability`, Event, `Interest Factor`, Interest, `Interest Rate`, Penalty, "
                          "`Penalty Percentage`, `Required Deposit`, `Unpaid Balance`, Date2 FROM `Event Table`");
}

QString withParameter(const QString& query, int number) {
    QString q = query;
    return q.replace(QLatin1Char('?'), SqlText::whole(number));
}

} // namespace Sql
