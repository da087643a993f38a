#pragma once

#include "RecordSet.h"

#include <QDate>

#include <optional>

// The active taxpayer's row of [Basic Taxpayer Data], read column by column where a step needs it.
class TaxpayerRecord {
public:
    TaxpayerRecord() = default;
    TaxpayerRecord(RecordSet rows, int index) : set(std::move(rows)), at(index) {}

    int number() const;
    QString name() const;
    QDate date(const QString& column) const;                   // invalid when empty
    bool flag(const QString& column) const;                    // empty counts as false
    std::optional<double> amount(const QString& column) const; // empty when empty

    // The date, or a RunStop with "The '<label>' is missing." when it is empty.
    QDate requiredDate(const QString& column, const QString& label) const;

private:
    RecordSet set;
    int at = 0;
};
