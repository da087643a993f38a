#include "TaxpayerTransfer.h"

#include "SqliteDatabase.h"
#include "Statements.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace TaxpayerTransfer {
namespace {

const QStringList childTables = {QStringLiteral("Payment Table"), QStringLiteral("Required Payroll Tax Deposits"),
                                 QStringLiteral("Additional Charges")};

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

void save(const QString& mainFile, const QString& templateFile, const QString& targetFile, int number) {
    const QFileInfo target(targetFile);
    if (target.exists() && (target.canonicalFilePath() == QFileInfo(templateFile).canonicalFilePath() ||
                            target.canonicalFilePath() == QFileInfo(mainFile).canonicalFilePath()))
        throw StoreError(QStringLiteral("A taxpayer cannot be saved into \"%1\": the program itself uses that file. "
                                        "Choose another name.")
                             .arg(native(targetFile)));
    if (!QFileInfo(templateFile).isFile())
        throw StoreError(QStringLiteral("The empty database \"%1\" that a saved taxpayer is written into is missing.")
                             .arg(native(templateFile)));
    // The copy is built beside the target and renamed over it when whole: a failed save leaves no half file.
    const QString partial = targetFile + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(templateFile, partial))
        throw StoreError(QStringLiteral("The file \"%1\" could not be written.").arg(native(targetFile)));
    QFile::setPermissions(partial, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                       QFileDevice::ReadOther);
    try {
        { SqliteDatabase check(partial); } // the template must hold the program's tables
        SqliteDatabase main(mainFile);
        if (main.query(Sql::selectTaxpayerName(number)).isEmpty())
            throw StoreError(QStringLiteral("There is no taxpayer number %1.").arg(number));
        main.attachExternal(partial);
        {
            Transaction t(main);
            main.exec(Sql::copyTaxpayerRowsTo(QStringLiteral("Basic Taxpayer Data"), partial, number));
            for (const auto& table : childTables)
                main.exec(Sql::copyTaxpayerRowsTo(table, partial, number));
            t.commit();
        }
        main.detachExternal();
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(targetFile).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(partial);
        throw StoreError(QStringLiteral("The file \"%1\" could not be written: %2").arg(native(targetFile), reason));
    }
}

Held peek(const QString& transferFile) {
    SqliteDatabase file(transferFile, SqliteDatabase::Mode::ReadOnly);
    const RecordSet rows = file.query(Sql::selectAllTaxpayers());
    if (rows.isEmpty())
        throw StoreError(QStringLiteral("The file \"%1\" holds no taxpayer.").arg(native(transferFile)));
    return {rows.value(0, QStringLiteral("Taxpayer Number")).toInt(),
            rows.value(0, QStringLiteral("Taxpayer Name")).toString()};
}

Outcome retrieve(const QString& transferFile, const QString& mainFile) {
    const Held held = peek(transferFile);
    { SqliteDatabase check(mainFile); } // refuses a main file that is missing or not one of ours
    SqliteDatabase file(transferFile);
    file.attachExternal(mainFile);
    Outcome outcome = Outcome::Copied;
    {
        Transaction t(file);
        const RecordSet count = file.query(Sql::countTaxpayerIn(mainFile, held.number));
        if (count.value(0, QStringLiteral("compcnt")).toInt() != 0) {
            outcome = Outcome::NumberExists;
        } else {
            file.exec(Sql::retrieveTaxpayers(mainFile));
            file.exec(Sql::retrievePayments(mainFile));
            file.exec(Sql::retrieveKeepingFreeRows(QStringLiteral("Required Payroll Tax Deposits"), mainFile));
            file.exec(Sql::retrieveKeepingFreeRows(QStringLiteral("Additional Charges"), mainFile));
            t.commit();
        }
    }
    file.detachExternal();
    return outcome;
}

} // namespace TaxpayerTransfer
