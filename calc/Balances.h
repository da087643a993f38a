#pragma once

#include "EventLedger.h"

// The balances kept over the event ledger, each computed here and only here, in exact money.
namespace Balances {

// The tax still unpaid after `row`: + initial balance + required deposit − payment to tax + charge as tax.
Money taxAfter(Money before, const LedgerRow& row);
// The penalties still unpaid after `row`: + failure to pay + failure to file + accuracy + charge as penalty +
// failure to deposit − payment to penalties.
Money penaltyAfter(Money before, const LedgerRow& row);
// The interest still owed after `row`: + interest − payment to interest.
Money interestAfter(Money before, const LedgerRow& row);
// The balance that bears interest after `row`: tax and penalties with unclassified charges, interest left out.
Money unpaidAfter(Money before, const LedgerRow& row);
// The base of the failure-to-file penalty after `row`: the tax due at the original due date, which later payments do
// not lower (payroll: deposits, payments to tax and charges as tax dated by the due date; otherwise the initial
// balance).
Money failureToFileBaseAfter(Money before, const LedgerRow& row, bool payroll, const QDate& originalDueDate);

} // namespace Balances
