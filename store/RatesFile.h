#pragma once

#include "ProgramFiles.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// The published rates (data/irs-rates.csv, or a file of the same layout a user chooses): one line a period, with its
// first and last day and the annual rates as decimal fractions.
struct PublishedRate {
    QDate begin;
    QDate end;
    double underpayment = 0;
    double overpaymentNoncorporate = 0;
    std::optional<double> largeCorporateUnderpayment; // from 1991 on
};

// Reads the file; throws a StoreError naming the line of anything malformed (a bad date, a period that ends
// before it begins, a missing rate).
std::vector<PublishedRate> readPublishedRates(const QString& csvFile);

// The failure-to-file minimum by year (data/ftf-minimum.csv): from `firstYear` on, `amount`.
struct PublishedMinimum {
    int firstYear = 0;
    double amount = 0;
};
// Reads the file; throws a StoreError naming the line of anything malformed (years not rising, a missing amount).
std::vector<PublishedMinimum> readFailureToFileMinimums(const QString& csvFile);

class Database;

// Into the tables of a database: the published periods of the underpayment and overpayment tables and of the large
// corporate table (each as asked), and the minimums.
void insertPublishedRates(Database& db, const std::vector<PublishedRate>& rates, bool underAndOverpayment,
                          bool largeCorporate);
void insertFailureToFileMinimums(Database& db, const std::vector<PublishedMinimum>& minimums);
