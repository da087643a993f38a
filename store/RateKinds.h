#pragma once

#include <QString>

#include <vector>

// The kinds of interest rate the program keeps, each in a table of its own, listed once: adding a kind is adding an
// entry here (and, for a calculation to use it, the use).
struct RateKind {
    QString table;     // its rate table
    QString name;      // as messages name it: "the underpayment rate table"
    QString csvColumn; // its column in a rates file (irs-rates.csv)
    bool everyPeriod;  // a rates file gives it for every period (the large corporate rate begins in 1991)
    QString editorObjectName;
    QString editorCaption; // the title of its editor
    QString menuCommand;   // its entry in the Interest Rates menu
    QString menuCaption;
};

namespace RateKinds {

const std::vector<RateKind>& all();
const RateKind& underpayment();
const RateKind& overpayment();
const RateKind& largeCorporate();
const RateKind& largeCorporateOverpayment();
// The kind of a table, or nullptr.
const RateKind* ofTable(const QString& table);
// The position of a kind in all().
int indexOf(const RateKind& kind);

} // namespace RateKinds
