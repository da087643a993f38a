#include "SummaryTotals.h"

SummaryTotals SummaryTotals::of(const EventLedger& ledger) {
    SummaryTotals t;
    for (const auto& row : ledger.rows) {
        t.TotalInterest += val(row.interest);
        t.TotalFPPenalty += val(row.failureToPayPenalty);
        t.TotalFFPenalty += val(row.failureToFilePenalty);
        t.TotalAccPenalty += val(row.accuracyRelatedPenalty);
        t.TotalPmntAllctdInt += val(row.paymentAllocatedToInterest);
        t.TotalPmntAllctdPen += val(row.paymentAllocatedToPenalties);
        t.otherPenalties += val(row.chargeClassifiedAsPenalty);
        t.TotalFDepositPenalty += val(row.failureToDepositPenalty);
    }
    t.unpaidTax = ledger.rows.empty() ? Money() : val(ledger.rows.back().tax);
    t.TotalBalance = t.TotalInterest + t.TotalFPPenalty + t.TotalFFPenalty + t.unpaidTax + t.otherPenalties +
                     t.TotalAccPenalty - t.TotalPmntAllctdInt - t.TotalPmntAllctdPen + t.TotalFDepositPenalty;
    return t;
}
