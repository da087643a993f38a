#include "ServerTransfer.h"

#include "Names.h"
#include "PostgresDatabase.h"
#include "Schema.h"
#include "ServerSchema.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TransferFile.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <limits>

namespace ServerTransfer {
namespace {

QString bracketList(const QStringList& names) {
    QStringList out;
    for (const auto& n : names)
        out << QLatin1Char('[') + n + QLatin1Char(']');
    return out.join(QLatin1Char(','));
}

QString numberList(const QList<int>& numbers) {
    QStringList list;
    for (const int n : numbers)
        list << QString::number(n);
    return list.join(QLatin1Char(','));
}

// The columns of `table` that both the file's layout and the program's have.
QStringList commonColumns(int fileLayout, const QString& table) {
    QStringList columns;
    const Schema::Table* now = Schema::table(table);
    for (const auto& t : Schema::tables(fileLayout))
        if (t.name == table && now)
            for (const auto& c : t.columns)
                if (now->columnNames().contains(c.name))
                    columns << c.name;
    return columns;
}

QList<int> taxpayersOf(Database& db) {
    QList<int> numbers;
    const RecordSet rows = db.query(QStringLiteral("SELECT [Taxpayer Number] FROM [Basic Taxpayer Data] ORDER BY "
                                                   "[Taxpayer Number]"));
    for (int i = 0; i < rows.size(); ++i)
        numbers << rows.value(i, 0).toInt();
    return numbers;
}

// Writes the taxpayers `numbers` of `source` (of layout `layout`) with every row of theirs into the server, inside
// the server's open transaction. `newRows` lists the tables whose rows always take new keys there; in the others a
// row keeps its key unless the server has given it to another row.
void writeTaxpayers(Database& source, int layout, PostgresDatabase& server, const QList<int>& numbers,
                    const QStringList& newRows) {
    if (numbers.isEmpty())
        return;
    const QString ofThem = QStringLiteral("[Taxpayer Number] IN (%1)").arg(numberList(numbers));
    copyRows(source, server, Tables::basicTaxpayerData, commonColumns(layout, Tables::basicTaxpayerData), ofThem);
    for (const QString& table : Schema::taxpayerRowTables()) {
        QStringList columns = commonColumns(layout, table);
        if (columns.isEmpty())
            continue; // a table the file's older layout does not have
        if (!columns.contains(Columns::row)) {
            copyRows(source, server, table, columns, ofThem);
            continue;
        }
        QStringList without = columns;
        without.removeAll(Columns::row);
        if (newRows.contains(table)) {
            copyRows(source, server, table, without, ofThem);
            continue;
        }
        // The keys the server has given already, among those of the rows to copy.
        QSet<int> taken;
        const RecordSet keys = source.query(QStringLiteral("SELECT [Row] FROM [%1] WHERE %2").arg(table, ofThem));
        QList<int> wanted;
        for (int i = 0; i < keys.size(); ++i)
            wanted << keys.value(i, 0).toInt();
        for (qsizetype first = 0; first < wanted.size(); first += 1000) {
            const RecordSet there = server.query(QStringLiteral("SELECT [Row] FROM [%1] WHERE [Row] IN (%2)")
                                                     .arg(table, numberList(wanted.mid(first, 1000))));
            for (int i = 0; i < there.size(); ++i)
                taken.insert(there.value(i, 0).toInt());
        }
        if (taken.isEmpty()) {
            copyRows(source, server, table, columns, ofThem);
            continue;
        }
        QList<int> takenList(taken.begin(), taken.end());
        const QString isTaken = QStringLiteral("[Row] IN (%1)").arg(numberList(takenList));
        copyRows(source, server, table, columns, ofThem + QStringLiteral(" AND NOT ") + isTaken);
        copyRows(source, server, table, without, ofThem + QStringLiteral(" AND ") + isTaken);
    }
}

int countOn(Database& db, const QString& table, const QList<int>& numbers) {
    return db
        .query(QStringLiteral("SELECT COUNT(*) AS n FROM [%1] WHERE [Taxpayer Number] IN (%2)")
                   .arg(table, numberList(numbers)))
        .value(0, 0)
        .toInt();
}

} // namespace

void copyRows(Database& from, Database& to, const QString& table, const QStringList& columns, const QString& where) {
    if (columns.isEmpty())
        return;
    const Schema::Table* t = Schema::table(table);
    const QString key = t && !t->columns.empty() ? t->columns.front().name : columns.front();
    QString sql = QStringLiteral("SELECT %1 FROM [%2]").arg(bracketList(columns), table);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    if (columns.contains(key))
        sql += QStringLiteral(" ORDER BY [%1]").arg(key);
    const auto rows = from.cursor(sql);
    std::vector<QVariantList> batch;
    while (rows->next()) {
        QVariantList row;
        row.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row << rows->value(i);
        batch.push_back(std::move(row));
        if (batch.size() == 5000) {
            to.insertRows(table, columns, batch);
            batch.clear();
        }
    }
    to.insertRows(table, columns, batch);
}

Copied copyToServer(const QString& file, PostgresDatabase& server) {
    // The file is read, never written: a private copy is opened (an older layout is read as it is).
    SqliteDatabase source(file, SqliteDatabase::Mode::ReadOnly);
    Copied result;
    const QList<int> all = taxpayersOf(source);
    Transaction t(server);
    const QSet<int> there = [&] {
        QSet<int> s;
        for (const int n : taxpayersOf(server))
            s.insert(n);
        return s;
    }();
    for (const int n : all)
        (there.contains(n) ? result.alreadyThere : result.taxpayers) << n;
    writeTaxpayers(source, Schema::version, server, result.taxpayers, {});
    if (!result.taxpayers.isEmpty())
        for (const QString& table : ServerSchema::clientTables()) {
            const int inFile = countOn(source, table, result.taxpayers);
            const int onServer = countOn(server, table, result.taxpayers);
            if (inFile != onServer)
                throw StoreError(QStringLiteral("The copy to %1 was not made: the server holds %2 rows of [%3] for "
                                                "the taxpayers copied, the file %4. Nothing was copied.")
                                     .arg(server.shown())
                                     .arg(onServer)
                                     .arg(table)
                                     .arg(inFile));
            result.rowCounts.append({table, onServer});
        }
    server.counterAfterHighest(Tables::basicTaxpayerData);
    t.commit();
    return result;
}

void copyWholeFile(const QString& file, PostgresDatabase& server) {
    SqliteDatabase source(file, SqliteDatabase::Mode::ReadOnly);
    Transaction t(server);
    for (const auto& table : Schema::tables()) {
        if (ServerSchema::resultTables().contains(table.name))
            continue;
        server.exec(Sql::deleteAll(table.name));
        copyRows(source, server, table.name, table.columnNames(), QString());
    }
    // The counters where the file's are: a key once given is not given again.
    const RecordSet counters = source.queryNative(QStringLiteral("SELECT name, seq FROM sqlite_sequence"));
    for (int i = 0; i < counters.size(); ++i)
        if (Schema::table(counters.value(i, 0).toString()) &&
            !ServerSchema::resultTables().contains(counters.value(i, 0).toString()))
            server.counterAfter(counters.value(i, 0).toString(), counters.value(i, 1).toLongLong());
    t.commit();
}

TaxpayerTransfer::Outcome retrieve(const QString& transferFile, PostgresDatabase& server, bool newNumbers,
                                   QList<int>* given) {
    const TransferFile file(transferFile);
    SqliteDatabase copy(file.checkedCopy(), SqliteDatabase::Mode::Foreign);
    QList<int> numbers;
    for (const auto& t : file.taxpayers())
        numbers << t.number;
    Transaction t(server);
    if (newNumbers) {
        numbers = TaxpayerTransfer::renumberTaxpayers(
            copy, file.layout(), numbers, server.query(Sql::highestTaxpayerNumber()).value(0, 0).toLongLong());
    }
    if (given)
        *given = numbers;
    if (server.query(Sql::countTaxpayers(numbers)).value(0, QStringLiteral("compcnt")).toInt() != 0)
        return TaxpayerTransfer::Outcome::NumberExists;
    // The payments and estimated-tax years get new row numbers, as in a file.
    writeTaxpayers(copy, file.layout(), server, numbers,
                   {Tables::payments, Tables::estimatedTaxPayments, Tables::estimatedTaxData});
    if (file.layout() < 5)
        server.exec(Sql::estimatedPaymentsToTheirOnlyYear());
    server.counterAfterHighest(Tables::basicTaxpayerData);
    t.commit();
    return TaxpayerTransfer::Outcome::Copied;
}

void save(PostgresDatabase& server, const QString& templateFile, const QString& targetFile, const QList<int>& numbers) {
    TaxpayerTransfer::writeSavedFile(templateFile, targetFile, {}, numbers, [&](const QString& partial) {
        for (const int number : numbers)
            if (server.query(Sql::selectTaxpayerName(number)).isEmpty())
                throw StoreError(QStringLiteral("There is no taxpayer number %1.").arg(number));
        SqliteDatabase saved(partial);
        // The server's rows as one moment has them.
        server.execNative(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
        try {
            Transaction t(saved);
            const QString ofThem = QStringLiteral("[Taxpayer Number] IN (%1)").arg(numberList(numbers));
            for (const QString& table : ServerSchema::clientTables())
                copyRows(server, saved, table, Schema::table(table)->columnNames(), ofThem);
            t.commit();
        } catch (...) {
            server.execNative(QStringLiteral("ROLLBACK"));
            throw;
        }
        server.execNative(QStringLiteral("COMMIT"));
    });
}

} // namespace ServerTransfer
