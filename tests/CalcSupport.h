#pragma once

#include "QtPrinters.h"
#include "RunReporter.h"
#include "TaxpayerCase.h"

#include <QDate>
#include <QStringList>
#include <QVariantMap>

#include <vector>

// Records what a run shows, in order.
class RecordingReporter : public RunReporter {
public:
    QStringList messages;
    QStringList notices;
    std::vector<int> progressValues;
    bool visible = false;
    QStringList globalFailures;

    void message(const QString& text) override { messages << text; }
    void notice(const QString& text) override { notices << text; }
    void progress(int value) override { progressValues.push_back(value); }
    void progressVisible(bool v) override { visible = v; }
    void globalFailure(const QString& text) override { globalFailures << text; }
};

// The case of a [Basic Taxpayer Data] row with the given columns set and every other one empty (and no published
// figures).
TaxpayerCase taxpayerRow(const QVariantMap& columns);

inline QDate d(int month, int day, int year) {
    return QDate(year, month, day);
}

// Dollars as exact money (to the cent), and a decimal fraction as an exact rate.
inline Money usd(double dollars) {
    return Money::fromDollars(dollars);
}
inline Rate rate(double fraction) {
    return Rate::fromDouble(fraction);
}
