#include "SummaryTotals.h"

#include "Rounding.h"

namespace {

// A single added to a single-precision total.
void accumulate(float& total, const Amount& a) {
    total = Rounding::toSingle(double(total) + val(a));
}

// A whole number of cents as ten-thousandths.
qint64 centsToFixed(qint32 cents) {
    return qint64(cents) * 100;
}

} // namespace

SummaryTotals SummaryTotals::of(EventLedger& ledger) {
    SummaryTotals t;
    for (auto& row : ledger.rows) {
        const qint32 IntIntgr = Rounding::toInt32HalfEven(val(row.interest) * 100.0);
        put(row.interest, double(IntIntgr) / 100.0);
        const qint32 TotalFPPenaltyInt = Rounding::toInt32HalfEven(val(row.failureToPayPenalty) * 100.0);
        t.TotalFPPenalty += centsToFixed(TotalFPPenaltyInt);
        const qint32 TotalFFPenaltyInt = Rounding::toInt32HalfEven(val(row.failureToFilePenalty) * 100.0);
        t.TotalFFPenalty += centsToFixed(TotalFFPenaltyInt);
        accumulate(t.TotalAccPenalty, row.accuracyRelatedPenalty);
        accumulate(t.TotalPmntAllctdInt, row.paymentAllocatedToInterest);
        accumulate(t.TotalPmntAllctdPen, row.paymentAllocatedToPenalties);
        // The single just written back, taken into fixed-point money.
        t.TotalInterest += Rounding::toTenThousandthsHalfEven(val(row.interest));
        accumulate(t.otherPenalties, row.chargeClassifiedAsPenalty);
        accumulate(t.TotalFDepositPenalty, row.failureToDepositPenalty);
    }
    t.unpaidTax = ledger.rows.empty() ? 0.f : float(val(ledger.rows.back().tax));

    const double grossInterestAndPenalties = double(t.TotalInterest + t.TotalFPPenalty + t.TotalFFPenalty) / 10000.0;
    const double total = grossInterestAndPenalties + double(t.unpaidTax) + double(t.otherPenalties) +
                         double(t.TotalAccPenalty) - double(t.TotalPmntAllctdInt) - double(t.TotalPmntAllctdPen) +
                         double(t.TotalFDepositPenalty);
    t.TotalBalance = Rounding::toTenThousandthsHalfEven(total);
    return t;
}
