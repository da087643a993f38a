#pragma once

#include "DepositLedger.h"
#include "TaxpayerCase.h"

class RunReporter;

namespace DepositMessages {
inline const QString noLiabilityDate = QStringLiteral("There is a payment without a liability due date.");
// A payment whose liability due date is no required deposit's: it pays nothing the penalty counts.
QString unmatchedLiabilityDate(const QDate& paid, const QDate& liability);
inline const QString fewerPayments = QStringLiteral(
    "To calculate the payroll tax deposit penalty correctly at a specific date, all deposit liabilities must be marked "
    "as paid even if the last payments are fictional payments at the end of the computational period. The data "
    "appears to have less tax payments than deposit liabilities. This may cause the penalty to be under calculated.");
} // namespace DepositMessages

// Which steps of the calculation a caller brackets with its own work (the report run's transactions and progress).
class DepositProgress {
public:
    virtual ~DepositProgress() = default;
    enum class Step { Build, Totals, Balances, UnpaidRows, DaysOverdue, Penalties };
    virtual void before(Step) {}
    virtual void after(Step) {}
};

// The failure-to-deposit penalty of one taxpayer: its payments (all of them, whatever their date) matched to its
// required deposits by due date, days late, the 2/5/10 % tiers and the 15 % rule. Warnings go to `reporter`; a
// failure is thrown as RunStop. The taxpayer must have at least one required deposit: callers check that first.
DepositLedger CalculateDepositPenalty(const TaxpayerCase& taxpayer, const QDate& endDate, bool checkLiabilityDates,
                                      RunReporter& reporter, DepositProgress* progress = nullptr);
