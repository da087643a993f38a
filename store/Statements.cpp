#include "Statements.h"

#include "Schema.h"
#include "SqlText.h"

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

QString countTaxpayer(int number) {
    return QLatin1String(
               "SELECT COUNT([Taxpayer Number]) AS compcnt from [Basic Taxpayer Data] WHERE [Taxpayer Number]=") +
           SqlText::whole(number);
}

QString countTaxpayerIn(const QString& file, int number) {
    return QLatin1String("SELECT COUNT([Taxpayer Number]) AS compcnt from [Basic Taxpayer Data]") + in(file) +
           QLatin1String(" WHERE [Taxpayer Number]=") + SqlText::whole(number);
}

QString copyTaxpayerRowsTo(const QString& table, const QString& file, int number) {
    return QLatin1String("INSERT INTO [") + table + QLatin1Char(']') + in(file) + QLatin1String(" SELECT * from [") +
           table + QLatin1String("] where [Taxpayer Number] =") + SqlText::whole(number);
}

QString retrieveTaxpayers(const QString& mainFile) {
    return QLatin1String("INSERT INTO [Basic Taxpayer Data]") + in(mainFile) +
           QLatin1String(" SELECT * from [Basic Taxpayer Data]");
}

QString retrievePayments(const QString& mainFile) {
    return QLatin1String("INSERT INTO [Payment Table]") + in(mainFile) +
           QLatin1String(" SELECT [Taxpayer Number],[Taxpayer Name],[Event],[Date Of Payment],[Amount Of Payment],"
                         "[Use IRS Allocation],[Payment Allocated To Tax],[Payment Allocated To Penalties],"
                         "[Payment Allocated To Interest],[Allocated To Liability],[Due Date Of Liability] from "
                         "[Payment Table]");
}

QString retrieveKeepingFreeRows(const QString& table, const QString& mainFile) {
    QStringList rest = Schema::table(table)->columnNames();
    rest.removeAll(QStringLiteral("Row"));
    const QString taken =
        QLatin1String("[Row] IN (SELECT [Row] FROM [") + table + QLatin1Char(']') + in(mainFile) + QLatin1Char(')');
    return QLatin1String("INSERT INTO [") + table + QLatin1Char(']') + in(mainFile) + QLatin1String(" ([Row],") +
           bracketList(rest) + QLatin1String(") SELECT CASE WHEN ") + taken +
           QLatin1String(" THEN NULL ELSE [Row] END,") + bracketList(rest) + QLatin1String(" from [") + table +
           QLatin1String("] ORDER BY ") + taken + QLatin1String(", [Row]");
}

} // namespace Sql
