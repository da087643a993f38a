#include "TaxpayerTransfer.h"

#include "Names.h"
#include "ProgramFiles.h"
#include "Schema.h"
#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"
#include "TransferFile.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace TaxpayerTransfer {
namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

void save(const QString& mainFile, const QString& templateFile, const QString& targetFile, int number) {
    save(mainFile, templateFile, targetFile, QList<int>{number});
}

void save(const QString& mainFile, const QString& templateFile, const QString& targetFile, const QList<int>& numbers) {
    writeSavedFile(templateFile, targetFile, {mainFile}, numbers, [&mainFile, &numbers](const QString& partial) {
        SqliteDatabase main(mainFile);
        for (const int number : numbers)
            if (main.query(Sql::selectTaxpayerName(number)).isEmpty())
                throw StoreError(QStringLiteral("There is no taxpayer number %1.").arg(number));
        main.attachExternal(partial);
        {
            // Every taxpayer of the file, with all its rows, or none.
            Transaction t(main);
            for (const int number : numbers) {
                main.exec(Sql::copyTaxpayerRowsTo(Tables::basicTaxpayerData, partial, number));
                for (const auto& table : Schema::taxpayerRowTables())
                    main.exec(Sql::copyTaxpayerRowsTo(table, partial, number));
            }
            t.commit();
        }
        main.detachExternal();
    });
}

void writeSavedFile(const QString& templateFile, const QString& targetFile, const QStringList& programFiles,
                    const QList<int>& numbers, const std::function<void(const QString& partial)>& fill) {
    if (numbers.isEmpty())
        throw StoreError(QStringLiteral("There is no taxpayer to save."));
    ProgramFiles::checkWriteTarget(targetFile);
    const QFileInfo target(targetFile);
    const bool ours = std::any_of(programFiles.begin(), programFiles.end(), [&target](const QString& f) {
        return target.canonicalFilePath() == QFileInfo(f).canonicalFilePath();
    });
    if (target.exists() && (target.canonicalFilePath() == QFileInfo(templateFile).canonicalFilePath() || ours))
        throw StoreError(QStringLiteral("A taxpayer cannot be saved into \"%1\": the program itself uses that file. "
                                        "Choose another name.")
                             .arg(native(targetFile)));
    if (!QFileInfo(templateFile).isFile())
        throw StoreError(QStringLiteral("The empty database \"%1\" that a saved taxpayer is written into is missing.")
                             .arg(native(templateFile)));
    // A save writes the current layout: the template is upgraded first (a copy of it kept beside it), as the main
    // database is.
    { SqliteDatabase upgraded(templateFile); }
    // The copy is built in a file of this save's own beside the target and renamed over it when whole: a failed save
    // leaves no half file, and two saves to one name never write into the same file.
    const QString partial = reserveTemporaryBeside(targetFile, QStringLiteral(".part"));
    try {
        {
            const QByteArray empty = readRegularFile(templateFile, TransferFile::largestFile,
                                                     QStringLiteral("empty database for saved taxpayers"));
            QFile out(partial);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(empty) != empty.size() ||
                !out.flush())
                throw StoreError(QStringLiteral("The file \"%1\" could not be written: %2")
                                     .arg(native(targetFile), out.errorString()));
        }
        QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                           QFileDevice::ReadOther);
        { SqliteDatabase check(partial); } // the template must hold the program's tables
        fill(partial);
        // Only a file that holds the taxpayers, and nothing else, replaces the target.
        SqliteDatabase saved(partial, SqliteDatabase::Mode::ReadOnly);
        const RecordSet held = saved.query(Sql::selectAllTaxpayers());
        QList<int> heldNumbers;
        for (int i = 0; i < held.size(); ++i)
            heldNumbers << held.value(i, Columns::taxpayerNumber).toInt();
        QList<int> wanted = numbers;
        std::sort(heldNumbers.begin(), heldNumbers.end());
        std::sort(wanted.begin(), wanted.end());
        if (heldNumbers != wanted)
            throw StoreError(QStringLiteral("The file \"%1\" could not be written: the copy does not hold the "
                                            "taxpayers %2 alone.")
                                 .arg(native(targetFile))
                                 .arg(QString::number(numbers.front())));
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    renameOver(partial, targetFile);
}

QList<int> renumberTaxpayers(SqliteDatabase& copy, int layout, const QList<int>& numbers, qint64 highestElsewhere) {
    // After every number of the main database and of the file, in the checked private copy (the file itself is only
    // read), so that no number is taken twice on the way.
    qint64 next = std::max(highestElsewhere,
                           copy.queryNative(QStringLiteral("SELECT MAX([Taxpayer Number]) FROM [Basic Taxpayer Data]"))
                               .value(0, 0)
                               .toLongLong()) +
                  1;
    Transaction t(copy);
    QList<int> renumbered;
    for (const int old : numbers) {
        if (next > std::numeric_limits<int>::max())
            throw StoreError(QStringLiteral("There is no taxpayer number left to give the retrieved taxpayer."));
        for (const auto& table : Schema::tables(layout))
            if (table.columnNames().contains(Columns::taxpayerNumber))
                copy.execNative(QStringLiteral("UPDATE [%1] SET [Taxpayer Number] = %2 WHERE [Taxpayer Number] = %3")
                                    .arg(table.name)
                                    .arg(next)
                                    .arg(old));
        renumbered << int(next++);
    }
    t.commit();
    return renumbered;
}

Held peek(const QString& transferFile) {
    const TransferFile file(transferFile);
    return {file.taxpayers().front().number, file.taxpayers().front().name, int(file.taxpayers().size())};
}

Outcome retrieve(const QString& transferFile, const QString& mainFile, bool newNumbers, QList<int>* given) {
    const TransferFile file(transferFile);
    SqliteDatabase main(mainFile); // refuses a main file that is missing or not one of ours
    QList<int> numbers;
    for (const auto& t : file.taxpayers())
        numbers << t.number;
    if (newNumbers) {
        SqliteDatabase copy(file.checkedCopy(), SqliteDatabase::Mode::Foreign);
        numbers = renumberTaxpayers(copy, file.layout(), numbers,
                                    main.query(Sql::highestTaxpayerNumber()).value(0, 0).toLongLong());
    }
    if (given)
        *given = numbers;
    if (main.query(Sql::countTaxpayers(numbers)).value(0, QStringLiteral("compcnt")).toInt() != 0)
        return Outcome::NumberExists;

    // The columns both layouts have; a column the file's older layout lacks stays empty.
    auto common = [&file](const QString& table) {
        QStringList columns;
        for (const auto& t : Schema::tables(file.layout()))
            if (t.name == table)
                for (const auto& c : t.columns)
                    if (Schema::table(table)->columnNames().contains(c.name))
                        columns << c.name;
        return columns;
    };
    main.attachExternal(file.checkedCopy(), true);
    {
        Transaction t(main);
        const QString copy = file.checkedCopy();
        main.exec(Sql::retrieveRows(Tables::basicTaxpayerData, copy, common(Tables::basicTaxpayerData)));
        for (const QString& table : Schema::taxpayerRowTables()) {
            QStringList columns = common(table);
            if (columns.isEmpty())
                continue; // a table the file's older layout does not have
            if (table == Tables::payments || table == Tables::estimatedTaxPayments ||
                table == Tables::estimatedTaxData) {
                columns.removeAll(Columns::row); // the payments and estimated-tax years get new row numbers
                main.exec(Sql::retrieveRows(table, copy, columns));
            } else if (columns.removeAll(Columns::row) > 0) {
                main.exec(Sql::retrieveKeepingFreeRows(table, copy, columns));
            } else {
                main.exec(Sql::retrieveRows(table, copy, columns));
            }
        }
        // A file of a layout before estimated-tax years: its estimated payments are its one year's.
        if (file.layout() < 5)
            main.execNative(Sql::estimatedPaymentsToTheirOnlyYear());
        t.commit();
    }
    main.detachExternal();
    return Outcome::Copied;
}

} // namespace TaxpayerTransfer
