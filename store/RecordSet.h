#pragma once

#include <QStringList>
#include <QVariant>

#include <vector>

// A static snapshot of a query's rows, detached from the database. Values come in the program's types: a date is
// a QDate, an amount or rate a double, a Yes/No a bool, a whole number an int, text a QString; an empty value is
// an invalid QVariant.
class RecordSet {
public:
    RecordSet() = default;
    explicit RecordSet(QStringList fieldNames) : names(std::move(fieldNames)) {}

    const QStringList& fields() const { return names; }
    int fieldIndex(const QString& name) const; // -1 when absent
    int size() const { return int(data.size()); }
    bool isEmpty() const { return data.empty(); }

    const QVariant& value(int row, int field) const { return data.at(size_t(row)).at(field); }
    // Throws std::out_of_range for a field the query did not return, so a misspelt name cannot read as empty.
    const QVariant& value(int row, const QString& field) const;

    void append(QVariantList row) { data.push_back(std::move(row)); }

private:
    QStringList names;
    std::vector<QVariantList> data;
};
