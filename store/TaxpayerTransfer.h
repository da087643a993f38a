#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class SqliteDatabase;

// Moves one taxpayer, with its payments, required deposits and additional charges, between the main database and
// a transfer file of the same tables. Each direction is all or nothing. Failures are thrown as StoreError.
namespace TaxpayerTransfer {

// Writes a fresh copy of `templateFile` holding taxpayer `number` and its rows to `targetFile`, replacing any file
// of that name only once the copy is complete.
void save(const QString& mainFile, const QString& templateFile, const QString& targetFile, int number);
// The same for several taxpayers (a client's returns) in one file.
void save(const QString& mainFile, const QString& templateFile, const QString& targetFile, const QList<int>& numbers);

// The frame of every save, whatever the rows come from: the target checked (never one of `programFiles` or the
// template), a fresh copy of the template that `fill` fills (the copy's path given), checked to hold exactly the
// taxpayers `numbers`, and renamed over the target only then.
void writeSavedFile(const QString& templateFile, const QString& targetFile, const QStringList& programFiles,
                    const QList<int>& numbers, const std::function<void(const QString& partial)>& fill);

// The taxpayers `numbers` of a checked private copy of a transfer file (of `layout`) given the next free numbers after
// `highestElsewhere` and the copy's own, in every table of their rows: the numbers they now have.
QList<int> renumberTaxpayers(SqliteDatabase& copy, int layout, const QList<int>& numbers, qint64 highestElsewhere);

struct Held {
    int number = 0;
    QString name;
    int count = 1; // the taxpayers the file holds (a client's returns saved together)
};
// The taxpayer a transfer file holds (its first row), for the retrieve dialog to show. The file is checked whole
// first (see TransferFile): a file that is not one of ours, or holds a value a user could not type, is refused.
Held peek(const QString& transferFile);

enum class Outcome { Copied, NumberExists };
// Copies every row of the transfer file's taxpayer tables into the main database, in one transaction, unless the
// main database already has a taxpayer with one of the file's taxpayer numbers. The file is checked whole first, as
// for peek. Payments get new row numbers; deposits and charges keep theirs unless another row of the main database
// has it, in which case they get new ones.
// With `newNumbers`, the file's taxpayers are retrieved under the next free numbers instead (never NumberExists);
// `given` receives the numbers they have in the main database.
Outcome retrieve(const QString& transferFile, const QString& mainFile, bool newNumbers = false,
                 QList<int>* given = nullptr);

// The two lines the retrieve dialog shows when the number is taken, and its offer.
inline const QString cannotCopy = QStringLiteral("Cannot copy this taxpayer.");
inline const QString numberExists = QStringLiteral("A taxpayer with this number already exists.");
inline const QString newNumberOffer = QStringLiteral("Retrieve it under a new number?");

} // namespace TaxpayerTransfer
