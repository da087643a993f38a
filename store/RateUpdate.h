#pragma once

#include "RatesFile.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

class Database;

// The rate tables of a database brought up to the published rates of a file (the one the installation ships, or
// one the user chooses): the periods the file holds that a table lacks (no row of the table covers their first day)
// are added, in one transaction; no row already in a table is changed or deleted, so a rate the user entered or
// edited stays as the user left it.
class RateUpdate {
public:
    RateUpdate(Database& db, const std::vector<PublishedRate>& published);

    bool anythingMissing() const;
    // The last day the rate tables cover (that of the table ending first), and the last day of the file's rates.
    QDate tablesEnd() const { return tablesLast; }
    QDate publishedEnd() const { return publishedLast; }

    // "The rate tables end on 03/31/2026; this installation knows the rates to 06/30/2026. Add them?" (`source`
    // being "this installation" or "the file …").
    QString offer(const QString& source) const;
    // Adds what is missing, in one transaction; returns what was added, as the user is told it.
    QString apply();
    // Said when nothing is missing.
    QString nothingMissing(const QString& source) const;

private:
    Database& db;
    std::map<QString, std::vector<std::pair<PublishedRate, double>>> missing; // table -> periods with their rate
    QDate tablesLast;
    QDate publishedLast;
    QStringList overlapping; // published periods that rows of a table cover in part
    QString partlyHeld() const;
};
