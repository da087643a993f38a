#pragma once

#include "Money.h"

#include <QString>

// Amounts as the payment form shows its balances: "#,###,###.00" (thousands separators, two decimals, no digit
// before the point below 1, so a zero balance is ".00"). Cents are rounded half to even.
QString balanceText(Money amount);

// A number with `decimals` decimals and thousands separators from its count of units of the last decimal
// ("1,234.50" from 123450 and 2).
QString groupedDecimal(qint64 units, int decimals);
// The same without separators ("1234.50").
QString plainDecimal(qint64 units, int decimals);
