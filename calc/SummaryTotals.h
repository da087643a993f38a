#pragma once

#include "EventLedger.h"

// The one line of totals of the summary report. Interest and the failure-to-pay and failure-to-file penalties are
// summed row by row in whole cents into fixed-point money (ten-thousandths); the other totals are singles.
struct SummaryTotals {
    qint64 TotalInterest = 0;
    qint64 TotalFPPenalty = 0;
    qint64 TotalFFPenalty = 0;
    float TotalAccPenalty = 0;
    float TotalPmntAllctdInt = 0;
    float TotalPmntAllctdPen = 0;
    float otherPenalties = 0;
    float TotalFDepositPenalty = 0;
    float unpaidTax = 0;
    qint64 TotalBalance = 0;

    // Walks the ledger in its current order; rounds each row's [Interest] to whole cents in place.
    static SummaryTotals of(EventLedger& ledger);
};
