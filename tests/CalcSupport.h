#pragma once

#include "QtPrinters.h"
#include "RunReporter.h"
#include "TaxpayerRecord.h"

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
    QStringList timers; // "Timer7 500"
    QStringList globalFailures;

    void message(const QString& text) override { messages << text; }
    void notice(const QString& text) override { notices << text; }
    void progress(int value) override { progressValues.push_back(value); }
    void progressVisible(bool v) override { visible = v; }
    void armTimer(const QString& timer, int ms) override { timers << QStringLiteral("%1 %2").arg(timer).arg(ms); }
    void globalFailure(const QString& text) override { globalFailures << text; }
};

// A [Basic Taxpayer Data] row with the given columns set and every other one empty.
TaxpayerRecord taxpayerRow(const QVariantMap& columns);

inline QDate d(int month, int day, int year) {
    return QDate(year, month, day);
}
