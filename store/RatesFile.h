#pragma once

#include <QDate>
#include <QString>

#include <vector>

// The published rates the program ships with (data/irs-rates.csv): one line a period, with its first and last
// day and the annual rates as decimal fractions.
struct PublishedRate {
    QDate begin;
    QDate end;
    double underpayment = 0;
    double overpaymentNoncorporate = 0;
};

// Reads the file; throws a StoreError naming the line of anything malformed (a bad date, a period that ends
// before it begins, a missing rate).
std::vector<PublishedRate> readPublishedRates(const QString& csvFile);
