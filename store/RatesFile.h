#pragma once

#include "ProgramFiles.h"
#include "RateKinds.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// The published rates (data/irs-rates.csv, or a file of the same layout a user chooses): one line a period, with its
// first and last day and the annual rates as decimal fractions.
struct PublishedRate {
    QDate begin;
    QDate end;
    std::vector<std::optional<double>> rates; // one for each rate kind, in the order of RateKinds::all()
    // The rate of `kind` for the period, or empty where the file gives none.
    std::optional<double> rateOf(const RateKind& kind) const;
};

// Reads the file (a column for each rate kind, named as the kind says); throws a StoreError naming the line of
// anything malformed (a bad date, a period that ends before it begins, a missing rate, periods that overlap or leave
// a gap).
std::vector<PublishedRate> readPublishedRates(const QString& csvFile);

// The failure-to-file minimum by year (data/ftf-minimum.csv): from `firstYear` on, `amount`.
struct PublishedMinimum {
    int firstYear = 0;
    double amount = 0;
};
// Reads the file; throws a StoreError naming the line of anything malformed (years not rising, a missing amount).
std::vector<PublishedMinimum> readFailureToFileMinimums(const QString& csvFile);

class Database;

// Into the tables of a database: the published periods of each kind of rate in `kinds` (all of them when empty),
// and the minimums.
void insertPublishedRates(Database& db, const std::vector<PublishedRate>& rates,
                          const std::vector<const RateKind*>& kinds = {});
void insertFailureToFileMinimums(Database& db, const std::vector<PublishedMinimum>& minimums);
