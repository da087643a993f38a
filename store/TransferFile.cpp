#include "TransferFile.h"

#include "Schema.h"
#include "SqlText.h"
#include "SqliteDatabase.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString bracket(const QString& name) {
    return QLatin1Char('[') + name + QLatin1Char(']');
}

// SQL text compared as SQLite keeps it, but for the blanks between words.
QString normalized(const QString& sql) {
    return sql.simplified();
}

// What a refused value looked like, shortened for the message.
QString shown(const QVariant& value, const QString& type) {
    if (type == QLatin1String("null"))
        return QStringLiteral("empty");
    if (type == QLatin1String("blob"))
        return QStringLiteral("binary data");
    QString text = value.toString();
    if (text.size() > 40)
        text = text.left(40) + QStringLiteral("…");
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

TransferFile::TransferFile(const QString& file) : original(file) {
    const QFileInfo info(file);
    if (!info.exists())
        throw StoreError(QStringLiteral("The file \"%1\" does not exist.").arg(native(file)));
    // A folder, a pipe or a device is never opened: reading a pipe could wait for ever.
    if (!info.isFile() || info.size() < 100 || info.size() > largestFile)
        throw StoreError(notOurs(file));
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            throw StoreError(QStringLiteral("The file \"%1\" cannot be read: %2").arg(native(file), f.errorString()));
        if (f.read(16) != QByteArray("SQLite format 3\0", 16))
            throw StoreError(notOurs(file));
    }
    makeCopy();
    SqliteDatabase db(copy, SqliteDatabase::Mode::Foreign);
    db.limitWork(workLimitMs, refusal(QStringLiteral("reading it takes too long. It is not retrieved.")));
    checkStructure(db);
    checkValues(db);
    checkUnique(db);
    readTaxpayers(db);
    // The retrieve attaches the copy read-only, which a file in WAL mode does not allow.
    db.queryNative(QStringLiteral("PRAGMA journal_mode = DELETE"));
}

TransferFile::~TransferFile() = default;

QString TransferFile::refusal(const QString& why) const {
    return QStringLiteral("The file \"%1\" cannot be retrieved: %2").arg(native(original), why);
}

// The copy is private and writable: a file on read-only media, or one in WAL mode whose journal sits beside it, reads
// as well as any other, and nothing the checks do can touch the original.
void TransferFile::makeCopy() {
    if (!work.isValid())
        throw StoreError(QStringLiteral("No temporary folder can be made to check \"%1\".").arg(native(original)));
    copy = work.filePath(QStringLiteral("transfer.mdb"));
    if (!QFile::copy(original, copy))
        throw StoreError(QStringLiteral("The file \"%1\" cannot be read.").arg(native(original)));
    const QFileInfo wal(original + QStringLiteral("-wal"));
    if (wal.isFile() && wal.size() <= largestFile)
        QFile::copy(wal.filePath(), copy + QStringLiteral("-wal"));
    for (const QString& f : {copy, copy + QStringLiteral("-wal")})
        if (QFile::exists(f))
            QFile::setPermissions(f, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TransferFile::checkStructure(SqliteDatabase& db) {
    try {
        // The check reports values that break a column's check too; those are named, with their value, below.
        const RecordSet verdicts = db.queryNative(QStringLiteral("PRAGMA quick_check"));
        for (int i = 0; i < verdicts.size(); ++i) {
            const QString verdict = verdicts.value(i, 0).toString();
            if (verdict != QLatin1String("ok") && !verdict.startsWith(QLatin1String("CHECK constraint failed")))
                throw StoreError(refusal(QStringLiteral("the file is damaged (%1).").arg(verdict.left(200))));
        }
    } catch (const StoreError& e) {
        if (e.message().startsWith(refusal(QString())))
            throw;
        throw StoreError(refusal(QStringLiteral("the file is damaged.")));
    }
    const int application = db.queryNative(QStringLiteral("PRAGMA application_id")).value(0, 0).toInt();
    fileLayout = db.queryNative(QStringLiteral("PRAGMA user_version")).value(0, 0).toInt();
    if (application != Schema::applicationId || fileLayout < 1)
        throw StoreError(notOurs(original));
    if (fileLayout > Schema::version)
        throw StoreError(QStringLiteral("The file \"%1\" was made by a newer Talvoro (layout %2); this program reads "
                                        "layouts up to %3.")
                             .arg(native(original))
                             .arg(fileLayout)
                             .arg(Schema::version));

    // Exactly the tables and indexes this program makes, with their columns, types and checks: a view or a trigger
    // could run anything when read.
    std::vector<Schema::Object> expected = Schema::objects(fileLayout);
    const RecordSet found = db.queryNative(QStringLiteral("SELECT type, name, sql FROM sqlite_schema"));
    int matched = 0;
    for (int i = 0; i < found.size(); ++i) {
        const QString type = found.value(i, 0).toString();
        const QString name = found.value(i, 1).toString();
        const QString sql = found.value(i, 2).toString();
        if (type == QLatin1String("table") && name == QLatin1String("sqlite_sequence"))
            continue;
        bool ours = false;
        for (const auto& o : expected)
            if (o.type == type && o.name == name && normalized(o.sql) == normalized(sql))
                ours = true;
        if (!ours)
            throw StoreError(notOurs(original));
        ++matched;
    }
    if (matched != int(expected.size()))
        throw StoreError(notOurs(original));
}

void TransferFile::checkValues(SqliteDatabase& db) {
    for (const auto& table : Schema::tables(fileLayout)) {
        for (const auto& column : table.columns) {
            const QString c = bracket(column.name);
            const RecordSet bad =
                db.queryNative(QStringLiteral("SELECT substr(CAST(%1 AS TEXT), 1, 41), typeof(%1) "
                                              "FROM %2 WHERE NOT (%3) LIMIT 1")
                                   .arg(c, bracket(table.name), Schema::acceptedValue(table, column)));
            if (!bad.isEmpty())
                throw StoreError(
                    refusal(QStringLiteral("[%1].[%2] holds %3, which is not %4.")
                                .arg(table.name, column.name, shown(bad.value(0, 0), bad.value(0, 1).toString()),
                                     Schema::describeAccepted(column))));
        }
    }
}

void TransferFile::checkUnique(SqliteDatabase& db) {
    // The file's own index should keep these unique, but an index can be made to lie; the retrieve would then fail
    // on the main database's index with a message about the wrong file.
    for (const auto& key : Schema::uniqueKeys(fileLayout)) {
        QStringList columns;
        for (const QString& c : key.columns)
            columns << bracket(c);
        const RecordSet twice = db.queryNative(QStringLiteral("SELECT %1 FROM %2 NOT INDEXED GROUP BY %1 HAVING "
                                                              "COUNT(*) > 1 LIMIT 1")
                                                   .arg(columns.join(QStringLiteral(", ")), bracket(key.table)));
        if (twice.isEmpty())
            continue;
        QStringList values;
        for (int i = 0; i < key.columns.size(); ++i)
            values << shown(twice.value(0, i), QStringLiteral("text"));
        const QString columnNames = QStringLiteral("[%1]").arg(key.columns.join(QStringLiteral("], [")));
        throw StoreError(refusal(key.columns.size() == 1
                                     ? QStringLiteral("[%1].%2 holds %3 twice; a taxpayer has one row of [%1].")
                                           .arg(key.table, columnNames, values.join(QStringLiteral(", ")))
                                     : QStringLiteral("[%1] holds %3 twice in %2; a taxpayer has one row of [%1] for "
                                                      "each.")
                                           .arg(key.table, columnNames, values.join(QStringLiteral(", ")))));
    }
}

void TransferFile::readTaxpayers(SqliteDatabase& db) {
    const RecordSet rows = db.queryNative(
        QStringLiteral("SELECT [Taxpayer Number], [Taxpayer Name] FROM [Basic Taxpayer Data] ORDER BY rowid"));
    if (rows.isEmpty())
        throw StoreError(QStringLiteral("The file \"%1\" holds no taxpayer.").arg(native(original)));
    for (int i = 0; i < rows.size(); ++i)
        held.push_back({rows.value(i, 0).toInt(), rows.value(i, 1).toString()});

    // Every payment, deposit and charge belongs to a taxpayer of the file: a retrieve never adds rows to a taxpayer
    // the user already has.
    for (const auto& table : Schema::tables(fileLayout)) {
        if (table.name == QLatin1String("Basic Taxpayer Data"))
            continue;
        bool perTaxpayer = false;
        for (const auto& column : table.columns)
            perTaxpayer = perTaxpayer || column.name == QLatin1String("Taxpayer Number");
        if (!perTaxpayer)
            continue;
        const RecordSet stray = db.queryNative(
            QStringLiteral("SELECT [Taxpayer Number] FROM %1 WHERE [Taxpayer Number] IS NULL OR [Taxpayer Number] NOT "
                           "IN (SELECT [Taxpayer Number] FROM [Basic Taxpayer Data]) LIMIT 1")
                .arg(bracket(table.name)));
        if (!stray.isEmpty()) {
            const QVariant n = stray.value(0, 0);
            throw StoreError(
                refusal(n.isValid() ? QStringLiteral("[%1] holds a row of taxpayer %2, which the file does not hold.")
                                          .arg(table.name, n.toString())
                                    : QStringLiteral("[%1] holds a row of no taxpayer.").arg(table.name)));
        }
    }
}
