#include "Balances.h"

namespace Balances {

Money taxAfter(Money before, const LedgerRow& r) {
    return before + val(r.initialBalance) + val(r.requiredDeposit) - val(r.paymentAllocatedToTax) +
           val(r.chargeClassifiedAsTax);
}

Money penaltyAfter(Money before, const LedgerRow& r) {
    return before + val(r.failureToPayPenalty) + val(r.failureToFilePenalty) + val(r.accuracyRelatedPenalty) +
           val(r.chargeClassifiedAsPenalty) + val(r.failureToDepositPenalty) - val(r.paymentAllocatedToPenalties);
}

Money interestAfter(Money before, const LedgerRow& r) {
    return before + val(r.interest) - val(r.paymentAllocatedToInterest);
}

Money unpaidAfter(Money before, const LedgerRow& r) {
    return before + val(r.initialBalance) + val(r.requiredDeposit) - val(r.paymentAllocatedToTax) -
           val(r.paymentAllocatedToPenalties) + val(r.accuracyRelatedPenalty) + val(r.failureToDepositPenalty) +
           val(r.failureToPayPenalty) + val(r.failureToFilePenalty) + val(r.chargeClassifiedAsTax) +
           val(r.chargeClassifiedAsPenalty) + val(r.chargeUnclassified);
}

Money failureToFileBaseAfter(Money before, const LedgerRow& r, bool payroll, const QDate& originalDueDate) {
    if (!payroll)
        return before + val(r.initialBalance);
    // An empty date counts as the earliest of dates: such a deposit is due by the due date.
    if (!r.date.isValid() || r.date <= originalDueDate)
        return before + val(r.requiredDeposit) - val(r.paymentAllocatedToTax) + val(r.chargeClassifiedAsTax);
    return before;
}

} // namespace Balances
