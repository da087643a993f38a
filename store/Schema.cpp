#include "Schema.h"

#include "Names.h"

#include <QHash>

#include <stdexcept>
#include <string>

namespace Schema {

QStringList Table::columnNames() const {
    QStringList names;
    for (const auto& c : columns)
        names << c.name;
    return names;
}

namespace {

Column counter(const QString& n) {
    return {n, Kind::Counter};
}
Column lng(const QString& n) {
    return {n, Kind::Long};
}
Column whole(const QString& n) {
    return {n, Kind::Whole};
}
Column date(const QString& n) {
    return {n, Kind::Date};
}
Column text(const QString& n, int size) {
    return {n, Kind::Text, size};
}
Column yesNo(const QString& n) {
    return {n, Kind::YesNo};
}
Column money(const QString& n) {
    return {n, Kind::Money};
}
Column rate(const QString& n) {
    return {n, Kind::Rate};
}
Column dbl(const QString& n) {
    return {n, Kind::Double};
}

// Text columns whose size the forms never state hold short fixed words ("Payment", "Liability", "Other Charge").
constexpr int eventSize = 50;

std::vector<Table> layout1() {
    return {
        {Tables::basicTaxpayerData,
         {counter(Columns::taxpayerNumber), text(Columns::taxpayerName, 150), date(Columns::startDate),
          date(Columns::endDate), date(Columns::originalDueDateOfReturn), date(Columns::extendedDueDateOfReturn),
          date(Columns::dateReturnFiled), money(Columns::initialBalance), yesNo(Columns::calculateFailureToFilePenalty),
          yesNo(Columns::calculateFailureToPayPenalty), date(Columns::assessmentDateForFailureToPayPenalty),
          yesNo(Columns::calculateIncreasedFailureToPayPenalty), date(Columns::dateToBeginIncreasedFailureToPayPenalty),
          yesNo(Columns::calculateDecreasedFailureToPayPenalty), date(Columns::dateToBeginDecreasedFailureToPayPenalty),
          yesNo(Columns::calculateAccuracyRelatedPenalty), money(Columns::accuracyRelatedUnderpayment),
          yesNo(Columns::payrollTaxSituation), yesNo(Columns::corporateTaxpayer)}},
        {Tables::payments,
         {counter(Columns::row), lng(Columns::taxpayerNumber), text(Columns::taxpayerName, 150),
          text(Columns::event, eventSize), date(Columns::dateOfPayment), money(Columns::amountOfPayment),
          yesNo(Columns::useIRSAllocation), money(Columns::paymentAllocatedToTax),
          money(Columns::paymentAllocatedToPenalties), money(Columns::paymentAllocatedToInterest),
          money(Columns::allocatedToLiability), date(Columns::dueDateOfLiability)}},
        {Tables::deposits,
         {counter(Columns::row), lng(Columns::taxpayerNumber), text(Columns::taxpayerName, 150),
          text(Columns::event, eventSize), date(Columns::depositDueDate), date(Columns::assessmentDate),
          money(Columns::requiredDeposit), yesNo(Columns::sec6656b1B)}},
        {Tables::charges,
         {counter(Columns::row), lng(Columns::taxpayerNumber), text(Columns::taxpayerName, 150),
          text(Columns::event, eventSize), text(Columns::description, 150), date(Columns::dateLiabilityIncurred),
          date(Columns::dateInterestStarts), money(Columns::totalAmountOfCharge), money(Columns::chargeClassifiedAsTax),
          money(Columns::chargeClassifiedAsPenalty), money(Columns::chargeUnclassified)}},
        {Tables::underpaymentRates,
         {date(Columns::beginningDate), date(Columns::endingDate), rate(Columns::interestRate)}},
        {Tables::overpaymentRates,
         {date(Columns::beginningDate), date(Columns::endingDate), rate(Columns::interestRate)}},
        {Tables::events,
         {date(Columns::date), date(Columns::date2), text(Columns::event, 30), money(Columns::unpaidBalance),
          money(Columns::accruedInterest), rate(Columns::interestRate), whole(Columns::days),
          dbl(Columns::interestFactor), money(Columns::interest), money(Columns::failureToFilePenalty),
          money(Columns::failureToPayPenalty), money(Columns::tax), whole(Columns::requiredDepositNumber),
          money(Columns::requiredDeposit), money(Columns::amountOfPayment), whole(Columns::daysOverdue),
          rate(Columns::penaltyPercentage), money(Columns::penalty), date(Columns::dueDateOfLiability)}},
        {Tables::summary,
         {money(Columns::totalInterest), money(Columns::summaryFailureToPayPenalty),
          money(Columns::summaryFailureToFilePenalty), money(Columns::totalAccPenalty), money(Columns::unpaidTax),
          money(Columns::pmntsAppToInterest), money(Columns::pmntsAppToPenalty), money(Columns::otherPenalties),
          money(Columns::totalFDepositPenalty), money(Columns::total), date(Columns::beginningDate),
          date(Columns::endingDate)}},
    };
}

QString bracket(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

// The condition each column's CHECK holds (the column names, in brackets, as written into the file).
QString checkCondition(const Column& c) {
    const QString n = bracket(c.name);
    const QString orNull = n + QLatin1String(" IS NULL OR ");
    switch (c.kind) {
    case Kind::Counter:
        return QString();
    case Kind::Long:
        return orNull + QLatin1String("(typeof(") + n + QLatin1String(") = 'integer' AND ") + n +
               QLatin1String(" BETWEEN -2147483648 AND 2147483647)");
    case Kind::Whole:
        return orNull + QLatin1String("typeof(") + n + QLatin1String(") = 'integer'");
    case Kind::Date:
        // Only a real calendar day written as YYYY-MM-DD comes back unchanged through julianday() and date():
        // date() alone lets 2005-02-30 pass.
        return orNull + QLatin1String("(typeof(") + n + QLatin1String(") = 'text' AND date(julianday(") + n +
               QLatin1String(")) IS ") + n + QLatin1String(")");
    case Kind::Text:
        return orNull + QLatin1String("(typeof(") + n + QLatin1String(") = 'text' AND length(") + n +
               QLatin1String(") <= ") + QString::number(c.size) + QLatin1String(")");
    case Kind::YesNo:
        return orNull + n + QLatin1String(" IN (0, 1)");
    case Kind::Money:
    case Kind::Rate:
    case Kind::Double:
        return orNull + QLatin1String("typeof(") + n + QLatin1String(") = 'real'");
    }
    return QString();
}

QString columnDefinition(const Column& c) {
    const QString n = bracket(c.name);
    switch (c.kind) {
    case Kind::Counter:
        return n + QLatin1String(" INTEGER PRIMARY KEY AUTOINCREMENT");
    case Kind::Long:
    case Kind::Whole:
        return n + QLatin1String(" INTEGER CHECK (") + checkCondition(c) + QLatin1Char(')');
    case Kind::Date:
    case Kind::Text:
        return n + QLatin1String(" TEXT CHECK (") + checkCondition(c) + QLatin1Char(')');
    case Kind::YesNo:
        return n + QLatin1String(" INTEGER DEFAULT 0 CHECK (") + checkCondition(c) + QLatin1Char(')');
    case Kind::Money:
    case Kind::Rate:
    case Kind::Double:
        return n + QLatin1String(" REAL CHECK (") + checkCondition(c) + QLatin1Char(')');
    }
    return n;
}

struct Layout {
    std::vector<Table> tables;
    std::vector<Object> indexes;
};

Layout build(int layout) {
    Layout l;
    l.tables = layout1();
    if (layout >= 2) {
        // Layout 2: a key of their own for the rate tables, so that an edit or a delete touches exactly one row even
        // when two rows hold the same values.
        for (auto& t : l.tables)
            if (t.name == Tables::underpaymentRates || t.name == Tables::overpaymentRates)
                t.columns.insert(t.columns.begin(), counter(Columns::row));
    }
    if (layout >= 3) {
        // Layout 3: the large corporate underpayment rate (its switch and starting date on the taxpayer, its own
        // rate table), and the failure-to-file minimum by year.
        for (auto& t : l.tables)
            if (t.name == Tables::basicTaxpayerData) {
                t.columns.push_back(yesNo(Columns::largeCorporateUnderpayment));
                t.columns.push_back(date(Columns::dateLargeCorporateRateBegins));
            }
        l.tables.push_back({Tables::largeCorporateRates,
                            {counter(Columns::row), date(Columns::beginningDate), date(Columns::endingDate),
                             rate(Columns::interestRate)}});
        l.tables.push_back({Tables::failureToFileMinimums, {lng(Columns::firstYear), money(Columns::amount)}});
    }
    if (layout >= 4) {
        // Layout 4: the estimated-tax penalty: a taxpayer's figures for the year and its estimated payments, and the
        // worksheet lines of the last run.
        l.tables.push_back({Tables::estimatedTaxData,
                            {lng(Columns::taxpayerNumber), date(Columns::taxYearEnd), money(Columns::currentYearTax),
                             money(Columns::priorYearTax), yesNo(Columns::priorYearFullYear),
                             yesNo(Columns::highIncomePriorYear), yesNo(Columns::largeCorporation),
                             money(Columns::withholding), yesNo(Columns::withholdingOnActualDates)}});
        l.tables.push_back({Tables::estimatedTaxPayments,
                            {counter(Columns::row), lng(Columns::taxpayerNumber), date(Columns::dateOfPayment),
                             money(Columns::amountOfPayment)}});
        l.tables.push_back(
            {Tables::estimatedTaxLines,
             {whole(Columns::line), text(Columns::installment, 150), date(Columns::dueDate), money(Columns::amount),
              date(Columns::beginningDate), date(Columns::endingDate), whole(Columns::days),
              rate(Columns::interestRate), whole(Columns::daysInYear), money(Columns::penalty)}});
    }
    if (layout >= 5) {
        // Layout 5: a taxpayer's estimated-tax figures for each of its tax years, each year's payments with it.
        for (auto& t : l.tables) {
            if (t.name == Tables::estimatedTaxData)
                t.columns.insert(t.columns.begin(), counter(Columns::row));
            if (t.name == Tables::estimatedTaxPayments)
                t.columns.insert(t.columns.begin() + 2, date(Columns::taxYearEnd));
        }
    }
    if (layout >= 6) {
        // Layout 6: the returns of one client share its code; a case's refunds; the rate on the part of a corporate
        // overpayment above $10,000.
        for (auto& t : l.tables)
            if (t.name == Tables::basicTaxpayerData)
                t.columns.push_back(text(Columns::clientCode, 50));
        l.tables.push_back(
            {Tables::refunds,
             {counter(Columns::row), lng(Columns::taxpayerNumber), text(Columns::event, eventSize),
              date(Columns::dateOfRefund), date(Columns::interestToDate), money(Columns::amountOfRefund)}});
        l.tables.push_back({Tables::largeCorporateOverpaymentRates,
                            {counter(Columns::row), date(Columns::beginningDate), date(Columns::endingDate),
                             rate(Columns::interestRate)}});
    }
    if (layout >= 7)
        // Layout 7: the penalties and interest the IRS assessed, as an account transcript shows them, kept beside
        // what the program computes.
        l.tables.push_back({Tables::irsFigures,
                            {counter(Columns::row), lng(Columns::taxpayerNumber), text(Columns::transactionCode, 3),
                             text(Columns::event, eventSize), text(Columns::description, 100), date(Columns::date),
                             money(Columns::amount)}});
    // Every run selects one taxpayer's rows in date order; these keep that cost to the taxpayer's own rows.
    l.indexes = {
        {QStringLiteral("index"), QStringLiteral("Payments By Taxpayer"),
         QStringLiteral(
             "CREATE INDEX [Payments By Taxpayer] ON [Payment Table]([Taxpayer Number], [Date Of Payment])")},
        {QStringLiteral("index"), QStringLiteral("Deposits By Taxpayer"),
         QStringLiteral("CREATE INDEX [Deposits By Taxpayer] ON [Required Payroll Tax Deposits]([Taxpayer Number], "
                        "[Deposit Due Date])")},
        {QStringLiteral("index"), QStringLiteral("Charges By Taxpayer"),
         QStringLiteral("CREATE INDEX [Charges By Taxpayer] ON [Additional Charges]([Taxpayer Number], "
                        "[Date Interest Starts])")},
    };
    if (layout >= 6)
        l.indexes.push_back({QStringLiteral("index"), QStringLiteral("Refunds By Taxpayer"),
                             QStringLiteral("CREATE INDEX [Refunds By Taxpayer] ON [Refund Table]([Taxpayer Number], "
                                            "[Interest To Date])")});
    if (layout == 4) {
        // One row of estimated-tax figures a taxpayer.
        l.indexes.push_back({QStringLiteral("index"), QStringLiteral("Estimated Tax By Taxpayer"),
                             QStringLiteral("CREATE UNIQUE INDEX [Estimated Tax By Taxpayer] ON [Estimated Tax Data]("
                                            "[Taxpayer Number])")});
        l.indexes.push_back({QStringLiteral("index"), QStringLiteral("Estimated Payments By Taxpayer"),
                             QStringLiteral("CREATE INDEX [Estimated Payments By Taxpayer] ON [Estimated Tax Payments]("
                                            "[Taxpayer Number], [Date Of Payment])")});
    }
    if (layout >= 5) {
        // One row of estimated-tax figures a taxpayer and tax year.
        l.indexes.push_back(
            {QStringLiteral("index"), QStringLiteral("Estimated Tax By Taxpayer And Year"),
             QStringLiteral("CREATE UNIQUE INDEX [Estimated Tax By Taxpayer And Year] ON [Estimated Tax "
                            "Data]([Taxpayer Number], [Tax Year End])")});
        l.indexes.push_back({QStringLiteral("index"), QStringLiteral("Estimated Payments By Taxpayer And Year"),
                             QStringLiteral("CREATE INDEX [Estimated Payments By Taxpayer And Year] ON [Estimated Tax "
                                            "Payments]([Taxpayer Number], [Tax Year End], [Date Of Payment])")});
    }
    return l;
}

const Layout& layoutOf(int layout) {
    static const std::vector<Layout> all = [] {
        std::vector<Layout> v;
        for (int i = 1; i <= version; ++i)
            v.push_back(build(i));
        return v;
    }();
    if (layout < 1 || layout > version)
        throw std::out_of_range("no layout " + std::to_string(layout));
    return all[size_t(layout - 1)];
}

QString createTable(const Table& t) {
    QStringList defs;
    for (const auto& c : t.columns)
        defs << columnDefinition(c);
    return QLatin1String("CREATE TABLE ") + bracket(t.name) + QLatin1String(" (\n    ") +
           defs.join(QLatin1String(",\n    ")) + QLatin1String("\n)");
}

} // namespace

const std::vector<Table>& tables() {
    return tables(version);
}

const std::vector<Table>& tables(int layout) {
    return layoutOf(layout).tables;
}

const Table* table(const QString& name) {
    for (const auto& t : tables())
        if (t.name == name)
            return &t;
    return nullptr;
}

QStringList taxpayerRowTables() {
    QStringList names;
    for (const auto& t : tables())
        if (t.name != Tables::basicTaxpayerData && t.columnNames().contains(Columns::taxpayerNumber))
            names << t.name;
    return names;
}

bool kindOf(const QString& columnName, Kind* kind) {
    static const QHash<QString, Kind> kinds = [] {
        QHash<QString, Kind> h;
        for (const auto& t : tables())
            for (const auto& c : t.columns)
                if (!h.contains(c.name))
                    h.insert(c.name, c.kind == Kind::Counter ? Kind::Long : c.kind);
        return h;
    }();
    const auto it = kinds.constFind(columnName);
    if (it == kinds.constEnd())
        return false;
    *kind = *it;
    return true;
}

std::vector<Object> objects(int layout) {
    std::vector<Object> all;
    for (const auto& t : tables(layout))
        all.push_back({QStringLiteral("table"), t.name, createTable(t)});
    for (const auto& i : layoutOf(layout).indexes)
        all.push_back(i);
    return all;
}

std::vector<UniqueKey> uniqueKeys(int layout) {
    std::vector<UniqueKey> keys;
    if (layout == 4)
        keys.push_back({Tables::estimatedTaxData, {Columns::taxpayerNumber}}); // [Estimated Tax By Taxpayer]
    if (layout >= 5)                                                           // [Estimated Tax By Taxpayer And Year]
        keys.push_back({Tables::estimatedTaxData, {Columns::taxpayerNumber, Columns::taxYearEnd}});
    return keys;
}

QStringList createStatements(int layout) {
    QStringList statements;
    for (const auto& o : objects(layout))
        statements << o.sql;
    statements << QStringLiteral("PRAGMA user_version = %1").arg(layout)
               << QStringLiteral("PRAGMA application_id = %1").arg(applicationId);
    return statements;
}

namespace {

bool isTaxpayerKey(const Table& table, const Column& column) {
    return column.kind == Kind::Counter || column.name == QLatin1String("Taxpayer Number") ||
           (table.name == QLatin1String("Basic Taxpayer Data") && column.kind == Kind::Long);
}

} // namespace

QString acceptedValue(const Table& table, const Column& column) {
    const QString n = bracket(column.name);
    QString condition = checkCondition(column);
    if (isTaxpayerKey(table, column)) {
        // A key, or the taxpayer a row belongs to: a whole number from 1 to 2,147,483,647.
        const QString key = QLatin1String("(typeof(") + n + QLatin1String(") = 'integer' AND ") + n +
                            QLatin1String(" BETWEEN 1 AND 2147483647)");
        return column.kind == Kind::Counter ? key : n + QLatin1String(" IS NULL OR ") + key;
    }
    if (column.kind == Kind::Money)
        condition = QLatin1Char('(') + condition + QLatin1String(") AND (") + n + QLatin1String(" IS NULL OR abs(") +
                    n + QLatin1String(") <= ") + QString::number(largestAmount, 'f', 2) + QLatin1Char(')');
    if (column.kind == Kind::Rate || column.kind == Kind::Double)
        // A finite number: SQLite stores an infinity as a real.
        condition = QLatin1Char('(') + condition + QLatin1String(") AND (") + n + QLatin1String(" IS NULL OR abs(") +
                    n + QLatin1String(") <= 1e308)");
    return condition;
}

QString describeAccepted(const Column& column) {
    switch (column.kind) {
    case Kind::Counter:
    case Kind::Long:
        return QStringLiteral("a whole number from 1 to 2,147,483,647");
    case Kind::Whole:
        return QStringLiteral("a whole number");
    case Kind::Date:
        return QStringLiteral("a date (a real calendar day)");
    case Kind::Text:
        return QStringLiteral("a text of at most %1 characters").arg(column.size);
    case Kind::YesNo:
        return QStringLiteral("Yes or No");
    case Kind::Money:
        return QStringLiteral("an amount of at most 999,999,999,999.99");
    case Kind::Rate:
    case Kind::Double:
        return QStringLiteral("a number");
    }
    return QString();
}

} // namespace Schema
