#pragma once

#include "TaxpayerCase.h"

#include <functional>
#include <memory>
#include <optional>

class Database;
class RecordSet;

// Fills taxpayers' cases from the database: the one place the runs' inputs are read. The published figures (the rate
// tables, the minimums, and the holidays and estimated-tax amounts of the installed data files) are read once, when
// the reader is made, and every case it fills shares them.
class CaseReader {
public:
    explicit CaseReader(Database& db);

    // The case of one taxpayer; empty when the database has no such taxpayer.
    std::optional<TaxpayerCase> read(int number);

    // The cases of a client (the taxpayers whose client code is `clientCode`), in taxpayer-number order.
    std::vector<TaxpayerCase> client(const QString& clientCode);

    // Every taxpayer's case in taxpayer-number order, one at a time: each table is read once, as it goes, so that
    // memory does not grow with the book.
    void everyCase(const std::function<void(const TaxpayerCase&)>& each);

    const std::shared_ptr<const PublishedFigures>& figures() const { return published; }

    // The user's reading for a corporation's overpayment above $10,000 partly refunded (the setting), for the cases
    // read from now on: the refund takes the first $10,000 first.
    static void setRefundTakesFirstPart(bool on) { chosenReading = on; }

    // A taxpayer's own values, from a row of [Basic Taxpayer Data] (its other rows left empty).
    static TaxpayerCase taxpayerOf(const RecordSet& rows, int index);

private:
    Database& db;
    std::shared_ptr<const PublishedFigures> published;
    bool refundTakesFirstPart;
    static inline bool chosenReading = false;
};
