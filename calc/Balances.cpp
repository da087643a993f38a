#include "Balances.h"

namespace Balances {

double taxAfter(float before, const LedgerRow& r) {
    return double(before) + val(r.initialBalance) + val(r.requiredDeposit) - val(r.paymentAllocatedToTax) +
           val(r.chargeClassifiedAsTax);
}

double penaltyAfter(float before, const LedgerRow& r) {
    return double(before) + val(r.failureToPayPenalty) + val(r.failureToFilePenalty) + val(r.accuracyRelatedPenalty) +
           val(r.chargeClassifiedAsPenalty) + val(r.failureToDepositPenalty) - val(r.paymentAllocatedToPenalties);
}

double interestAfter(float before, const LedgerRow& r) {
    return double(before) + val(r.interest) - val(r.paymentAllocatedToInterest);
}

double unpaidAfter(float before, const LedgerRow& r) {
    return double(before) + val(r.initialBalance) + val(r.requiredDeposit) - val(r.paymentAllocatedToTax) -
           val(r.paymentAllocatedToPenalties) + val(r.accuracyRelatedPenalty) + val(r.failureToDepositPenalty) +
           val(r.failureToPayPenalty) + val(r.failureToFilePenalty) + val(r.chargeClassifiedAsTax) +
           val(r.chargeClassifiedAsPenalty) + val(r.chargeUnclassified);
}

double failureToFileBaseAfter(float before, const LedgerRow& r, bool payroll, const QDate& originalDueDate) {
    if (!payroll)
        return double(before) + val(r.initialBalance);
    // An empty date counts as the earliest of dates: such a deposit is due by the due date.
    if (!r.date.isValid() || r.date <= originalDueDate)
        return double(before) + val(r.requiredDeposit) - val(r.paymentAllocatedToTax) + val(r.chargeClassifiedAsTax);
    return before;
}

} // namespace Balances
