#pragma once

#include "EventLedger.h"

// The one line of totals of the summary report, each the exact sum of the ledger's amounts of its kind.
struct SummaryTotals {
    Money TotalInterest;
    Money TotalFPPenalty;
    Money TotalFFPenalty;
    Money TotalAccPenalty;
    Money TotalPmntAllctdInt;
    Money TotalPmntAllctdPen;
    Money otherPenalties;
    Money TotalFDepositPenalty;
    Money unpaidTax;
    Money TotalBalance;

    // Walks the ledger in its current order.
    static SummaryTotals of(const EventLedger& ledger);
};
