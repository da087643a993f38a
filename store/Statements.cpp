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

namespace {

QString literal(const QString& column, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return QStringLiteral("NULL");
    Schema::Kind kind;
    if (!Schema::kindOf(column, &kind))
        throw std::invalid_argument("no table has a column named " + column.toStdString());
    switch (kind) {
    case Schema::Kind::Date:
        return SqlText::date(v.typeId() == QMetaType::QDate ? v.toDate()
                                                            : QDate::fromString(v.toString(), Qt::ISODate));
    case Schema::Kind::Money:
    case Schema::Kind::Rate:
    case Schema::Kind::Double:
        return SqlText::dbl(v.toDouble());
    case Schema::Kind::Counter:
    case Schema::Kind::Long:
    case Schema::Kind::Whole:
        return SqlText::whole(v.toLongLong());
    case Schema::Kind::YesNo:
        return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case Schema::Kind::Text:
        return SqlText::quote(v.toString());
    }
    return QStringLiteral("NULL");
}

} // namespace

QString insertRow(const QString& table, const QVariantMap& values) {
    QStringList columns, literals;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        columns << it.key();
        literals << literal(it.key(), it.value());
    }
    return QLatin1String("INSERT INTO [") + table + QLatin1String("](") + bracketList(columns) +
           QLatin1String(") VALUES(") + literals.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString updateRow(const QString& table, const QString& keyColumn, qint64 key, const QVariantMap& values) {
    QStringList assignments;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        assignments << QLatin1Char('[') + it.key() + QLatin1String("]=") + literal(it.key(), it.value());
    return QLatin1String("UPDATE [") + table + QLatin1String("] SET ") + assignments.join(QLatin1Char(',')) +
           QLatin1String(" WHERE [") + keyColumn + QLatin1String("]=") + SqlText::whole(key);
}

QString selectAllTaxpayers() {
    return QStringLiteral("select * from [Basic Taxpayer Data]");
}

QString selectTaxpayersByName() {
    return QStringLiteral("select * from [Basic Taxpayer Data] Order by [Taxpayer Name]");
}

QString selectTaxpayersByNumber() {
    return QStringLiteral("select * from [Basic Taxpayer Data] Order by [Taxpayer Number]");
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

QString countTaxpayers(const QList<int>& numbers) {
    QStringList list;
    for (const int n : numbers)
        list << SqlText::whole(n);
    return QLatin1String(
               "SELECT COUNT([Taxpayer Number]) AS compcnt from [Basic Taxpayer Data] WHERE [Taxpayer Number] IN (") +
           list.join(QLatin1Char(',')) + QLatin1Char(')');
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

// A date inside VALUES(...): an empty date is stored empty.
QString dateValue(const QDate& d) {
    return d.isValid() ? SqlText::date(d) : QStringLiteral("NULL");
}

} // namespace

QString selectTaxpayer(int number) {
    return QLatin1String("select * from [Basic Taxpayer Data] where [Taxpayer Number] = ") + SqlText::whole(number);
}

QString selectPaymentsOf(int number) {
    return QLatin1String("SELECT * FROM [Payment Table] WHERE [Taxpayer Number]=") + SqlText::whole(number) +
           QLatin1String(" ORDER BY [Date Of Payment]");
}

QString selectDepositsOf(int number) {
    return QLatin1String("SELECT * FROM [Required Payroll Tax Deposits] WHERE [Taxpayer Number]=") +
           SqlText::whole(number) + QLatin1String(" ORDER BY [Deposit Due Date]");
}

QString selectPaymentsUpTo(const QDate& endate, int number) {
    return QLatin1String("SELECT * FROM [Payment Table] WHERE [Date Of Payment]<=") + SqlText::date(endate) +
           QLatin1String(" And [Taxpayer Number]=") + SqlText::whole(number) +
           QLatin1String(" ORDER BY [Date Of Payment]");
}

QString selectChargesBetween(const QDate& startdate, const QDate& endate, int number) {
    return QLatin1String("SELECT * FROM [Additional Charges] WHERE [Date Interest Starts]>=") +
           SqlText::date(startdate) + QLatin1String(" AND [Date Interest Starts]<=") + SqlText::date(endate) +
           QLatin1String(" AND [Taxpayer Number]=") + SqlText::whole(number);
}

QString selectPaymentList(int number) {
    return QLatin1String("select * from [Payment Table] where [Taxpayer Number] = ") + SqlText::whole(number) +
           QLatin1String(" Order by [Date Of Payment]");
}

QString selectUnderpaymentRates() {
    return QStringLiteral("select * FROM [Interest Table]");
}

QString selectOverpaymentRates() {
    return QStringLiteral("select * FROM [Overpayment Interest Table]");
}

QString selectLargeCorporateRates() {
    return QStringLiteral("select * FROM [Large Corporate Underpayment Interest Table]");
}

QString selectRatePeriods(const QString& table) {
    return QLatin1String("SELECT [Beginning Date], [Ending Date] FROM [") + table + QLatin1Char(']');
}

QString selectFailureToFileMinimums() {
    return QStringLiteral("SELECT [First Year], [Amount] FROM [Failure To File Minimum Table] ORDER BY [First Year]");
}

QString insertRatePeriod(const QString& table, const QDate& beginning, const QDate& ending, double rate) {
    return QLatin1String("INSERT INTO [") + table +
           QLatin1String("]([Beginning Date],[Ending Date],[Interest Rate]) VALUES(") + SqlText::date(beginning) +
           QLatin1Char(',') + SqlText::date(ending) + QLatin1Char(',') + SqlText::dbl(rate) + QLatin1Char(')');
}

QString insertFailureToFileMinimum(int firstYear, double amount) {
    return QLatin1String("INSERT INTO [Failure To File Minimum Table]([First Year],[Amount]) VALUES(") +
           SqlText::whole(firstYear) + QLatin1Char(',') + SqlText::dbl(amount) + QLatin1Char(')');
}

QString selectEstimatedTaxData(int number) {
    return QLatin1String("SELECT * FROM [Estimated Tax Data] WHERE [Taxpayer Number]=") + SqlText::whole(number);
}

QString selectEstimatedTaxPayments(int number) {
    return QLatin1String("SELECT * FROM [Estimated Tax Payments] WHERE [Taxpayer Number]=") + SqlText::whole(number) +
           QLatin1String(" ORDER BY [Date Of Payment], [Row]");
}

QString insertEstimatedTaxLine(int line, const QString& installment, const QDate& dueDate,
                               std::optional<qint64> amountCents, const QDate& from, const QDate& to,
                               std::optional<int> days, std::optional<double> rate, std::optional<int> daysInYear,
                               std::optional<qint64> penaltyCents) {
    const QString null = QStringLiteral("Null");
    auto cents = [&null](std::optional<qint64> v) { return v ? SqlText::fixed4(*v * 100) : null; };
    auto date = [&null](const QDate& d) { return d.isValid() ? SqlText::date(d) : null; };
    auto count = [&null](std::optional<int> v) { return v ? SqlText::whole(*v) : null; };
    const QStringList values = {SqlText::whole(line), SqlText::quote(installment),
                                date(dueDate),        cents(amountCents),
                                date(from),           date(to),
                                count(days),          rate ? SqlText::dbl(*rate) : null,
                                count(daysInYear),    cents(penaltyCents)};
    return QLatin1String("INSERT INTO [Estimated Tax Table]([Line],[Installment],[Due Date],[Amount],[Beginning Date],"
                         "[Ending Date],[Days],[Interest Rate],[Days In Year],[Penalty]) VALUES(") +
           values.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString reportEstimatedTaxQuery() {
    return QStringLiteral("SELECT * FROM [Estimated Tax Table] ORDER BY [Line]");
}

QString selectEstimatedTaxTotal() {
    return QStringLiteral("SELECT SUM([Penalty]) AS total FROM [Estimated Tax Table]");
}

QString insertInterestEvent(const QDate& date, const QDate& date2, const QString& event, float unpaidBalance,
                            float accruedInterest, double interestRate, float days, double interestFactor,
                            float interest) {
    return QLatin1String("INSERT INTO [Event Table]([Date],[Date2],[Event],[Unpaid Balance],[Accrued Interest],"
                         "[Interest Rate],[Days],[Interest Factor],[Interest])VALUES(") +
           dateValue(date) + QLatin1Char(',') + dateValue(date2) + QLatin1Char(',') + SqlText::quote(event) +
           QLatin1Char(',') + SqlText::single(unpaidBalance) + QLatin1Char(',') + SqlText::single(accruedInterest) +
           QLatin1Char(',') + SqlText::dbl(interestRate) + QLatin1Char(',') + SqlText::single(days) + QLatin1Char(',') +
           SqlText::dbl(interestFactor) + QLatin1Char(',') + SqlText::single(interest) + QLatin1Char(')');
}

QString insertPenaltyEvent(const QString& event, const QDate& date, float failureToFile, float failureToPay,
                           float tax) {
    return QLatin1String("INSERT INTO [Event Table]([Event],[Date],[Failure To File Penalty],[Failure To Pay Penalty],"
                         "[Tax])VALUES(") +
           SqlText::quote(event) + QLatin1Char(',') + dateValue(date) + QLatin1Char(',') +
           SqlText::single(failureToFile) + QLatin1Char(',') + SqlText::single(failureToPay) + QLatin1Char(',') +
           SqlText::single(tax) + QLatin1Char(')');
}

QString insertDepositEvent(qint16 depositNumber, const QDate& date, const QString& event, float requiredDeposit,
                           float amountOfPayment, float unpaidBalance, float daysOverdue, float penaltyPercentage,
                           float penalty) {
    return QLatin1String("INSERT INTO [Event Table]([Required Deposit Number],[Date],[Event],[Required Deposit],"
                         "[Amount Of Payment],[Unpaid Balance],[Days Overdue],[Penalty Percentage],[Penalty])"
                         "VALUES(") +
           SqlText::whole(depositNumber) + QLatin1Char(',') + dateValue(date) + QLatin1Char(',') +
           SqlText::quote(event) + QLatin1Char(',') + SqlText::single(requiredDeposit) + QLatin1Char(',') +
           SqlText::single(amountOfPayment) + QLatin1Char(',') + SqlText::single(unpaidBalance) + QLatin1Char(',') +
           SqlText::single(daysOverdue) + QLatin1Char(',') + SqlText::single(penaltyPercentage) + QLatin1Char(',') +
           SqlText::single(penalty) + QLatin1Char(')');
}

QString insertSummary(qint64 totalInterest, qint64 failureToPay, qint64 failureToFile, float accuracy, float unpaidTax,
                      float paymentsToInterest, float paymentsToPenalty, float otherPenalties, float depositPenalty,
                      qint64 total) {
    const QStringList values = {SqlText::fixed4(totalInterest),     SqlText::fixed4(failureToPay),
                                SqlText::fixed4(failureToFile),     SqlText::single(accuracy),
                                SqlText::single(unpaidTax),         SqlText::single(paymentsToInterest),
                                SqlText::single(paymentsToPenalty), SqlText::single(otherPenalties),
                                SqlText::single(depositPenalty),    SqlText::fixed4(total)};
    return QLatin1String("INSERT INTO [Summary Table]([TotalInterest],[FailureToPayPenalty],[FailureToFilePenalty],"
                         "[TotalAccPenalty],[UnpaidTax],[PmntsAppToInterest],[PmntsAppToPenalty],[OtherPenalties],"
                         "[TotalFDepositPenalty],[Total]) VALUES(") +
           values.join(QLatin1String(", ")) + QLatin1Char(')');
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
