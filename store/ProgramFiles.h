#pragma once

#include <QString>

// The files the program keeps and must never lose to an export or a save: in the data folder its database, the
// empty database saved taxpayers are written into, the rotating backups, the copies kept from before an upgrade (and
// the journals SQLite keeps beside each); and the data files shipped beside the program.
namespace ProgramFiles {

// The data folder of this session (the one the program opened at start). Until it is set, only the shipped data
// files are guarded.
void setDataFolder(const QString& folder);
QString dataFolder();

// What `target` would replace of the program's own files, as the user knows it ("the program's database
// kelvadat.mdb"), or empty when it is none of them. Compared by canonical path, so that "sub/../kelvadat.mdb" or a
// link to the database is found, and for a file that exists by its identity on disk too (a hard link).
QString ownFileAt(const QString& target);

// Throws a StoreError naming the file when `target` is one of the program's own files, or exists and is not a
// regular file (a folder, a pipe, a device): a write never replaces either.
void checkWriteTarget(const QString& target);

} // namespace ProgramFiles

// The data files the program ships beside itself, and the folder they are read from.
namespace DataFiles {
inline const QString rates = QStringLiteral("irs-rates.csv");
inline const QString minimums = QStringLiteral("ftf-minimum.csv");
inline const QString holidays = QStringLiteral("holidays.csv");
inline const QString estimatedTaxRules = QStringLiteral("estimated-tax.csv");
inline const QString interestLaw = QStringLiteral("interest-law.csv");
inline const QString transactionCodes = QStringLiteral("transaction-codes.csv");
inline const QString returnDueDates = QStringLiteral("return-due-dates.csv");
// `name` in the program's own folder, or in the folder set instead (tests).
QString path(const QString& name);
void setFolder(const QString& folder);
} // namespace DataFiles
