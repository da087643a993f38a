#pragma once

#include "RecordSet.h"
#include "RunGuard.h"
#include "TaxpayerCase.h"

#include <QStringList>

#include <vector>

class RunReporter;

// What a first-time abatement or reasonable-cause request asks to remove: each failure-to-file, failure-to-pay and
// deposit penalty of a case to a chosen date, the interest that accrued on it from its own start, and the balance
// with and without them; with the conditions of first-time abatement as a checklist the user ticks.
namespace PenaltyRelief {

// The conditions of first-time abatement (IRM 20.1.1.3.3.2.1), in the order the checklist shows them.
const QStringList& conditions();

struct Penalty {
    QString kind;
    QDate begins;             // interest on it runs from this day
    Money amount, interest;   // the penalty and the interest on it
    std::optional<Money> irs; // what the IRS assessed of it (from a transcript), if known
};

struct Result {
    int number = 0;
    QString name;
    QDate at;
    std::vector<Penalty> penalties;
    Money balanceWith, balanceWithout;
    std::vector<bool> ticked; // one a condition
};

// The case computed to `at` with each penalty and without it. `ticked`: the conditions the user ticked.
RunOutcome compute(const TaxpayerCase& taxpayer, const QDate& at, std::vector<bool> ticked, RunReporter& reporter,
                   Result* result);

RecordSet rows(const Result& result);    // "Penalty", "Begins", "Amount", "Interest On It", "Relief", "IRS Assessed"
QStringList notes(const Result& result); // the balances, then the checklist as ticked, then what it means

} // namespace PenaltyRelief
